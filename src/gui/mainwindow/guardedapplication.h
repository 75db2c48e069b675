// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

namespace zerwa {

class Prompter;

// The application object. Commands guard themselves (runGuarded); this is the last net for
// an error raised in any other event handler: it is shown in the error box and the event
// loop goes on.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    void setPrompter(Prompter* prompter) { m_prompter = prompter; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    Prompter* m_prompter = nullptr;
};

} // namespace zerwa
