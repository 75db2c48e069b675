// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

namespace zerwa::cli {

// While it lives, SIGINT, SIGTERM and SIGHUP no longer end the process where it stands: the
// event loop is ended with 128 + the signal's number instead, so that whatever holds a port
// closes it on the way out (exclusive mode off, lock file gone, break released). Declared
// before the port, it also keeps a second signal from cutting that close short.
class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override; // the signals end the process again

private:
    void stop();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace zerwa::cli
