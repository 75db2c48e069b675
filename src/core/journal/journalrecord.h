// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QChar>
#include <QDateTime>
#include <QString>

namespace zerwa {

// How a download ended, as its record tells it.
enum class JournalOutcome {
    Unknown,       // the program ended before the port was closed
    Delivered,     // every unit was written and left the line
    CloseTimedOut, // the line did not drain in time: the device may not have the whole map
    Failed,        // see the error text and the units that went out
};

// How a record holds its map: the bytes Save writes, or, when a text of the map cannot be
// written in Windows-1250, the same lines in UTF-8 (such a map is not written to a map file).
enum class MapEncoding { Windows1250, Utf8 };

// What a listing shows of a record: everything but the map and the wire image themselves.
struct JournalSummary {
    QDateTime time;       // local time with its offset from UTC, to the millisecond
    QString program;      // zerwa8, zerwa4 or zerwa4_60
    QString port;         // as the user named it: COM1, or a device path
    QString device;       // the device it led to
    QString file;         // the current map file name, as Save would propose it
    QString caption;      // the window's caption where it differs from the file name
    QChar decimal = u','; // the decimal separator the frame was built with
    JournalOutcome outcome = JournalOutcome::Unknown;
    int units = 0;  // frame units that went out
    QString error;  // what went wrong (Failed only)
    QString note;   // the user's own text: car, customer
    QString sha256; // of the wire image, lower-case hex
    qsizetype wireBytes = 0;
    MapEncoding mapEncoding = MapEncoding::Windows1250;

    friend bool operator==(const JournalSummary&, const JournalSummary&) = default;
};

// One download: what was sent, where, when, and how it ended.
struct JournalRecord {
    JournalSummary summary;
    QByteArray map;  // the map as sent (see MapEncoding)
    QByteArray wire; // every frame unit as written to the port

    // Takes the wire image and fills in its hash and length.
    void setWire(const QByteArray& bytes);

    friend bool operator==(const JournalRecord&, const JournalRecord&) = default;
};

} // namespace zerwa
