// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/model/prompter.h"

#include <QPointer>

class QWidget;

namespace zerwa {

class RangeDialog;
class TEditForm;
class TFuggvenyForm;

// Shows the questions as Qt dialogs over the given parent window.
class QtPrompter : public Prompter {
public:
    QtPrompter();
    ~QtPrompter() override;
    void setParentWindow(QWidget* parent) { m_parent = parent; }
    void setCorrectionDialog(TEditForm* dialog);
    void setSlopeFillDialog(TFuggvenyForm* dialog) { m_slopeFillDialog = dialog; }

    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void showError(const QString& text) override;
    QString askCorrectedValue(const QString& rangeText, const QString& cellText) override;
    std::optional<SlopeFillEntries> askSlopeFill() override;
    // The range dialog is made at its first use and kept, with the choice last made.
    std::optional<rangeedits::Request> askRangeOperation(const RangePreview& preview) override;
    std::optional<QString> chooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<QString> chooseFileToSave(const FileDialogRequest& request) override;

private:
    QWidget* m_parent = nullptr;
    QPointer<TEditForm> m_correctionDialog;
    // Made on first use when none was given; the parent window may delete it first.
    QPointer<TEditForm> m_ownCorrectionDialog;
    TFuggvenyForm* m_slopeFillDialog = nullptr;
    QPointer<RangeDialog> m_rangeDialog;
};

} // namespace zerwa
