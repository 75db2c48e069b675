#pragma once

#include "model/settingsblock.h"
#include "model/variantprofile.h"

#include <QFrame>

class QComboBox;
class QLabel;
class QLineEdit;

namespace zerwa {

// The settings panel (Panel1): six labelled fields. The fields' texts are the settings; a
// drop-down list is set and read by item text.
class SettingsPanel : public QFrame {
    Q_OBJECT
public:
    SettingsPanel(const VariantProfile& profile, QWidget* parent = nullptr);

    SettingsBlock settings() const;
    // Drop-down values select the item with the same text, or nothing when none matches.
    void setSettings(const SettingsBlock& block);
    // No selection in the lists, empty edit fields.
    void clear();

    QComboBox* ComboBox1; // cylinders
    QLineEdit* Edit1;     // limiting rpm
    QLineEdit* Edit2;     // opening, or the control-mode marker
    QLineEdit* Edit3;     // closing
    QComboBox* ComboBox3; // input polarity
    QComboBox* ComboBox4; // output polarity
    QList<QLabel*> labels;
};

// Selects the item whose text equals `text` exactly; no selection when none does.
void selectItemByText(QComboBox* box, const QString& text);

} // namespace zerwa
