// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/link/portchooser.h"

#include "core/link/serialport.h"
#include "core/model/variantprofile.h"
#include "core/storage/workingfile.h"
#include "document/model/prompter.h"

namespace zerwa {

namespace {

const QString kCaptionPrefix = QStringLiteral("Com");
const QString kChoosePort = QStringLiteral("Kérem válasszon portot!");
const QString kPortNotStored = QStringLiteral("Nem tudom elmenteni a port számát!\n");

} // namespace

PortChooser::PortChooser(const VariantProfile& profile, Prompter& prompter,
                         const QString& startupFolder, SerialPort& port, QObject* parent)
    : QObject(parent)
    , m_profile(profile)
    , m_prompter(prompter)
    , m_startupFolder(startupFolder)
    , m_port(port)
    , m_listText(profile.firstPortSelectedAtStart ? QString::number(kStartPort) : QString())
    , m_caption(kCaptionPrefix + QString::number(kStartPort)) {}

void PortChooser::setListText(const QString& text) {
    const QString chosen = isItem(text) ? text : QString();
    if (chosen == m_listText)
        return;
    m_listText = chosen;
    emit listTextChanged(chosen);
}

bool PortChooser::confirm() {
    if (m_listText.isEmpty()) {
        m_prompter.showMessage(kChoosePort);
        return false;
    }
    const QString text = m_listText;
    const QString path = m_startupFolder + m_profile.portUpdateFileName;
    QString error;
    const bool stored = workingfile::updatePortLine(path, text, &error);
    applyPort(text.toInt(), text);
    if (!stored)
        m_prompter.showMessage(kPortNotStored + path + u'\n' + error);
    return true;
}

void PortChooser::restore(const QStringList& workingFileLines) {
    const QString line = workingFileLines.size() >= 2 ? workingFileLines.at(1) : QString();
    if (!isItem(line)) {
        applyPort(kStartPort, QString::number(kStartPort));
        return;
    }
    setListText(line);
    applyPort(line.toInt(), line);
}

void PortChooser::applyPort(int number, const QString& text) {
    m_portNumber = number;
    m_port.selectPort(number);
    const QString caption = kCaptionPrefix + text;
    if (caption != m_caption) {
        m_caption = caption;
        emit buttonCaptionChanged(caption);
    }
}

bool PortChooser::isItem(const QString& text) const {
    // The list holds the numbers 1..n written plainly: "01" or " 1" is not an item.
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok && number >= 1 && number <= m_profile.portItemCount &&
           text == QString::number(number);
}

} // namespace zerwa
