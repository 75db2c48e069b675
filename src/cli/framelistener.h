// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/portargument.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

namespace zerwa::cli {

// The device's side of the line: reads the port at 2400 8N1 and hands over each frame, a run
// of bytes ended by a quiet line.
class FrameListener : public QObject {
    Q_OBJECT
public:
    // Well above one byte time (4.2 ms at 2400 baud), well below the 500 ms break that opens
    // the next download and below any human's next click.
    static constexpr int kQuietMs = 200;

    explicit FrameListener(QObject* parent = nullptr);

    // Opens the port read-only, a COMn link followed to its device as the programs do; false
    // with the programs' message naming the port in `error`.
    bool open(const PortArgument& port, QString* error);

signals:
    // One run of bytes, without the NUL bytes a break leaves before it.
    void frameReceived(const QByteArray& bytes);
    // The device went away (unplugged, or the other end of a pseudo-terminal closed).
    void lost(const QString& reason);

private:
    void readBytes();
    void endOfRun();

    QSerialPort m_port;
    QTimer m_quiet;
    QByteArray m_run;
};

} // namespace zerwa::cli
