// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace zerwa {

class Prompter;
class SerialPort;
struct VariantProfile;

// The port choice: the text of the port list, the port number the next download opens,
// the Com button's caption, and the working-file line that carries the choice to the next
// run.
class PortChooser : public QObject {
    Q_OBJECT
public:
    static constexpr int kStartPort = 1;

    // The port file or working file whose line 2 a confirmation updates lies in
    // `startupFolder`.
    PortChooser(const VariantProfile& profile, Prompter& prompter, const QString& startupFolder,
                SerialPort& port, QObject* parent = nullptr);

    int portNumber() const { return m_portNumber; }
    // The port list's text: the chosen item, or empty while none is chosen.
    const QString& listText() const { return m_listText; }
    void setListText(const QString& text);
    // "Com" followed by the port in use.

    // ComOkBtnClick: stores the chosen port (line 2 of the port file or working file, when
    // that file exists), shows it on the Com button and uses it from the next open on.
    // Returns whether the chooser may close; with no port chosen nothing changes and the
    // user is asked to choose.
    bool confirm();
    // Start-up: the port named by line 2 of the working file, or port 1 when there is no
    // such line or it names no port of the list.
    void restore(const QStringList& workingFileLines);

signals:
    void listTextChanged(const QString& text);
    void buttonCaptionChanged(const QString& caption);

private:
    void applyPort(int number, const QString& text);
    bool isItem(const QString& text) const;

    const VariantProfile& m_profile;
    Prompter& m_prompter;
    const QString& m_startupFolder;
    SerialPort& m_port;
    QString m_listText;
    QString m_caption;
    int m_portNumber = kStartPort;
};

} // namespace zerwa
