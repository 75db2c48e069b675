// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/session/commandguard.h"

#include "document/model/prompter.h"

#include <QString>

#include <exception>

namespace zerwa {

void runGuarded(Prompter& prompter, const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        prompter.showError(QString::fromUtf8(error.what()));
    } catch (...) {
        prompter.showError(QString());
    }
}

} // namespace zerwa
