// SPDX-License-Identifier: GPL-3.0-or-later
// installedhelpcheck <home>: checks, for every program, that the help window built in the
// program's installed working folder <home>/zerwa/<program> shows the shipped help text
// (formatted text naming the program), not the missing-file line nor raw rich text.
#include "core/model/variantprofiles.h"
#include "gui/dialogs/thelpform.h"

#include <QApplication>
#include <QDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: installedhelpcheck <home>\n");
        return 2;
    }
    int failures = 0;
    for (const zerwa::VariantProfile* profile : zerwa::profiles::all()) {
        const QString folder =
            QDir(QString::fromLocal8Bit(argv[1])).filePath("zerwa/" + profile->programName);
        const zerwa::THelpForm help(*profile, folder);
        const QTextDocument* document = help.RichEdit1->document();
        const QString title = document->firstBlock().text();
        const bool bold =
            document->firstBlock().begin().fragment().charFormat().fontWeight() == QFont::Bold;
        const bool ok = title.startsWith(profile->programName + QStringLiteral(" – ")) && bold &&
                        document->blockCount() > 50 &&
                        !document->toPlainText().contains(QStringLiteral("\\rtf"));
        std::printf("%s: %s (%d paragraphs, first: %s)\n", qPrintable(profile->programName),
                    ok ? "help text shown" : "FAILED", document->blockCount(), qPrintable(title));
        failures += ok ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
