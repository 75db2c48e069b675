#include "link/portchooser.h"

#include "link/portchooserpanel.h"
#include "link/serialport.h"
#include "mainwindow/buttonbars.h"
#include "mainwindow/prompter.h"
#include "mainwindow/tform1.h"
#include "storage/workingfile.h"

#include <QComboBox>
#include <QPushButton>

namespace zerwa {

namespace {

const QString kCaptionPrefix = QStringLiteral("Com");
const QString kChoosePort = QStringLiteral("Kérem válasszon portot!");
const QString kPortNotStored = QStringLiteral("Nem tudom elmenteni a port számát!\n");

} // namespace

PortChooser::PortChooser(TForm1& form)
    : m_form(form) {}

void PortChooser::show() {
    setChooserShown(true);
}

void PortChooser::confirm() {
    QComboBox* list = m_form.Panel3->Panel5->ComboBox2;
    if (list->currentIndex() < 0) {
        m_form.prompter().showMessage(kChoosePort);
        return;
    }
    const QString text = list->currentText();
    const QString path = m_form.startupFolder() + m_form.profile().portUpdateFileName;
    QString error;
    const bool stored = workingfile::updatePortLine(path, text, &error);
    applyPort(text.toInt(), text);
    setChooserShown(false);
    if (!stored)
        m_form.prompter().showMessage(kPortNotStored + path + u'\n' + error);
}

void PortChooser::restore(const QStringList& workingFileLines) {
    QComboBox* list = m_form.Panel3->Panel5->ComboBox2;
    const int index = workingFileLines.size() >= 2 ? list->findText(workingFileLines.at(1)) : -1;
    if (index < 0) {
        applyPort(kStartPort, QString::number(kStartPort));
        return;
    }
    list->setCurrentIndex(index);
    applyPort(list->itemText(index).toInt(), list->itemText(index));
}

void PortChooser::applyPort(int number, const QString& text) {
    m_form.ComBtn->setText(kCaptionPrefix + text);
    m_portNumber = number;
    m_form.MSComm1->selectPort(number);
}

void PortChooser::setChooserShown(bool shown) {
    CommandBar* bar = m_form.Panel3;
    // The chooser lies over the command bar: its buttons cannot be reached meanwhile, not
    // even with the keyboard.
    for (QPushButton* button : {bar->KilepBtn, bar->LetoltBtn, bar->ComBtn})
        button->setVisible(!shown);
    bar->Panel5->setVisible(shown);
    if (shown) {
        bar->Panel5->raise();
        bar->Panel5->ComboBox2->setFocus();
    }
}

} // namespace zerwa
