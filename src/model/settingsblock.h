#pragma once

#include <QString>

namespace zerwa {

// The six settings beside the map table, as their controls show them. A drop-down list
// with no selection reads as an empty text.
struct SettingsBlock {
    QString cylinders;      // ComboBox1
    QString limitRpm;       // Edit1
    QString opening;        // Edit2: milliseconds, or the control-mode marker
    QString closing;        // Edit3: milliseconds, or degrees in control mode
    QString inputPolarity;  // ComboBox3
    QString outputPolarity; // ComboBox4

    friend bool operator==(const SettingsBlock&, const SettingsBlock&) = default;
};

namespace settings {
// The exact one-character opening text that selects the angle control mode.
inline const QString controlModeMarker = QStringLiteral("*");
inline const QString falling = QStringLiteral("Lefutó");
inline const QString rising = QStringLiteral("Felfutó");

inline bool isControlMode(const SettingsBlock& block) {
    return block.opening == controlModeMarker;
}
} // namespace settings

} // namespace zerwa
