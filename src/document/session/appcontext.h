// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/numberformat.h"
#include "core/model/variantprofile.h"

#include <QString>

#include <functional>
#include <memory>

namespace zerwa {

class Prompter;
class SerialPort;

// What the main window is given from outside: everything a test replaces.
struct AppContext {
    const VariantProfile* profile = nullptr;
    Prompter* prompter = nullptr;
    NumberFormat numbers;
    // The current directory at start; working files and the help file live here.
    QString startupDirectory;
    // Where the download records go (never the start-up folder); empty when no folder could
    // be named, which each download then reports.
    QString journalFolder;
    // Ends the process at once with the given exit code (the exit command's Yes).
    std::function<void(int)> terminateProcess;
    // Makes the serial port (MSComm1); given the start-up directory, where "COMn" links to a
    // device may lie. Without one the main window uses the Qt SerialPort implementation.
    std::function<std::unique_ptr<SerialPort>(const QString& startupDirectory)> serialPortFactory;
};

} // namespace zerwa
