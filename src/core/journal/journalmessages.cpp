// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/journalmessages.h"

namespace zerwa::journalmessages {

namespace {

QString withPlace(const QString& headline, const JournalProblem& problem) {
    return headline + (problem.path.isEmpty() ? QString() : u'\n' + problem.path) + u'\n' +
           reason(problem);
}

} // namespace

QString reason(const JournalProblem& problem) {
    using Kind = JournalProblem::Kind;
    const QString& detail = problem.detail;
    switch (problem.kind) {
    case Kind::NoFolder:
        return QStringLiteral("Nincs beállítva sem a ZERWA_JOURNAL_DIR, sem az XDG_DATA_HOME, "
                              "sem a HOME környezeti változó,\nígy a naplónak nincs helye.");
    case Kind::NotAFolder:
        return QStringLiteral("Ezen a néven nem mappa, hanem állomány van.");
    case Kind::DanglingLink:
        return QStringLiteral("A szimbolikus link nem létező helyre mutat: ") + detail;
    case Kind::CannotCreate:
        return detail.isEmpty()
                   ? QStringLiteral("A mappa nem hozható létre: nincs hozzá jogosultság.")
                   : QStringLiteral("A mappa nem hozható létre, mert ez nem mappa: ") + detail;
    case Kind::CannotRead:
        return detail.isEmpty() ? QStringLiteral("Nincs hozzá olvasási jogosultság.") : detail;
    case Kind::CannotWrite:
        return detail;
    case Kind::NoSuchRecord:
        return QStringLiteral("Nincs ilyen naplóbejegyzés.");
    case Kind::Damaged:
        return QStringLiteral("A naplóbejegyzés sérült, ezért nem használható.");
    }
    return detail;
}

QString shownTime(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy.MM.dd. HH:mm:ss"));
}

QString cannotWrite(const JournalProblem& problem) {
    return withPlace(QStringLiteral("Nem tudom írni a letöltési naplót!"), problem);
}

QString cannotRead(const JournalProblem& problem) {
    return withPlace(QStringLiteral("Nem tudom olvasni a letöltési naplót!"), problem);
}

} // namespace zerwa::journalmessages
