// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/variantprofile.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace zerwa::cli {

// The first thing wrong with a capture, at its byte offset in the capture.
struct CaptureFault {
    qsizetype offset = 0;
    QString what;
};

// A capture taken apart: the frame it carries, or why it carries none.
struct Capture {
    QByteArray frame;  // the frame bytes, units unwrapped
    bool wire = false; // the capture was a wire image (each byte followed by FF FF)
    const VariantProfile* profile = nullptr; // the program whose frame it is
    std::optional<CaptureFault> fault;       // broken unit or wrong length: no frame
    QString ambiguity;                       // the length fits several programs and none was named
};

// Reads a captured wire image or a bare frame, told apart by their length (a frame is 127
// or 247 bytes) and the FF FF that follow each frame byte on the wire. `variant` (optional)
// names the program; without it a length that fits two programs is ambiguous.
Capture readCapture(const QByteArray& bytes, const VariantProfile* variant);

// The bytes of a capture file, as much of them as any capture can be and more (a huge file is
// not read whole), or nothing after a line on standard error saying why they cannot be read.
std::optional<QByteArray> readCaptureFile(const QString& name);

// Offset in the capture of frame index `index`.
inline qsizetype captureOffset(const Capture& capture, int index) {
    return capture.wire ? qsizetype(index) * 3 : index;
}

} // namespace zerwa::cli
