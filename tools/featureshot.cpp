// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a picture of a program's main window with one of its features on, for the README.
// Run it in a folder whose working file names a map, as the program would be started there:
//   featureshot <program> compare <reference.qmt> <out.png>   the comparison with a map file,
//                                                              its window beside the main one
//   featureshot <program> colours <out.png>                    the cells coloured by value
#include "core/journal/journalfolder.h"
#include "core/link/qtserialport.h"
#include "core/model/variantprofiles.h"
#include "document/session/mapsession.h"
#include "gui/compare/comparisoncontrols.h"
#include "gui/compare/comparisonwindow.h"
#include "gui/mainwindow/programwindows.h"
#include "gui/mainwindow/qtprompter.h"
#include "gui/mainwindow/tform1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

using namespace zerwa;

namespace {

void waitFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The main window and, to its right, the comparison's window, on white.
QPixmap sideBySide(QWidget& main, QWidget* beside) {
    const QPixmap left = main.grab();
    if (!beside)
        return left;
    const QPixmap right = beside->grab();
    constexpr int gap = 12;
    QPixmap both(left.width() + gap + right.width(), qMax(left.height(), right.height()));
    both.fill(Qt::white);
    QPainter painter(&both);
    painter.drawPixmap(0, 0, left);
    painter.drawPixmap(left.width() + gap, 0, right);
    return both;
}

int usage() {
    std::fprintf(stderr, "usage: featureshot <program> compare <reference.qmt> <out.png>\n"
                         "       featureshot <program> colours <out.png>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const VariantProfile* profile =
        args.size() > 1 ? profiles::forProgramName(args.at(1)) : nullptr;
    const bool compare = args.size() == 5 && args.at(2) == QLatin1String("compare");
    if (!profile || !(compare || (args.size() == 4 && args.at(2) == QLatin1String("colours"))))
        return usage();
    QApplication::setApplicationName(profile->programName);

    QTemporaryDir journal; // the picture's program downloads nothing
    QtPrompter prompter;
    AppContext context;
    context.profile = profile;
    context.prompter = &prompter;
    context.numbers = NumberFormat::fromSystemLocale();
    context.startupDirectory = QDir::currentPath();
    context.journalFolder = journal.path();
    context.terminateProcess = [](int code) { std::exit(code); };
    context.serialPortFactory = [](const QString& folder) {
        return std::make_unique<QtSerialPort>(folder);
    };
    ProgramWindows windows(context, prompter);
    TForm1& form = windows.form();
    form.move(0, 0);
    form.show();
    waitFor(500);

    QWidget* beside = nullptr;
    if (compare) {
        // Ctrl+D's dialog, answered with the reference.
        const QString reference = QDir::current().absoluteFilePath(args.at(3));
        QTimer::singleShot(300, [reference] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* name =
                dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
            if (name) {
                name->setText(reference);
                QMetaObject::invokeMethod(dialog, "accept");
            }
        });
        form.session().compareWithFile();
        form.comparisonControls()->step(true); // the first difference selected
        beside = form.comparisonControls()->window();
    } else {
        form.toggleValueColours();
    }
    waitFor(500);
    if (!sideBySide(form, beside).save(args.last(), "PNG")) {
        std::fprintf(stderr, "could not save the picture\n");
        return 1;
    }
    return 0;
}
