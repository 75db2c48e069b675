// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/programentry.h"

#include "core/journal/journalfolder.h"
#include "core/link/qtserialport.h"
#include "core/model/variantprofile.h"
#include "gui/mainwindow/guardedapplication.h"
#include "gui/mainwindow/programwindows.h"
#include "gui/mainwindow/qtprompter.h"
#include "gui/mainwindow/tform1.h"

#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <cstdlib>
#include <exception>
#include <memory>

namespace zerwa {

namespace {

// Qt's own dialog buttons (Yes, No, Cancel) in the user's language when Qt ships it.
void installQtTranslation(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
}

void showFatalError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

int runProgram(const VariantProfile& profile, int argc, char** argv) {
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(profile.programName);
    installQtTranslation(app);

    QtPrompter prompter;
    app.setPrompter(&prompter);
    try {
        AppContext context;
        context.profile = &profile;
        context.prompter = &prompter;
        context.numbers = NumberFormat::fromSystemLocale();
        context.startupDirectory = QDir::currentPath();
        context.journalFolder = journalfolder::fromEnvironment();
        context.terminateProcess = [](int code) { std::_Exit(code); };
        context.serialPortFactory = [](const QString& startupDirectory) {
            return std::make_unique<QtSerialPort>(startupDirectory);
        };

        ProgramWindows windows(context, prompter);
        windows.form().show();
        QApplication::exec();
    } catch (const std::exception& error) {
        showFatalError(QString::fromUtf8(error.what()));
    } catch (...) {
        showFatalError(QString());
    }
    return 0;
}

} // namespace zerwa
