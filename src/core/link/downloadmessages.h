// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace zerwa::downloadmessages {

// What a download tells the user.
inline const QString kDataError =
    QStringLiteral("Hiba az adattáblán!\n Kérem ellenőrizze az adatokat!");
inline const QString kDone = QStringLiteral("A letöltés befejezve!");
inline const QString kFailed = QStringLiteral("Hiba a letöltésben!  "); // then the units sent
// The line did not drain in time and the port was closed anyway; %1 names the port.
inline const QString kCloseTimedOut =
    QStringLiteral("A letöltés nem fejeződött be időben: %1\nA portot lezártam, de lehet, hogy "
                   "az eszköz nem kapta meg a teljes map táblát.");

} // namespace zerwa::downloadmessages
