// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/storage/mapfilecommands.h"

#include "core/storage/linesfile.h"
#include "core/storage/mapfile.h"
#include "core/storage/workingfile.h"
#include "document/model/editcontext.h"
#include "document/storage/mapfilemessages.h"

#include <QDir>
#include <QFileInfo>

namespace zerwa {

namespace {

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

MapFileCommands::MapFileCommands(EditContext& context, const ProgramFolders& folders,
                                 std::function<QString()> portText)
    : m_context(context)
    , m_folders(folders)
    , m_portText(std::move(portText)) {}

bool MapFileCommands::readMapFile(const QString& fileName) {
    mapfile::ReadResult result = mapfile::read(m_context.profile(), pathOf(fileName), fileName);
    if (!result.content) {
        m_context.prompter.showMessage(result.message);
        return false;
    }
    takeMap(*result.content, fileName, fileName);
    return true;
}

void MapFileCommands::takeMap(const MapFileContent& content, const QString& fileName,
                              const QString& caption) {
    MapDocument& document = m_context.document;
    document.loadMap(content.settings, content.table);
    document.setCurrentMapFileName(fileName);
    document.setDownloadEnabled(true);
    document.setCaption(caption);
}

void MapFileCommands::refreshChart() {
    m_context.chart.refreshValues(m_context.document.table(), m_context.numbers);
    m_context.chart.refreshTitles(m_context.document.table());
}

void MapFileCommands::showMap(const MapFileContent& content, const QString& fileName,
                              const QString& caption) {
    takeMap(content, fileName, caption);
    refreshChart();
}

void MapFileCommands::saveBytesAs(const QByteArray& bytes, const QString& presetName) {
    Prompter& prompter = m_context.prompter;
    const auto chosen = prompter.chooseFileToSave(dialogRequest(presetName));
    if (!chosen)
        return;
    const QString path = pathOf(*chosen);
    if (QFileInfo::exists(path) && !prompter.askYesNo(mapfilemessages::kOverwriteQuestion))
        return;
    QString reason;
    if (!linesfile::writeBytes(path, bytes, &reason)) {
        prompter.showMessage(mapfilemessages::cannotSave(*chosen, reason));
        return;
    }
    prompter.showMessage(mapfilemessages::kSaved);
}

bool MapFileCommands::writeMapFile(const QString& fileName) {
    const MapDocument& document = m_context.document;
    const MapFileContent content{document.settings(), document.table()};
    QString reason;
    const auto bytes = mapfile::encode(m_context.profile(), content, &reason);
    if (bytes && linesfile::writeBytes(pathOf(fileName), *bytes, &reason))
        return true;
    m_context.prompter.showMessage(mapfilemessages::cannotSave(fileName, reason));
    return false;
}

void MapFileCommands::load() {
    const auto chosen = m_context.prompter.chooseFileToOpen(dialogRequest(QString()));
    if (!chosen || !readMapFile(*chosen))
        return;
    refreshChart();
}

void MapFileCommands::save() {
    Prompter& prompter = m_context.prompter;
    MapDocument& document = m_context.document;
    const auto chosen = prompter.chooseFileToSave(dialogRequest(document.currentMapFileName()));
    if (!chosen)
        return;
    const QString fileName = *chosen;
    if (!workingfile::canRecordMapFileName(fileName)) {
        prompter.showMessage(unrecordableNameMessage(fileName));
        return;
    }
    prompter.showMessage(fileName);
    if (QFileInfo::exists(pathOf(fileName)) &&
        !prompter.askYesNo(mapfilemessages::kOverwriteQuestion))
        return;
    if (!writeMapFile(fileName))
        return;
    document.history().setClean();
    prompter.showMessage(mapfilemessages::kSaved);
    document.setDownloadEnabled(true);
    document.setCurrentMapFileName(fileName);
    recordForNextStart();
    if (m_context.profile().captionShowsSavedFile)
        document.setCaption(fileName);
}

QString MapFileCommands::pathOf(const QString& fileName) const {
    return QDir(m_folders.startup).filePath(fileName);
}

FileDialogRequest MapFileCommands::dialogRequest(const QString& presetName) const {
    return {QStringLiteral("Map tábla (*.qmt)"), QStringLiteral("qmt"), m_folders.fileDialogs,
            presetName, QString()};
}

void MapFileCommands::recordForNextStart() {
    const QString path = m_folders.startup + m_context.profile().workingFileName;
    QString reason;
    if (!workingfile::writeAfterSave(path, m_context.document.currentMapFileName(), m_portText(),
                                     &reason))
        m_context.prompter.showMessage(workingFileFailedMessage(path, reason));
}

} // namespace zerwa
