#pragma once

#include <QByteArray>
#include <QString>

namespace zerwa::test {

// A pseudo-terminal pair: the program under test opens the slave device as its serial port,
// the test reads what arrives on the master side.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    // Writes to the master side: the bytes arrive at whoever has the slave device open.
    bool write(const QByteArray& bytes);
    // Whatever has arrived so far, without waiting.
    QByteArray readAvailable();
    // Reads until `count` bytes have arrived or `timeoutMs` has passed, letting the Qt event
    // loop run meanwhile.
    QByteArray readWithEvents(qsizetype count, int timeoutMs);

private:
    int m_master = -1;
    QString m_slavePath;
};

} // namespace zerwa::test
