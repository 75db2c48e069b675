// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/capturereport.h"

#include "cli/capture.h"
#include "cli/console.h"
#include "cli/framereading.h"

namespace zerwa::cli {

namespace {

int printFault(qsizetype offset, const QString& what) {
    printLine(QStringLiteral("fault at offset %1: ").arg(offset) + what);
    return kFailed;
}

} // namespace

int reportCapture(const QByteArray& bytes, const VariantProfile* variant, QChar separator) {
    const Capture capture = readCapture(bytes, variant);
    if (capture.fault)
        return printFault(capture.fault->offset, capture.fault->what);
    if (!capture.profile) {
        printError(capture.ambiguity);
        return kBadInput;
    }
    printLine(
        QStringLiteral("%1 frame, %2 bytes")
            .arg(capture.profile->programName)
            .arg(capture.frame.size()) +
        (capture.wire ? QStringLiteral(" (wire image of %1 bytes)").arg(bytes.size()) : QString()));
    for (const QString& line : describeFrame(*capture.profile, capture.frame, separator))
        printLine(line);
    if (const auto fault = findFrameFault(*capture.profile, capture.frame))
        return printFault(captureOffset(capture, fault->index), fault->what);
    return kSuccess;
}

} // namespace zerwa::cli
