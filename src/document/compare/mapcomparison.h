// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/mapdifferences.h"
#include "core/model/numberformat.h"
#include "core/storage/mapfilecontent.h"

#include <QBitArray>
#include <QObject>
#include <QString>

#include <optional>

namespace zerwa {

class MapDocument;

// The map on screen compared with a reference map of the same program (a file, or what a
// download sent). While it is on, the differences follow every change of the document at
// once, whatever made it; it reads the document and never changes it. A map loaded into the
// document ends it.
class MapComparison : public QObject {
    Q_OBJECT
public:
    MapComparison(const MapDocument& document, const NumberFormat& numbers,
                  QObject* parent = nullptr);

    bool isOn() const { return m_reference.has_value(); }
    // The reference as the user knows it: a file name, or a download's time and port.
    const QString& referenceName() const { return m_name; }
    // Only while on.
    const MapFileContent& reference() const { return *m_reference; }
    const MapDifferences& differences() const { return m_differences; }
    bool differs(CellPos cell) const;
    bool differs(SettingField field) const;
    // What a differing value's tooltip says: "Referencia: 12,5 (-0,5)", with the difference
    // where both texts are numbers and, for a data cell, the difference of the half units
    // the device gets. Empty where the value does not differ.
    QString note(CellPos cell) const;
    QString note(SettingField field) const;

    void start(const MapFileContent& reference, const QString& name);
    void end();
    // The difference after (forward) or before the one visited last, wrapping; nothing when
    // there is none.
    std::optional<DifferencePlace> step(bool forward);

signals:
    void started();
    void ended();
    // The marks of the cells in this rectangle may have changed (each of them when the
    // comparison starts or ends).
    void cellMarksChanged(zerwa::CellPos topLeft, zerwa::CellPos bottomRight);
    void settingMarksChanged();

private:
    void compare();

    const MapDocument& m_document;
    const NumberFormat& m_numbers;
    std::optional<MapFileContent> m_reference;
    QString m_name;
    MapDifferences m_differences;
    QBitArray m_differingCells; // by cell index
    std::optional<DifferencePlace> m_visited;
};

} // namespace zerwa
