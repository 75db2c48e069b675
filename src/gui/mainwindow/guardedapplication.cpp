// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/guardedapplication.h"

#include "document/model/prompter.h"

#include <exception>

namespace zerwa {

GuardedApplication::GuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (m_prompter)
            m_prompter->showError(QString::fromUtf8(error.what()));
    } catch (...) {
        if (m_prompter)
            m_prompter->showError(QString());
    }
    return false;
}

} // namespace zerwa
