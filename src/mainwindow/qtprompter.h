#pragma once

#include "mainwindow/prompter.h"

class QWidget;

namespace zerwa {

// Shows the questions as Qt dialogs over the given parent window.
class QtPrompter : public Prompter {
public:
    QtPrompter() = default;
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void showError(const QString& text) override;
    std::optional<QString> chooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<QString> chooseFileToSave(const FileDialogRequest& request) override;

private:
    QWidget* m_parent = nullptr;
};

} // namespace zerwa
