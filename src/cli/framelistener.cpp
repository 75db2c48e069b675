// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/framelistener.h"

#include "core/link/portdevice.h"

namespace zerwa::cli {

FrameListener::FrameListener(QObject* parent)
    : QObject(parent) {
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    connect(&m_quiet, &QTimer::timeout, this, &FrameListener::endOfRun);
    connect(&m_port, &QSerialPort::readyRead, this, &FrameListener::readBytes);
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError) {
            m_port.close();
            emit lost(m_port.errorString());
        }
    });
}

bool FrameListener::open(const PortArgument& port, QString* error) {
    const portdevice::Target target = portdevice::resolve(port.device);
    if (target.device.isEmpty()) {
        *error = portdevice::openFailure(port.name(), target.problem);
        return false;
    }
    m_port.setPortName(target.device);
    m_port.setBaudRate(2400);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (m_port.open(QIODevice::ReadOnly))
        return true;
    *error = portdevice::openFailure(
        port.name(), portdevice::openFailureReason(m_port.error(), m_port.errorString()));
    return false;
}

void FrameListener::readBytes() {
    m_run += m_port.readAll();
    m_quiet.start();
}

void FrameListener::endOfRun() {
    // A break reaches the receiver as NUL bytes; a frame never starts with one (its mode
    // byte is never 0).
    qsizetype start = 0;
    while (start < m_run.size() && m_run.at(start) == '\0')
        ++start;
    const QByteArray frame = m_run.mid(start);
    m_run.clear();
    if (!frame.isEmpty())
        emit frameReceived(frame);
}

} // namespace zerwa::cli
