#pragma once

#include <QString>

namespace zerwa::downloadmessages {

// What a download tells the user.
inline const QString kDataError =
    QStringLiteral("Hiba az adattáblán!\n Kérem ellenőrizze az adatokat!");
inline const QString kDone = QStringLiteral("A letöltés befejezve!");
inline const QString kFailed = QStringLiteral("Hiba a letöltésben!  "); // then the units sent

} // namespace zerwa::downloadmessages
