#include "support/recordingserialport.h"

#include "link/serialporterror.h"

#include <QTimer>

namespace zerwa::test {

QList<SerialRecorder::Op> SerialRecorder::ops() const {
    QList<Op> result;
    for (const Event& event : m_events)
        result << event.op;
    return result;
}

int SerialRecorder::count(Op op) const {
    int n = 0;
    for (const Event& event : m_events)
        n += event.op == op;
    return n;
}

qsizetype SerialRecorder::indexOf(Op op, qsizetype from) const {
    for (qsizetype i = from; i < m_events.size(); ++i) {
        if (m_events.at(i).op == op)
            return i;
    }
    return -1;
}

QByteArray SerialRecorder::writtenSinceOpen() const {
    QByteArray bytes;
    for (const Event& event : m_events) {
        if (event.op == Op::Open && event.ok)
            bytes.clear();
        else if (event.op == Op::Write && event.ok)
            bytes += event.bytes;
    }
    return bytes;
}

qint64 SerialRecorder::msBetween(qsizetype first, qsizetype second) const {
    return (m_events.at(second).atNs - m_events.at(first).atNs) / 1'000'000;
}

void SerialRecorder::record(Op op, bool ok, int port, const QByteArray& bytes) {
    m_events.append({op, m_clock.nsecsElapsed(), ok, port, bytes});
}

void RecordingSerialPort::selectPort(int number) {
    m_port = number;
    m_recorder.record(SerialRecorder::Op::Select, true, number);
}

void RecordingSerialPort::open() {
    if (m_recorder.m_open) {
        m_recorder.record(SerialRecorder::Op::Open, false, m_port);
        throw SerialPortError(QStringLiteral("COM") + QString::number(m_openPort) +
                              QStringLiteral(": a port már nyitva van."));
    }
    if (!m_recorder.openFailure.isEmpty()) {
        m_recorder.record(SerialRecorder::Op::Open, false, m_port);
        throw SerialPortError(m_recorder.openFailure);
    }
    m_recorder.record(SerialRecorder::Op::Open, true, m_port);
    m_recorder.m_open = true;
    m_recorder.m_writesSinceOpen = 0;
    m_openPort = m_port;
}

bool RecordingSerialPort::setBreak(bool on) {
    const bool ok = m_recorder.m_open && !m_closing && !m_recorder.refuseBreak;
    m_recorder.record(on ? SerialRecorder::Op::BreakOn : SerialRecorder::Op::BreakOff, ok,
                      m_openPort);
    return ok;
}

bool RecordingSerialPort::write(const QByteArray& bytes) {
    const int index = m_recorder.m_writesSinceOpen++;
    const bool ok = m_recorder.m_open && !m_closing &&
                    (m_recorder.failWriteAt < 0 || index < m_recorder.failWriteAt);
    m_recorder.record(SerialRecorder::Op::Write, ok, m_openPort, bytes);
    return ok;
}

void RecordingSerialPort::close(CloseHandler done) {
    if (!m_recorder.m_open || m_closing) {
        m_recorder.record(SerialRecorder::Op::Close, false, m_openPort);
        if (!m_recorder.m_open && done)
            done({});
        return;
    }
    m_recorder.record(SerialRecorder::Op::Close, true, m_openPort);
    if (m_recorder.releaseDelayMs <= 0) {
        release(done);
        return;
    }
    m_closing = true;
    QTimer::singleShot(m_recorder.releaseDelayMs, &m_timerContext, [this, done] { release(done); });
}

void RecordingSerialPort::release(const CloseHandler& done) {
    m_closing = false;
    m_recorder.m_open = false;
    m_recorder.record(SerialRecorder::Op::Released, true, m_openPort);
    if (done)
        done({m_recorder.undeliveredOnClose, m_recorder.closeTimesOut,
              QStringLiteral("COM") + QString::number(m_openPort)});
}

} // namespace zerwa::test
