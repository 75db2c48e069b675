// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/qtserialport.h"

#include "core/link/driverdrain.h"
#include "core/link/portdevice.h"
#include "core/link/portproblem.h"
#include "core/link/serialporterror.h"

#ifndef Q_OS_WIN
#include <poll.h>
#include <sys/ioctl.h>
#endif

namespace zerwa {

namespace {

constexpr qint32 kBaudRate = 2400;
constexpr int kCloseIntervalMs = 20;

} // namespace

QtSerialPort::QtSerialPort(QString startupFolder, QObject* parent)
    : QObject(parent)
    , m_startupFolder(std::move(startupFolder)) {
    m_closeTimer.setInterval(kCloseIntervalMs);
    connect(&m_closeTimer, &QTimer::timeout, this, &QtSerialPort::continueClose);
}

QtSerialPort::~QtSerialPort() {
    if (!m_port.isOpen())
        return;
    m_closeHandler = nullptr; // whoever asked for the close is gone
    if (!m_closing) {
        m_port.setBreakEnabled(false); // a window closed during the break wait
        startClose();
    }
    while (m_port.isOpen()) {
        waitForProgress();
        continueClose();
    }
}

void QtSerialPort::selectPort(int number) {
    m_portNumber = number;
}

void QtSerialPort::selectDevice(const QString& path) {
    m_device = path;
}

QString QtSerialPort::describe(int port, const QString& path) const {
    return m_device.isEmpty() ? portdevice::describe(port, path) : path;
}

void QtSerialPort::open() {
    if (m_port.isOpen()) {
        throw SerialPortError(portdevice::openFailure(
            m_openName, m_closing ? portproblem::kStillSending : portproblem::kAlreadyOpen));
    }
    const QString path =
        m_device.isEmpty() ? portdevice::devicePath(m_portNumber, m_startupFolder) : m_device;
    const portdevice::Target target = portdevice::resolve(path);
    if (target.device.isEmpty())
        throw SerialPortError(
            portdevice::openFailure(describe(m_portNumber, path), target.problem));
    if (!m_deviceLock.acquire(target.device))
        throw SerialPortError(
            portdevice::openFailure(describe(m_portNumber, path), m_deviceLock.errorString()));

    m_port.setPortName(target.device);
    m_port.setBaudRate(kBaudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.clearError();
    if (!m_port.open(QIODevice::WriteOnly)) {
        const QString reason = portdevice::openFailureReason(m_port.error(), m_port.errorString());
        m_port.clearError();
        m_deviceLock.release();
        throw SerialPortError(portdevice::openFailure(describe(m_portNumber, path), reason));
    }
#ifndef Q_OS_WIN
    // Exclusive mode turns later openers away (Qt sets it too, but does not promise to).
    ::ioctl(int(m_port.handle()), TIOCEXCL);
#endif
    // Both modem-control lines on, for interfaces powered from them. Devices without these
    // lines (a pseudo-terminal, some adapters) refuse; the data line works all the same.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();

    m_openName = describe(m_portNumber, path);
    m_openDevice = target.device;
    m_queued = 0;
}

bool QtSerialPort::setBreak(bool on) {
    if (!m_port.isOpen() || m_closing)
        return false;
    const bool ok = m_port.setBreakEnabled(on);
    m_port.clearError();
    return ok;
}

bool QtSerialPort::write(const QByteArray& bytes) {
    if (!m_port.isOpen() || m_closing)
        return false;
    const qint64 written = m_port.write(bytes);
    if (written > 0)
        m_queued += written;
    return written == bytes.size();
}

void QtSerialPort::close(CloseHandler done) {
    if (!m_port.isOpen()) {
        if (done)
            done({});
        return;
    }
    if (m_closing)
        return; // one close at a time; the first one's handler will be called
    m_closeHandler = std::move(done);
    startClose();
}

void QtSerialPort::startClose() {
    m_closing = true;
    m_closeDeadline = QDeadlineTimer(m_closeTimeLimit.forBytes(m_queued));
    continueClose();
}

// Runs from close() and then from the close timer until the port is released.
void QtSerialPort::continueClose() {
    if (!m_closing)
        return;
    if (!m_drain) {
        handToDriver();
        if (!m_closing)
            return;
    }
    if (m_drain) {
        if (const std::optional<bool> drained = m_drain->result()) {
            const qint64 held = *drained ? 0 : driverQueue();
            release(*drained || held > 0 ? held : m_queued, false);
            return;
        }
    }
    if (m_closeDeadline.hasExpired()) {
        giveUp();
        return;
    }
    if (!m_closeTimer.isActive())
        m_closeTimer.start();
}

void QtSerialPort::handToDriver() {
    // Qt's buffer goes to the driver while the driver has room. Qt's own error codes are not
    // used here: it reports a full driver buffer (EAGAIN) as a write or resource error.
    DriverState state = driverState();
    while (m_port.bytesToWrite() > 0 && state == DriverState::Room) {
        if (!m_port.flush())
            break;
        state = driverState();
    }
    m_port.clearError();
    if (m_port.bytesToWrite() == 0)
        m_drain = std::make_unique<DriverDrain>(m_port.handle());
    else if (state == DriverState::Failed)
        release(m_port.bytesToWrite() + qMax<qint64>(0, driverQueue()), false);
}

void QtSerialPort::giveUp() {
    const qint64 undelivered = m_port.bytesToWrite() + qMax<qint64>(0, driverQueue());
    // Dropping what the driver holds also ends a drain that waits for it.
    m_port.clear(QSerialPort::Output);
    release(undelivered, true);
}

void QtSerialPort::release(qint64 undelivered, bool timedOut) {
    m_closeTimer.stop();
    m_drain.reset();
    m_port.close();
    m_port.clearError();
    if (timedOut)
        m_deviceLock.abandon();
    else
        m_deviceLock.release();
    CloseResult result{qBound<qint64>(0, undelivered, m_queued), timedOut, m_openName};
    m_openName.clear();
    m_openDevice.clear();
    m_closing = false;
    CloseHandler handler = std::move(m_closeHandler);
    m_closeHandler = nullptr;
    if (handler)
        handler(result);
}

// Blocks until the line may have moved on, or the close deadline; for the destructor.
void QtSerialPort::waitForProgress() {
    const int waitMs =
        int(qBound(qint64(0), m_closeDeadline.remainingTime(), qint64(kCloseIntervalMs)));
    if (m_drain) {
        m_drain->waitFor(std::chrono::milliseconds(waitMs));
        return;
    }
#ifdef Q_OS_WIN
    m_port.waitForBytesWritten(waitMs);
    m_port.clearError();
#else
    pollfd request{int(m_port.handle()), POLLOUT, 0};
    ::poll(&request, 1, waitMs);
#endif
}

qint64 QtSerialPort::bytesNotSent() const {
    if (!m_port.isOpen())
        return 0;
    return m_port.bytesToWrite() + qMax<qint64>(0, driverQueue());
}

QtSerialPort::DriverState QtSerialPort::driverState() const {
#if defined(Q_OS_WIN)
    return DriverState::Room;
#else
    pollfd request{int(m_port.handle()), POLLOUT, 0};
    if (::poll(&request, 1, 0) < 0 || request.revents & (POLLERR | POLLHUP | POLLNVAL))
        return DriverState::Failed;
    return request.revents & POLLOUT ? DriverState::Room : DriverState::Full;
#endif
}

qint64 QtSerialPort::driverQueue() const {
#if defined(Q_OS_WIN)
    return -1;
#else
    int queued = 0;
    if (::ioctl(int(m_port.handle()), TIOCOUTQ, &queued) != 0)
        return -1;
    return queued;
#endif
}

} // namespace zerwa
