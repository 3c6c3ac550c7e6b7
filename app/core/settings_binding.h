#pragma once

// The 13 stored settings and the controls they belong to: one row each, used by start-up to
// put the stored texts into the controls and by shutdown to store the controls' state. The
// names, defaults and orders live in the settings table.

#include "settings/settings_table.h"

#include <string>
#include <string_view>

class TForm1;

namespace core {

struct SettingBinding
{
    settings::Setting id;
    /** Puts a stored text into its control, as the program's change: the control's handler runs. */
    void (*apply)(TForm1 &form, std::string_view text);
    /** The state to store, as text. */
    std::string (*text)(const TForm1 &form);
    /** Part of the list's state: not stored when the list could not be read. */
    bool ofTheList = false;
};

const SettingBinding &binding(settings::Setting id);

} // namespace core
