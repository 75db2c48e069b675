#pragma once

#include <QStringList>

namespace zerwa {

class TForm1;

// The port choice: the port number, the chooser panel over the command bar, the Com button's
// caption, and the working-file line that carries the choice to the next run.
class PortChooser {
public:
    static constexpr int kStartPort = 1;

    explicit PortChooser(TForm1& form);

    int portNumber() const { return m_portNumber; }

    // ComBtnClick: the chooser covers the command bar and its three buttons.
    void show();
    // ComOkBtnClick: stores the chosen port (line 2 of the port file or working file, when
    // that file exists), shows it on the Com button, uses it from the next open on and hides
    // the chooser. With no port chosen nothing changes and the user is asked to choose.
    void confirm();
    // Start-up: the port named by line 2 of the working file, or port 1 when there is no
    // such line or it names no port of the list.
    void restore(const QStringList& workingFileLines);

private:
    void applyPort(int number, const QString& text);
    void setChooserShown(bool shown);

    TForm1& m_form;
    int m_portNumber = kStartPort;
};

} // namespace zerwa
