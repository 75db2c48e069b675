#include "storage/mapfilecommands.h"

#include "link/portchooserpanel.h"
#include "mainwindow/buttonbars.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/tform1.h"
#include "storage/linesfile.h"
#include "storage/mapfile.h"
#include "storage/workingfile.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

namespace zerwa {

namespace {

const QString kOverwriteQuestion = QStringLiteral("A file már létezik. Felülírja?");
const QString kSavedMessage = QStringLiteral("Az adatbázis elmentve!");

QString cannotSaveMessage(const QString& fileName, const QString& reason) {
    return QStringLiteral("Nem tudom elmenteni az állományt!\n") + fileName + u'\n' + reason;
}

QString unrecordableNameMessage(const QString& fileName) {
    return QStringLiteral("Az elérési út olyan karaktert tartalmaz, amely nem írható a "
                          "munkafájlba, így a következő indításkor nem nyílna meg:\n") +
           fileName + QStringLiteral("\nVálasszon másik nevet vagy mappát!");
}

QString workingFileFailedMessage(const QString& path, const QString& reason) {
    return QStringLiteral("Nem tudom írni a munkafájlt!\n") + path + u'\n' + reason +
           QStringLiteral("\nA térkép el van mentve, de a következő indításkor nem ez a "
                          "térkép töltődik be.");
}

} // namespace

MapFileCommands::MapFileCommands(TForm1& form)
    : m_form(form) {}

bool MapFileCommands::readMapFile(const QString& fileName) {
    mapfile::ReadResult result = mapfile::read(m_form.profile(), pathOf(fileName), fileName);
    if (!result.content) {
        m_form.prompter().showMessage(result.message);
        return false;
    }
    m_form.Panel1->setSettings(result.content->settings);
    m_form.mapModel->setTable(result.content->table);
    m_form.setCurrentMapFileName(fileName);
    m_form.LetoltBtn->setEnabled(true);
    m_form.setWindowTitle(fileName);
    return true;
}

bool MapFileCommands::writeMapFile(const QString& fileName) {
    const MapFileContent content{m_form.Panel1->settings(), m_form.table()};
    QString reason;
    const auto bytes = mapfile::encode(m_form.profile(), content, &reason);
    if (bytes && linesfile::writeBytes(pathOf(fileName), *bytes, &reason))
        return true;
    m_form.prompter().showMessage(cannotSaveMessage(fileName, reason));
    return false;
}

void MapFileCommands::load() {
    const auto chosen = m_form.prompter().chooseFileToOpen(dialogRequest(QString()));
    if (!chosen || !readMapFile(*chosen))
        return;
    m_form.refreshChartValues();
    m_form.refreshChartTitles();
}

void MapFileCommands::save() {
    Prompter& prompter = m_form.prompter();
    const auto chosen = prompter.chooseFileToSave(dialogRequest(m_form.currentMapFileName()));
    if (!chosen)
        return;
    const QString fileName = *chosen;
    if (!workingfile::canRecordMapFileName(fileName)) {
        prompter.showMessage(unrecordableNameMessage(fileName));
        return;
    }
    prompter.showMessage(fileName);
    if (QFileInfo::exists(pathOf(fileName)) && !prompter.askYesNo(kOverwriteQuestion))
        return;
    if (!writeMapFile(fileName))
        return;
    prompter.showMessage(kSavedMessage);
    m_form.LetoltBtn->setEnabled(true);
    m_form.setCurrentMapFileName(fileName);
    recordForNextStart();
    if (m_form.profile().captionShowsSavedFile)
        m_form.setWindowTitle(fileName);
}

QString MapFileCommands::pathOf(const QString& fileName) const {
    return QDir(m_form.startupFolder()).filePath(fileName);
}

FileDialogRequest MapFileCommands::dialogRequest(const QString& presetName) const {
    return {QStringLiteral("Map tábla (*.qmt)"), QStringLiteral("qmt"), m_form.fileDialogFolder(),
            presetName};
}

void MapFileCommands::recordForNextStart() {
    const QString path = m_form.startupFolder() + m_form.profile().workingFileName;
    const QString port = m_form.Panel3->Panel5->ComboBox2->currentText();
    QString reason;
    if (!workingfile::writeAfterSave(path, m_form.currentMapFileName(), port, &reason))
        m_form.prompter().showMessage(workingFileFailedMessage(path, reason));
}

} // namespace zerwa
