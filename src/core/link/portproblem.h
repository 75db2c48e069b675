// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace zerwa::portproblem {

// Why a port cannot be opened: the second line of the open failure, under the line that
// names the port and its device.
inline const QString kNoDevice = QStringLiteral("Nincs ilyen eszköz.");
inline const QString kInUse =
    QStringLiteral("A portot más program használja, vagy nincs hozzá jogosultság.");
inline const QString kAlreadyOpen = QStringLiteral("A port már nyitva van.");
inline const QString kStillSending = QStringLiteral("A port még az előző letöltés adatait küldi.");
inline const QString kLinkLoop =
    QStringLiteral("A szimbolikus link körbe mutat, nem vezet el eszközhöz.");
inline const QString kDirectory = QStringLiteral("Ez egy mappa, nem soros port.");
inline const QString kNotSerial = QStringLiteral("Ez nem soros port.");

} // namespace zerwa::portproblem
