#include "pseudoterminal.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

namespace zerwa::test {

PseudoTerminal::PseudoTerminal() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0)
        return;
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        ::close(m_master);
        m_master = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
}

PseudoTerminal::~PseudoTerminal() {
    if (m_master >= 0)
        ::close(m_master);
}

bool PseudoTerminal::write(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            pollfd request{m_master, POLLOUT, 0};
            if (::poll(&request, 1, 1000) <= 0)
                return false;
            continue;
        }
        done += n;
    }
    return true;
}

QByteArray PseudoTerminal::readAvailable() {
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break; // EAGAIN: nothing more now; EIO: no slave open
        bytes.append(buffer, n);
    }
    return bytes;
}

QByteArray PseudoTerminal::readWithEvents(qsizetype count, int timeoutMs) {
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

} // namespace zerwa::test
