// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journalrecord.h"
#include "core/model/variantprofile.h"
#include "core/storage/mapfilecontent.h"

#include <QByteArray>

#include <optional>

namespace zerwa::journalmap {

// A map as a record holds it.
struct StoredMap {
    QByteArray bytes;
    MapEncoding encoding = MapEncoding::Windows1250;
};

// The bytes Save would write for the map; when a text cannot be written so (a heading that
// Windows-1250 cannot carry), the same lines in UTF-8, with \, CR and LF escaped as \\, \r
// and \n so that every value keeps its line.
StoredMap store(const VariantProfile& profile, const MapFileContent& content);

// The map back from its stored bytes; nothing unless storing it again gives exactly these
// bytes and this encoding.
std::optional<MapFileContent> load(const VariantProfile& profile, const StoredMap& map);

// The map of a record that the reader accepted, for the record's own program.
std::optional<MapFileContent> mapOf(const JournalRecord& record);

} // namespace zerwa::journalmap
