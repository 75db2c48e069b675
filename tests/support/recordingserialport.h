#pragma once

#include "link/serialport.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>

namespace zerwa::test {

// What the recording serial port did, with the time of each operation, and how it is told
// to misbehave. It outlives the port (the fixture owns it, the main window owns the port).
class SerialRecorder {
public:
    enum class Op { Select, Open, BreakOn, BreakOff, Write, Close, Released };
    struct Event {
        Op op;
        qint64 atNs; // since the recorder was made
        bool ok;     // false for a refused operation
        int port;
        QByteArray bytes; // Write
    };

    SerialRecorder() { m_clock.start(); }

    // Misbehaviour, for the opens and writes that follow.
    QString openFailure;      // non-empty: open throws SerialPortError with this text
    bool refuseBreak = false; // set break (on or off) fails
    int failWriteAt = -1;     // this write after an open (0 = the first) and the rest fail
    qint64 undeliveredOnClose = 0;
    bool closeTimesOut = false; // the close reports a line that did not drain in time
    int releaseDelayMs = 0;     // 0: released within close(); else later, from the event loop

    const QList<Event>& events() const { return m_events; }
    QList<Op> ops() const;
    int count(Op op) const;
    // The first event of this kind at or after `from`, or -1.
    qsizetype indexOf(Op op, qsizetype from = 0) const;
    // Every byte written successfully after the last open.
    QByteArray writtenSinceOpen() const;
    qint64 msBetween(qsizetype first, qsizetype second) const;
    bool isOpen() const { return m_open; }
    void clear() { m_events.clear(); }

private:
    friend class RecordingSerialPort;
    void record(Op op, bool ok, int port, const QByteArray& bytes = {});

    QElapsedTimer m_clock;
    QList<Event> m_events;
    bool m_open = false;
    int m_writesSinceOpen = 0;
};

class RecordingSerialPort : public SerialPort {
public:
    explicit RecordingSerialPort(SerialRecorder& recorder)
        : m_recorder(recorder) {}

    void selectPort(int number) override;
    int selectedPort() const override { return m_port; }
    void open() override;
    bool isOpen() const override { return m_recorder.m_open; }
    bool setBreak(bool on) override;
    bool write(const QByteArray& bytes) override;
    void close(CloseHandler done) override;

private:
    void release(const CloseHandler& done);

    SerialRecorder& m_recorder;
    int m_port = 1;
    int m_openPort = 0;
    bool m_closing = false;
    QObject m_timerContext; // delayed releases end with the port
};

} // namespace zerwa::test
