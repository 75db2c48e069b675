// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/model/settingsexit.h"

#include "core/model/settingsrules.h"
#include "document/model/editcontext.h"

namespace zerwa {

SettingsExit::SettingsExit(EditContext& context)
    : m_context(context) {}

bool SettingsExit::Edit1Exit() {
    const SettingsBlock& s = m_context.document.settings();
    return apply(SettingField::LimitRpm,
                 settingsrules::leaveLimitRpm(s.limitRpm, m_context.profile().rpmCeiling,
                                              m_context.numbers));
}

bool SettingsExit::Edit2Exit() {
    const SettingsBlock& s = m_context.document.settings();
    return apply(SettingField::Opening,
                 settingsrules::leaveOpening(s.opening, s.closing, m_context.numbers));
}

bool SettingsExit::Edit3Exit() {
    const SettingsBlock& s = m_context.document.settings();
    return apply(SettingField::Closing,
                 settingsrules::leaveClosing(s.opening, s.closing, m_context.numbers));
}

bool SettingsExit::leave(SettingField field) {
    switch (field) {
    case SettingField::LimitRpm:
        return Edit1Exit();
    case SettingField::Opening:
        return Edit2Exit();
    case SettingField::Closing:
        return Edit3Exit();
    default:
        m_context.document.closeEdit();
        return false;
    }
}

bool SettingsExit::apply(SettingField field, const settingsrules::FieldVerdict& verdict) {
    MapDocument& document = m_context.document;
    // The message comes first; the replacement is written after the box is closed.
    if (verdict.message)
        m_context.prompter.showMessage(*verdict.message);
    if (verdict.replacement)
        document.typeSetting(field, *verdict.replacement);
    if (verdict.closingReplacement)
        document.typeSetting(SettingField::Closing, *verdict.closingReplacement);
    document.closeEdit();
    return verdict.message.has_value();
}

} // namespace zerwa
