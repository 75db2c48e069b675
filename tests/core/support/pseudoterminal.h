// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QString>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

namespace zerwa::test {

// A pseudo-terminal pair: the program under test opens the slave device as its serial port,
// the test reads what arrives on the master side.
class PseudoTerminal {
public:
    PseudoTerminal()
        : m_master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~PseudoTerminal() {
        if (m_master >= 0)
            ::close(m_master);
    }
    Q_DISABLE_COPY(PseudoTerminal)

    bool isValid() const { return !m_slavePath.isEmpty(); }
    QString slavePath() const { return m_slavePath; }

    // Writes to the master side: the bytes arrive at whoever has the slave device open.
    bool write(const QByteArray& bytes) {
        return ::write(m_master, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }
    // Whatever has arrived so far, without waiting.
    QByteArray readAvailable() {
        QByteArray bytes;
        char buffer[4096];
        for (ssize_t n; (n = ::read(m_master, buffer, sizeof buffer)) > 0;)
            bytes.append(buffer, n);
        return bytes;
    }
    // Reads until `count` bytes have arrived or `timeoutMs` has passed; events run meanwhile.
    QByteArray readWithEvents(qsizetype count, int timeoutMs) {
        QByteArray bytes;
        const QDeadlineTimer deadline(timeoutMs);
        while (bytes.size() < count && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            pollfd request{m_master, POLLIN, 0};
            if (::poll(&request, 1, 5) > 0)
                bytes += readAvailable();
        }
        return bytes;
    }

private:
    int m_master;
    QString m_slavePath;
};

// A line that does not drain: the pseudo-terminal is written full while its far side reads
// nothing, so whatever the port writes next stays queued.
class StalledLine {
public:
    explicit StalledLine(const QString& device)
        : m_handle(
              ::open(QFile::encodeName(device).constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK)) {
        // The terminal moves what it took on to the far side's buffer in the background and
        // then takes more: it is full once it has refused a few times in a row.
        const QByteArray chunk(4096, 'f');
        for (int refused = 0; m_handle >= 0 && refused < 3;) {
            if (::write(m_handle, chunk.constData(), chunk.size()) > 0) {
                refused = 0;
            } else {
                ++refused;
                QThread::msleep(50);
            }
        }
    }
    ~StalledLine() {
        if (m_handle >= 0)
            ::close(m_handle);
    }
    bool isValid() const { return m_handle >= 0; }

private:
    const int m_handle;
};

// Reads the far side until it stays quiet: the line drains again.
inline void drain(PseudoTerminal& pty) {
    while (!pty.readWithEvents(1 << 20, 100).isEmpty()) {
    }
}

} // namespace zerwa::test
