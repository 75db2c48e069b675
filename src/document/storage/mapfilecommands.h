// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/storage/mapfilecontent.h"
#include "document/model/prompter.h"

#include <QString>

#include <functional>

namespace zerwa {

struct EditContext;

// Where the program keeps its files: the start-up folder (with a trailing separator),
// where the working files live, and the folder the file dialogs open in.
struct ProgramFolders {
    QString startup;
    QString fileDialogs;
};

// Moves the map between the document and map files: the reader and writer, and the Load
// and Save commands with their dialogs and messages.
class MapFileCommands {
public:
    // `portText` gives the port list's text, which a save records for the next start.
    MapFileCommands(EditContext& context, const ProgramFolders& folders,
                    std::function<QString()> portText);

    // ReadMapFile: the whole file is read and checked before anything changes, so a failed
    // read (its message shown) leaves the map exactly as it was. A map read starts a fresh
    // edit history.
    bool readMapFile(const QString& fileName);
    // WriteMapFile: replaces the file only once the new content is on disk; on failure the
    // reason is shown, the previous file is kept and false is returned.
    bool writeMapFile(const QString& fileName);

    void load(); // LoadBtnClick
    void save(); // SaveBtnClick

    // A map that comes from elsewhere than a map file (a download record) shown as Load
    // shows a map read from a file: a fresh history, the download enabled, the chart
    // refreshed; Save then proposes `fileName`.
    void showMap(const MapFileContent& content, const QString& fileName, const QString& caption);
    // A map file's bytes, as they are, to a file the user chooses (`presetName` proposed),
    // after the usual overwrite question. The map on screen, its file name and the working
    // file stay as they are.
    void saveBytesAs(const QByteArray& bytes, const QString& presetName);

    // A name without a folder (as a working file may hold) lies in the start-up folder.
    QString pathOf(const QString& fileName) const;
    // The map file dialogs, opening in their folder with `presetName` proposed.
    FileDialogRequest dialogRequest(const QString& presetName) const;

private:
    void takeMap(const MapFileContent& content, const QString& fileName, const QString& caption);
    void refreshChart();
    void recordForNextStart();

    EditContext& m_context;
    const ProgramFolders& m_folders;
    std::function<QString()> m_portText;
};

} // namespace zerwa
