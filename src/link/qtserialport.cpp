#include "link/qtserialport.h"

#include "link/portdevice.h"
#include "link/serialporterror.h"

#include <QMetaObject>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace zerwa {

namespace {

constexpr qint32 kBaudRate = 2400;
constexpr int kStallMs = 10000; // a line that takes no byte for this long is given up
constexpr int kHandIntervalMs = 20;

QString openFailureReason(QSerialPort::SerialPortError error, const QString& qtText) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("Nincs ilyen eszköz.");
    case QSerialPort::PermissionError:
        return QStringLiteral("A portot más program használja, vagy nincs hozzá jogosultság.");
    case QSerialPort::OpenError:
        return QStringLiteral("A port már nyitva van.");
    default:
        return QStringLiteral("Hiba: ") + qtText;
    }
}

QString openFailure(const QString& device, const QString& reason) {
    return QStringLiteral("A soros port nem nyitható meg: ") + device + u'\n' + reason;
}

// Waits until the driver has sent every byte it holds; false when the device failed.
bool waitUntilSent(qintptr handle) {
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(handle));
#else
    int result = 0;
    do {
        result = ::tcdrain(int(handle));
    } while (result == -1 && errno == EINTR);
    return result == 0;
#endif
}

} // namespace

QtSerialPort::QtSerialPort(QString startupFolder, QObject* parent)
    : QObject(parent)
    , m_startupFolder(std::move(startupFolder)) {
    connect(&m_port, &QSerialPort::bytesWritten, this, [this](qint64 bytes) {
        m_handed += bytes;
        m_sinceProgress.restart();
    });
    m_handTimer.setInterval(kHandIntervalMs);
    connect(&m_handTimer, &QTimer::timeout, this, &QtSerialPort::handToDriver);
}

QtSerialPort::~QtSerialPort() {
    if (m_drain.joinable())
        m_drain.join();
    if (m_port.isOpen()) {
        m_port.setBreakEnabled(false); // a window closed during the break wait
        while (m_port.bytesToWrite() > 0 && m_port.waitForBytesWritten(kStallMs)) {
        }
        if (m_port.bytesToWrite() == 0)
            waitUntilSent(m_port.handle());
        m_port.close();
    }
}

void QtSerialPort::selectPort(int number) {
    m_portNumber = number;
}

void QtSerialPort::selectDevice(const QString& path) {
    m_device = path;
}

QString QtSerialPort::describe(const QString& device) const {
    return m_device.isEmpty() ? portdevice::describe(m_portNumber, device) : device;
}

void QtSerialPort::open() {
    const QString device =
        m_device.isEmpty() ? portdevice::devicePath(m_portNumber, m_startupFolder) : m_device;
    if (m_port.isOpen())
        throw SerialPortError(
            openFailure(describe(m_openDevice), openFailureReason(QSerialPort::OpenError, {})));

    m_port.setPortName(device);
    m_port.setBaudRate(kBaudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.clearError();
    if (!m_port.open(QIODevice::WriteOnly)) {
        const QString reason = openFailureReason(m_port.error(), m_port.errorString());
        m_port.clearError();
        throw SerialPortError(openFailure(describe(device), reason));
    }
    // Both modem-control lines on, for interfaces powered from them. Devices without these
    // lines (a pseudo-terminal, some adapters) refuse; the data line works all the same.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();

    m_openDevice = device;
    m_queued = 0;
    m_handed = 0;
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
            done(0);
        return;
    }
    if (m_closing)
        return; // one close at a time; the first one's handler will be called
    m_closing = true;
    m_closeHandler = std::move(done);
    m_sinceProgress.start();
    handToDriver();
}

void QtSerialPort::handToDriver() {
    if (!m_closing || m_drain.joinable())
        return;
    // Qt's buffer goes to the driver while the driver has room. Qt's own error codes are not
    // used here: it reports a full driver buffer (EAGAIN) as a write or resource error.
    DriverState state = driverState();
    while (m_port.bytesToWrite() > 0 && state == DriverState::Room) {
        if (!m_port.flush())
            break;
        state = driverState();
    }
    m_port.clearError();
    if (m_port.bytesToWrite() == 0) {
        m_handTimer.stop();
        startDriverDrain();
    } else if (state == DriverState::Failed || m_sinceProgress.hasExpired(kStallMs)) {
        release(m_queued - m_handed + qMax<qint64>(0, driverQueue()));
    } else if (!m_handTimer.isActive()) {
        m_handTimer.start(); // the line is busy: look again shortly
    }
}

void QtSerialPort::startDriverDrain() {
    const qintptr handle = m_port.handle();
    m_drain = std::thread([this, handle] {
        const bool ok = waitUntilSent(handle);
        QMetaObject::invokeMethod(
            this, [this, ok] { driverDrained(ok); }, Qt::QueuedConnection);
    });
}

void QtSerialPort::driverDrained(bool ok) {
    if (m_drain.joinable())
        m_drain.join();
    if (ok) {
        release(0);
        return;
    }
    const qint64 held = driverQueue();
    release(held > 0 ? held : m_queued);
}

void QtSerialPort::release(qint64 undelivered) {
    m_handTimer.stop();
    m_port.close();
    m_port.clearError();
    m_openDevice.clear();
    m_closing = false;
    CloseHandler handler = std::move(m_closeHandler);
    m_closeHandler = nullptr;
    if (handler)
        handler(qBound<qint64>(0, undelivered, m_queued));
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
