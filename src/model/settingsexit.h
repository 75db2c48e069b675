#pragma once

#include "model/settingsblock.h"

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

    void Edit1Exit(); // limiting rpm
    void Edit2Exit(); // opening
    void Edit3Exit(); // closing
    // The exit check of the field, when it has one (the drop-down lists have none).
    void leave(SettingField field);

private:
    void apply(SettingField field, const settingsrules::FieldVerdict& verdict);

    EditContext& m_context;
};

} // namespace zerwa
