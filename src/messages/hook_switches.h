#pragma once
// Whether the program's own message, stop and halt boxes replace the runtime's, from
// preferences.ini in the current folder: 1 puts the program's box in place; any other value
// leaves the runtime's own. Read at start (a missing file or key reads 1) and written back,
// as read, when the program ends, which creates the file when it was missing.
#include "data/result.h"
#include "data/settings_keys.h"

#include <string_view>

namespace saldora::message_box {

struct HookSwitches {
    long message = 1;
    long stop = 1;
    long halt = 1;
};

HookSwitches readHookSwitches(std::string_view file = settings::hooks::file);
Status writeHookSwitches(const HookSwitches& switches,
                         std::string_view file = settings::hooks::file);

} // namespace saldora::message_box
