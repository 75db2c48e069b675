// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/stopsignals.h"

#include "cli/console.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace zerwa::cli {

namespace {

struct StopSignal {
    int number;
    const char* name;
};
constexpr StopSignal kSignals[] = {{SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};

// The handler only writes the signal's number into this pipe; the event loop reads it.
int pipeEnds[2] = {-1, -1};

void onSignal(int number) {
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
}

void handleWith(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const StopSignal& stopSignal : kSignals)
        ::sigaction(stopSignal.number, &action, nullptr);
}

} // namespace

StopSignals::StopSignals(QObject* parent)
    : QObject(parent) {
    if (pipeEnds[0] < 0 && ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the signals keep their default effect
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::stop);
    handleWith(onSignal);
}

StopSignals::~StopSignals() {
    if (m_notifier)
        handleWith(SIG_DFL);
}

void StopSignals::stop() {
    char number = 0;
    while (::read(pipeEnds[0], &number, 1) == 1) {
        for (const StopSignal& stopSignal : kSignals) {
            if (stopSignal.number == number)
                printError(QStringLiteral("zerwa: %1: closing the port")
                               .arg(QLatin1String(stopSignal.name)));
        }
        QCoreApplication::exit(128 + number);
    }
}

} // namespace zerwa::cli
