// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/settingsblock.h"

namespace zerwa {

struct EditContext;
namespace settingsrules {
struct FieldVerdict;
}

// Leaving a settings text field: a bad value is reported, then replaced by its fixed value;
// leaving the opening field also brings the closing into the range of its mode. What the
// check writes belongs to the same step as the typing in the field.
class SettingsExit {
public:
    explicit SettingsExit(EditContext& context);

    // Each returns whether it showed a message.
    bool Edit1Exit(); // limiting rpm
    bool Edit2Exit(); // opening
    bool Edit3Exit(); // closing
    // The exit check of the field, when it has one (the drop-down lists have none).
    bool leave(SettingField field);

private:
    bool apply(SettingField field, const settingsrules::FieldVerdict& verdict);

    EditContext& m_context;
};

} // namespace zerwa
