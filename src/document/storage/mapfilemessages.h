// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace zerwa::mapfilemessages {

// What saving a map file tells the user.
inline const QString kOverwriteQuestion = QStringLiteral("A file már létezik. Felülírja?");
inline const QString kSaved = QStringLiteral("Az adatbázis elmentve!");

inline QString cannotSave(const QString& fileName, const QString& reason) {
    return QStringLiteral("Nem tudom elmenteni az állományt!\n") + fileName + u'\n' + reason;
}

} // namespace zerwa::mapfilemessages
