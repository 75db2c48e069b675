#pragma once

#include "model/numberformat.h"
#include "model/variantprofile.h"

#include <QString>

#include <functional>

namespace zerwa {

class Prompter;

// What the main window is given from outside: everything a test replaces.
struct AppContext {
    const VariantProfile* profile = nullptr;
    Prompter* prompter = nullptr;
    NumberFormat numbers;
    // The current directory at start; working files and the help file live here.
    QString startupDirectory;
    // Ends the process at once with the given exit code (the exit command's Yes).
    std::function<void(int)> terminateProcess;
};

} // namespace zerwa
