// SPDX-License-Identifier: GPL-3.0-or-later
// A program that downloads once, for the tests that stop programs from outside. Started with
// a program's name in a folder whose working file names a map and whose COM1 leads to a
// device, it clicks Letöltés and says on standard output "break" once the line is in break,
// "sending" once the frame is written, then the download's message, and ends.
#include "core/journal/journalfolder.h"
#include "core/link/qtserialport.h"
#include "core/model/variantprofiles.h"
#include "document/support/scriptedprompter.h"
#include "gui/mainwindow/tform1.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

using namespace zerwa;

namespace {

void say(const QString& text) {
    std::puts(text.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const VariantProfile* profile = profiles::forProgramName(app.arguments().value(1));
    if (!profile)
        return 2;
    test::ScriptedPrompter prompter;
    prompter.onRecord = [&prompter] {
        say(prompter.records.constLast().text);
        QCoreApplication::exit();
    };
    TForm1 form({profile, &prompter, NumberFormat(u','), QDir::currentPath(),
                 journalfolder::fromEnvironment(), [](int code) { std::_Exit(code); },
                 [](const QString& folder) { return std::make_unique<QtSerialPort>(folder); }});
    QObject::connect(form.Timer1, &QTimer::timeout, [] { say(QStringLiteral("sending")); });
    QTimer::singleShot(0, &form, [&form] {
        form.LetoltBtnClick();
        say(QStringLiteral("break"));
    });
    return QApplication::exec();
}
