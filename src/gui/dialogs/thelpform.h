// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QFrame;
class QPushButton;
class QTextEdit;

namespace zerwa {

struct VariantProfile;

// The help window. It reads the program's help file once, when it is created at start-up,
// and shows that text read-only whenever the help button asks for it; "Vissza" only hides
// it, so a file changed or removed later does not show until the next start.
class THelpForm : public QWidget {
    Q_OBJECT
public:
    // Files larger than this are read only up to this size (pictures embedded in a help text
    // make it large; the text itself is kept to a size the viewer shows at once).
    static constexpr qint64 kMaxHelpFileBytes = 16 * 1024 * 1024;

    // `startupDirectory` is the folder the help file is looked up in (the current directory
    // at start).
    THelpForm(const VariantProfile& profile, const QString& startupDirectory,
              QWidget* parent = nullptr);

    // Shows the window without blocking the main window, or brings it forward when it is
    // already shown.
    void showHelp();

    QFrame* Panel2;
    QTextEdit* RichEdit1;
    QPushButton* EndhelpBtn;

public slots:
    void EndhelpBtnClick();

private:
    void buildControls();
    void loadText(const QString& path);
    void centreOnScreen();
};

} // namespace zerwa
