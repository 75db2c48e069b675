// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/settingsblock.h"
#include "core/model/variantprofile.h"

#include <QFrame>

class QComboBox;
class QLabel;
class QLineEdit;

namespace zerwa {

class MapComparison;
class MapDocument;

// The settings panel (Panel1): six labelled fields showing the document's settings. Typing
// and choosing go to the document; a drop-down list is set and read by item text.
class SettingsPanel : public QFrame {
    Q_OBJECT
public:
    SettingsPanel(MapDocument& document, QWidget* parent = nullptr);

    // What the fields show.
    SettingsBlock settings() const;
    // Puts a whole settings block into the document, as one edit.
    void setSettings(const SettingsBlock& block);
    // The field of one setting.
    QWidget* field(SettingField which) const;
    SettingField settingOf(const QWidget* widget, bool* found = nullptr) const;
    // The comparison whose differences the fields show.
    void setComparison(const MapComparison* comparison);

    QComboBox* ComboBox1; // cylinders
    QLineEdit* Edit1;     // limiting rpm
    QLineEdit* Edit2;     // opening, or the control-mode marker
    QLineEdit* Edit3;     // closing
    QComboBox* ComboBox3; // input polarity
    QComboBox* ComboBox4; // output polarity
    QList<QLabel*> labels;

private:
    void showSettings(const SettingsBlock& block);
    // A field the download check refused stands out until it is next edited; a field that
    // differs from the comparison's reference is marked as a cell is.
    void showMarks();

    MapDocument& m_document;
    const MapComparison* m_comparison = nullptr;
};

// Selects the item whose text equals `text` exactly; no selection when none does.
void selectItemByText(QComboBox* box, const QString& text);

} // namespace zerwa
