// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/link/serialport.h"
#include "core/link/serialporterror.h"

#include <QElapsedTimer>
#include <QList>

#include <functional>

namespace zerwa::test {

// What the recording serial port did, and how it is told to fail (the fixture owns it).
class SerialRecorder {
public:
    enum class Op { Open, BreakOn, BreakOff, Write, Close };
    struct Event {
        Op op;
        qint64 atMs; // since the recorder was made
        int port;
        QByteArray bytes; // written; empty for a refused write
    };

    QString openFailure;  // non-empty: open throws SerialPortError with this text
    int failWriteAt = -1; // this write after an open (0 = the first) and the rest fail
    QList<Event> events;
    std::function<void(Op)> onOp; // called as each operation is recorded
    bool open = false;
    int writes = 0;
    QElapsedTimer clock;

    SerialRecorder() { clock.start(); }
    QList<Op> ops() const {
        QList<Op> result;
        for (const Event& event : events)
            result << event.op;
        return result;
    }
    QByteArray written() const {
        QByteArray bytes;
        for (const Event& event : events)
            bytes += event.bytes;
        return bytes;
    }
};

class RecordingSerialPort : public SerialPort {
public:
    explicit RecordingSerialPort(SerialRecorder& recorder)
        : m_log(recorder) {}

    void selectPort(int number) override { m_port = number; }
    int selectedPort() const override { return m_port; }
    bool isOpen() const override { return m_log.open; }
    QString openDevice() const override { return m_log.open ? "/dev/fake" : QString(); }
    void open() override {
        if (m_log.open || !m_log.openFailure.isEmpty())
            throw SerialPortError(m_log.open ? QStringLiteral("nyitva") : m_log.openFailure);
        record(SerialRecorder::Op::Open);
        m_log.open = true;
        m_log.writes = 0;
    }
    bool setBreak(bool on) override {
        record(on ? SerialRecorder::Op::BreakOn : SerialRecorder::Op::BreakOff);
        return m_log.open;
    }
    bool write(const QByteArray& bytes) override {
        const bool ok = m_log.open && (m_log.failWriteAt < 0 || m_log.writes++ < m_log.failWriteAt);
        record(SerialRecorder::Op::Write, ok ? bytes : QByteArray());
        return ok;
    }
    void close(CloseHandler done) override {
        if (m_log.open)
            record(SerialRecorder::Op::Close);
        m_log.open = false;
        if (done)
            done({0, false, QStringLiteral("COM%1").arg(m_port)});
    }

private:
    void record(SerialRecorder::Op op, const QByteArray& bytes = {}) {
        m_log.events.append({op, m_log.clock.elapsed(), m_port, bytes});
        if (m_log.onOp)
            m_log.onOp(op);
    }

    SerialRecorder& m_log;
    int m_port = 1;
};

} // namespace zerwa::test
