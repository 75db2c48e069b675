// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/programwindows.h"

#include "gui/dialogs/tfuggvenyform.h"
#include "gui/dialogs/thelpform.h"
#include "gui/mainwindow/qtprompter.h"
#include "gui/mainwindow/teditform.h"
#include "gui/mainwindow/tform1.h"

namespace zerwa {

ProgramWindows::ProgramWindows(const AppContext& context, QtPrompter& prompter)
    : m_prompter(prompter) {
    const VariantProfile& profile = *context.profile;
    m_form = std::make_unique<TForm1>(context);
    prompter.setParentWindow(m_form.get());
    m_correctionDialog = std::make_unique<TEditForm>(profile.correctionDialogCentred, m_form.get());
    prompter.setCorrectionDialog(m_correctionDialog.get());
    m_helpForm = std::make_unique<THelpForm>(profile, context.startupDirectory);
    m_form->setHelpForm(m_helpForm.get());
    if (profile.hasSlopeFill) {
        m_slopeFillDialog =
            std::make_unique<TFuggvenyForm>(prompter, context.numbers, m_form.get());
        prompter.setSlopeFillDialog(m_slopeFillDialog.get());
    }
}

ProgramWindows::~ProgramWindows() {
    m_prompter.setSlopeFillDialog(nullptr);
    m_prompter.setCorrectionDialog(nullptr);
    m_prompter.setParentWindow(nullptr);
}

} // namespace zerwa
