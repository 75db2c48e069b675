// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/settingsrules.h"

#include <limits>

namespace zerwa::settingsrules {

namespace {

constexpr double kNoUpperBound = std::numeric_limits<double>::infinity();

QString limitRpmMessage(int rpmCeiling) {
    return QStringLiteral("       Hibás érték!\nA fordulatszám 600 - %1 közé eshet!")
        .arg(rpmCeiling);
}

const QString kOpeningMessage = QStringLiteral(
    "       Hibás érték!\nA nyitási idő 0,2 - 2,0 közé eshet!\nVagy a '*' karakter megengedett!");
const QString kClosingAngleMessage =
    QStringLiteral("       Hibás érték!\nA zárási szög 50 - 510 közé eshet!");
const QString kClosingTimeMessage =
    QStringLiteral("       Hibás érték!\nA zárási idő 0,5 - 10 közé eshet!");

bool isControlModeMarker(const QString& opening) {
    return opening == settings::controlModeMarker;
}

} // namespace

bool withinSingle(const QString& text, double minimum, double maximum,
                  const NumberFormat& numbers) {
    const double value = numbers.fallback(text);
    if (value == NumberFormat::invalidMarker)
        return false;
    const float single = float(value);
    return single >= float(minimum) && (maximum == kNoUpperBound || single <= float(maximum));
}

FieldVerdict leaveLimitRpm(const QString& text, int rpmCeiling, const NumberFormat& numbers) {
    if (withinSingle(text, 600, rpmCeiling, numbers))
        return {};
    return {limitRpmMessage(rpmCeiling), QStringLiteral("3500"), std::nullopt};
}

FieldVerdict leaveOpening(const QString& opening, const QString& closing,
                          const NumberFormat& numbers) {
    FieldVerdict verdict;
    if (isControlModeMarker(opening)) {
        // Only values below 50 are raised here; leaving the closing field checks the rest.
        if (!withinSingle(closing, 50, kNoUpperBound, numbers))
            verdict.closingReplacement = QStringLiteral("50");
        return verdict;
    }
    if (!withinSingle(opening, 0.2, 2, numbers)) {
        verdict.message = kOpeningMessage;
        verdict.replacement = QStringLiteral("2");
    }
    if (!withinSingle(closing, 0.5, 10, numbers))
        verdict.closingReplacement = QStringLiteral("0,5");
    return verdict;
}

FieldVerdict leaveClosing(const QString& opening, const QString& closing,
                          const NumberFormat& numbers) {
    if (isControlModeMarker(opening)) {
        if (withinSingle(closing, 50, 510, numbers))
            return {};
        return {kClosingAngleMessage, QStringLiteral("50"), std::nullopt};
    }
    if (withinSingle(closing, 0.5, 10, numbers))
        return {};
    return {kClosingTimeMessage, QStringLiteral("10"), std::nullopt};
}

} // namespace zerwa::settingsrules
