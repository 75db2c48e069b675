#pragma once

#include "mainwindow/prompter.h"

#include <QString>

namespace zerwa {

class TForm1;

// Moves the map between the main window and map files: the reader and writer of the
// window's controls, and the Load and Save commands with their dialogs and messages.
class MapFileCommands {
public:
    explicit MapFileCommands(TForm1& form);

    // ReadMapFile: the whole file is read and checked before any control changes, so a
    // failed read (its message shown) leaves the window exactly as it was.
    bool readMapFile(const QString& fileName);
    // WriteMapFile: replaces the file only once the new content is on disk; on failure the
    // reason is shown, the previous file is kept and false is returned.
    bool writeMapFile(const QString& fileName);

    void load(); // LoadBtnClick
    void save(); // SaveBtnClick

private:
    // A name without a folder (as a working file may hold) lies in the start-up folder.
    QString pathOf(const QString& fileName) const;
    FileDialogRequest dialogRequest(const QString& presetName) const;
    void recordForNextStart();

    TForm1& m_form;
};

} // namespace zerwa
