#include "messages/hook_switches.h"

#include "data/ini.h"

#include <string>

namespace saldora::message_box {

HookSwitches readHookSwitches(std::string_view file) {
    namespace k = settings::hooks;
    return {ini::readNumber(file, k::messageHook), ini::readNumber(file, k::stopHook),
            ini::readNumber(file, k::haltHook)};
}

Status writeHookSwitches(const HookSwitches& s, std::string_view file) {
    namespace k = settings::hooks;
    for (auto [setting, value] : {std::pair{k::messageHook, s.message},
                                  std::pair{k::stopHook, s.stop}, std::pair{k::haltHook, s.halt}})
        if (Status st = ini::write(file, setting, std::to_string(value)); !st) return st;
    return {};
}

} // namespace saldora::message_box
