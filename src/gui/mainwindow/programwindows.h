// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/session/appcontext.h"

#include <memory>

namespace zerwa {

class QtPrompter;
class TEditForm;
class TForm1;
class TFuggvenyForm;
class THelpForm;

// The windows of one program, made in the order of its start-up: the main window (whose
// construction runs the start-up), then the correction dialog, the help window and, where the
// profile has it, the slope-fill dialog. The prompter asks its questions over them until they
// go.
class ProgramWindows {
public:
    ProgramWindows(const AppContext& context, QtPrompter& prompter);
    ~ProgramWindows();

    TForm1& form() const { return *m_form; }
    TEditForm& correctionDialog() const { return *m_correctionDialog; }
    THelpForm& helpForm() const { return *m_helpForm; }
    // Only where the profile has the slope fill.
    TFuggvenyForm* slopeFillDialog() const { return m_slopeFillDialog.get(); }

private:
    QtPrompter& m_prompter;
    // Declared in the order of their making: they go in the reverse order, the main window
    // last.
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TEditForm> m_correctionDialog;
    std::unique_ptr<THelpForm> m_helpForm;
    std::unique_ptr<TFuggvenyForm> m_slopeFillDialog;
};

} // namespace zerwa
