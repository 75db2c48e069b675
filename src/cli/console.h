// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace zerwa::cli {

// What every subcommand's exit code means.
enum ExitCode : int {
    kSuccess = 0,  // all maps pass, maps equal, frame well-formed, download complete
    kFailed = 1,   // a map fails the check, maps differ, a broken frame, an incomplete download
    kBadInput = 2, // a file or port that cannot be used, or a wrong command line
    kJournalNotWritten = 3, // send: delivered, but its journal record could not be written
};

// Text to standard output or standard error in the terminal's encoding, each a line of its
// own. Messages of the programs that span lines are shown on one.
void printLine(const QString& text);
void printError(const QString& text);
// Bytes to standard output exactly as they are.
void writeRaw(const QByteArray& bytes);
// Whether standard error is a terminal (progress is shown only there).
bool errorIsTerminal();
// Rewrites the current line of standard error (progress).
void printProgress(const QString& text);

// A message on one line: each line break, with the blanks that open the next line, becomes
// one blank.
QString oneLine(const QString& message);

} // namespace zerwa::cli
