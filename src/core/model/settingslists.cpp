// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/settingslists.h"

namespace zerwa::settings {

namespace {

QString selectable(const QString& text, const QStringList& items) {
    return items.contains(text, Qt::CaseSensitive) ? text : QString();
}

} // namespace

const QStringList& fieldNames() {
    static const QStringList names = {
        QStringLiteral("Hengerek száma"),
        QStringLiteral("Határolási ford. szám"),
        QStringLiteral("Nyitás (ms/vezérlési mód)"),
        QStringLiteral("Zárás (ms/zárási szög(fok))"),
        QStringLiteral("Bemeneti polaritás"),
        QStringLiteral("Kimeneti polaritás"),
    };
    return names;
}

QStringList fieldValues(const SettingsBlock& block) {
    return {block.cylinders, block.limitRpm,      block.opening,
            block.closing,   block.inputPolarity, block.outputPolarity};
}

SettingsBlock normalized(const SettingsBlock& block, const VariantProfile& profile) {
    const QStringList polarities = {falling, rising};
    SettingsBlock result = block;
    result.cylinders = selectable(block.cylinders, profile.cylinderItems);
    result.inputPolarity = selectable(block.inputPolarity, polarities);
    result.outputPolarity = selectable(block.outputPolarity, polarities);
    return result;
}

} // namespace zerwa::settings
