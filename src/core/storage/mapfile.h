// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/variantprofile.h"
#include "core/storage/mapfilecontent.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace zerwa::mapfile {

// The longest value a map file line may hold, in characters (bytes on disk). It is the most
// an edit field or a grid cell editor takes, so every value the program can show fits; the
// cap keeps a stray huge file from being read whole.
inline constexpr qsizetype maxLineLength = 32767;

// Lines of a complete map file: the magic line, six settings, then every grid cell.
int lineCount(const VariantProfile& profile);

// The file's bytes (Windows-1250, CR LF after every line), or nothing with the reason in
// `error` when a value cannot be stored: a character outside Windows-1250 or a line break
// would change the value or shift every line after it, and an overlong value could not be
// read back.
std::optional<QByteArray> encode(const VariantProfile& profile, const MapFileContent& content,
                                 QString* error = nullptr);

// The map held by a file's bytes, or nothing when the first line is not this program's
// magic line or one of the lines the map uses is longer than maxLineLength. Lines end with
// LF; a CR right before it is not part of the value. Lines past the end read as empty;
// lines beyond the map are ignored. A drop-down value that is not an item of its list reads
// as no selection (settings::normalized), as the settings panel would show it.
std::optional<MapFileContent> decode(const VariantProfile& profile, QByteArrayView bytes);

// The reader's messages.
QString cannotOpenMessage(const QString& fileName);
QString wrongFileMessage();

struct ReadResult {
    std::optional<MapFileContent> content;
    QString message; // what to show when there is no content
};

// Reads the map file at `path`. `fileName` is the name the user knows it by (the message of
// a missing file names it).
ReadResult read(const VariantProfile& profile, const QString& path, const QString& fileName);

} // namespace zerwa::mapfile
