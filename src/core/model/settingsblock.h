// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <utility>

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

// The six settings in the order of the panel (and of the map file).
enum class SettingField { Cylinders, LimitRpm, Opening, Closing, InputPolarity, OutputPolarity };
inline constexpr int kSettingFieldCount = 6;

inline const QString& fieldOf(const SettingsBlock& block, SettingField field) {
    const QString* fields[] = {&block.cylinders, &block.limitRpm,      &block.opening,
                               &block.closing,   &block.inputPolarity, &block.outputPolarity};
    return *fields[int(field)];
}
inline QString& fieldOf(SettingsBlock& block, SettingField field) {
    return const_cast<QString&>(fieldOf(std::as_const(block), field));
}
// The three drop-down lists, which hold one of their items or nothing.
inline bool isListField(SettingField field) {
    return field == SettingField::Cylinders || field == SettingField::InputPolarity ||
           field == SettingField::OutputPolarity;
}

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
