#include "mainwindow/settingspanel.h"

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

SettingsPanel::SettingsPanel(const VariantProfile& profile, QWidget* parent)
    : QFrame(parent) {
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
}

SettingsBlock SettingsPanel::settings() const {
    return {ComboBox1->currentText(), Edit1->text(),           Edit2->text(), Edit3->text(),
            ComboBox3->currentText(), ComboBox4->currentText()};
}

void SettingsPanel::setSettings(const SettingsBlock& block) {
    selectItemByText(ComboBox1, block.cylinders);
    Edit1->setText(block.limitRpm);
    Edit2->setText(block.opening);
    Edit3->setText(block.closing);
    selectItemByText(ComboBox3, block.inputPolarity);
    selectItemByText(ComboBox4, block.outputPolarity);
}

void SettingsPanel::clear() {
    setSettings({});
}

void selectItemByText(QComboBox* box, const QString& text) {
    box->setCurrentIndex(
        text.isEmpty() ? -1 : box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

} // namespace zerwa
