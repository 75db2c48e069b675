// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/settingspanel.h"

#include "document/compare/mapcomparison.h"
#include "document/model/mapdocument.h"
#include "gui/mainwindow/editorkeys.h"
#include "gui/mainwindow/markoverlay.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace zerwa {

namespace {

constexpr int kLabelLeft = 20;
constexpr int kFieldHeight = 24;
constexpr int kLabelTops[] = {13, 46, 78, 111, 143, 169};
constexpr int kFieldTops[] = {7, 39, 72, 104, 137, 169};
const char* const kLabelNames[] = {"Label1", "Label2", "Label3", "Label4", "Label5", "Label7"};

QComboBox* makeList(const QString& name, const QStringList& items, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    box->setCurrentIndex(-1);
    return box;
}

QLineEdit* makeEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

} // namespace

SettingsPanel::SettingsPanel(MapDocument& document, QWidget* parent)
    : QFrame(parent)
    , m_document(document) {
    const VariantProfile& profile = document.profile();
    setObjectName(QStringLiteral("Panel1"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);

    ComboBox1 = makeList(QStringLiteral("ComboBox1"), profile.cylinderItems, this);
    Edit1 = makeEdit(QStringLiteral("Edit1"), this);
    Edit2 = makeEdit(QStringLiteral("Edit2"), this);
    Edit3 = makeEdit(QStringLiteral("Edit3"), this);
    const QStringList polarities = {settings::falling, settings::rising};
    ComboBox3 = makeList(QStringLiteral("ComboBox3"), polarities, this);
    ComboBox4 = makeList(QStringLiteral("ComboBox4"), {settings::rising, settings::falling}, this);

    const QStringList captions = {
        QStringLiteral("Hengerek száma :"),
        QStringLiteral("Határolási ford. szám :"),
        QStringLiteral("Nyitás (ms/vezérlési mód) :"),
        QStringLiteral("Zárás (ms/zárási szög(fok)) :"),
        QStringLiteral("Bemeneti polaritás :"),
        QStringLiteral("Kimeneti polaritás :"),
    };
    const QList<QWidget*> fields = {ComboBox1, Edit1, Edit2, Edit3, ComboBox3, ComboBox4};
    for (int i = 0; i < fields.size(); ++i) {
        auto* label = new QLabel(captions.at(i), this);
        label->setObjectName(QString::fromLatin1(kLabelNames[i]));
        label->move(kLabelLeft, kLabelTops[i]);
        label->adjustSize();
        label->setBuddy(fields.at(i));
        labels << label;
        fields.at(i)->setGeometry(profile.settingsFieldLeft, kFieldTops[i],
                                  profile.settingsFieldWidth, kFieldHeight);
    }
    for (int i = 1; i < fields.size(); ++i)
        setTabOrder(fields.at(i - 1), fields.at(i));

    for (const SettingField which :
         {SettingField::LimitRpm, SettingField::Opening, SettingField::Closing}) {
        auto* edit = static_cast<QLineEdit*>(field(which));
        passUndoKeysToWindow(edit);
        refuseTabsAndLineBreaks(edit);
        // Every change of the text reaches the document (a text the document already holds,
        // as when the panel shows an undone value, changes nothing there).
        connect(edit, &QLineEdit::textChanged, this,
                [this, which](const QString& text) { m_document.typeSetting(which, text); });
    }
    for (const SettingField which :
         {SettingField::Cylinders, SettingField::InputPolarity, SettingField::OutputPolarity}) {
        auto* list = static_cast<QComboBox*>(field(which));
        connect(list, &QComboBox::currentTextChanged, this, [this, which](const QString& text) {
            if (text != m_document.setting(which))
                m_document.chooseSetting(which, text);
        });
    }
    connect(&document, &MapDocument::settingsChanged, this, [this] {
        showSettings(m_document.settings());
        showMarks(); // a tooltip names the difference
    });
    connect(&document, &MapDocument::markChanged, this, &SettingsPanel::showMarks);
    showSettings(document.settings());
}

QWidget* SettingsPanel::field(SettingField which) const {
    const QList<QWidget*> fields = {ComboBox1, Edit1, Edit2, Edit3, ComboBox3, ComboBox4};
    return fields.at(int(which));
}

SettingField SettingsPanel::settingOf(const QWidget* widget, bool* found) const {
    for (int i = 0; i < kSettingFieldCount; ++i) {
        if (field(SettingField(i)) == widget) {
            if (found)
                *found = true;
            return SettingField(i);
        }
    }
    if (found)
        *found = false;
    return SettingField::Cylinders;
}

SettingsBlock SettingsPanel::settings() const {
    return {ComboBox1->currentText(), Edit1->text(),           Edit2->text(), Edit3->text(),
            ComboBox3->currentText(), ComboBox4->currentText()};
}

void SettingsPanel::setSettings(const SettingsBlock& block) {
    m_document.replaceSettings(block);
}

void SettingsPanel::setComparison(const MapComparison* comparison) {
    m_comparison = comparison;
    connect(comparison, &MapComparison::settingMarksChanged, this, &SettingsPanel::showMarks);
}

void SettingsPanel::showMarks() {
    const auto& refused = m_document.mark().field;
    for (int i = 0; i < kSettingFieldCount; ++i) {
        const auto which = SettingField(i);
        CellDecoration decoration;
        decoration.refused = refused && *refused == which;
        if (decoration.refused)
            decoration.background = celldecoration::refusedColour();
        if (m_comparison && m_comparison->differs(which)) {
            decoration.differs = true;
            decoration.toolTip = m_comparison->note(which);
        }
        MarkOverlay::decorate(field(which), decoration, QFont(), false);
    }
}

void SettingsPanel::showSettings(const SettingsBlock& block) {
    selectItemByText(ComboBox1, block.cylinders);
    // An unchanged text is not rewritten: that would move the cursor while the user types.
    for (auto [edit, text] : {std::pair{Edit1, block.limitRpm}, std::pair{Edit2, block.opening},
                              std::pair{Edit3, block.closing}}) {
        if (edit->text() != text)
            edit->setText(text);
    }
    selectItemByText(ComboBox3, block.inputPolarity);
    selectItemByText(ComboBox4, block.outputPolarity);
}

void selectItemByText(QComboBox* box, const QString& text) {
    box->setCurrentIndex(
        text.isEmpty() ? -1 : box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

} // namespace zerwa
