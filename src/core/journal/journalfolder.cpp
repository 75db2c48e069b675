// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/journalfolder.h"

#include <QDir>
#include <QFileInfo>

namespace zerwa::journalfolder {

namespace {

const QString kUnderDataHome = QStringLiteral("zerwa/journal");

// What lies at `folder`: a folder, nothing, or a problem.
std::optional<JournalProblem> problemAt(const QString& folder, bool* missing) {
    if (folder.isEmpty())
        return JournalProblem{JournalProblem::Kind::NoFolder, QString(), QString()};
    const QFileInfo entry(folder);
    *missing = false;
    if (entry.isSymLink() && !entry.exists())
        return JournalProblem{JournalProblem::Kind::DanglingLink, folder, entry.symLinkTarget()};
    if (entry.exists() && !entry.isDir())
        return JournalProblem{JournalProblem::Kind::NotAFolder, folder, QString()};
    *missing = !entry.exists();
    return std::nullopt;
}

} // namespace

QString locate(const std::function<QString(const char* name)>& variable,
               const QString& currentFolder) {
    if (const QString own = variable("ZERWA_JOURNAL_DIR"); !own.isEmpty())
        return QDir::cleanPath(QDir(currentFolder).absoluteFilePath(own));
    if (const QString data = variable("XDG_DATA_HOME"); QDir::isAbsolutePath(data))
        return QDir::cleanPath(data + u'/' + kUnderDataHome);
    if (const QString home = variable("HOME"); !home.isEmpty())
        return QDir::cleanPath(QDir(currentFolder).absoluteFilePath(home) +
                               QStringLiteral("/.local/share/") + kUnderDataHome);
    return QString();
}

QString fromEnvironment() {
    return locate([](const char* name) { return qEnvironmentVariable(name); }, QDir::currentPath());
}

std::optional<JournalProblem> prepare(const QString& folder) {
    bool missing = false;
    if (auto problem = problemAt(folder, &missing))
        return problem;
    if (missing && !QDir().mkpath(folder)) {
        // The nearest part of the path that is there says why: a file in the way (named in
        // the detail), or no permission to make a folder there (no detail).
        QFileInfo above(folder);
        while (!above.exists() && !above.isRoot())
            above = QFileInfo(above.absolutePath());
        return JournalProblem{JournalProblem::Kind::CannotCreate, folder,
                              above.isDir() ? QString() : above.filePath()};
    }
    return std::nullopt;
}

std::optional<JournalProblem> checkReadable(const QString& folder) {
    bool missing = false;
    if (auto problem = problemAt(folder, &missing))
        return problem;
    if (!missing && !QFileInfo(folder).isReadable())
        return JournalProblem{JournalProblem::Kind::CannotRead, folder, QString()};
    return std::nullopt;
}

} // namespace zerwa::journalfolder
