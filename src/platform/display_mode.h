#pragma once
// The display mode: its size, and a switch to another size through the X server's own tool
// (xrandr) where there is one. Where nothing can be queried or switched, nothing happens.
#include <optional>

namespace saldora::platform {

struct DisplaySize {
    int width = 0, height = 0;
    bool operator==(const DisplaySize&) const = default;
};

// The primary screen's size in pixels, when it can be queried.
std::optional<DisplaySize> displaySize();

enum class SwitchResult { Switched, NeedsRestart, Failed };
SwitchResult switchDisplay(DisplaySize size);

} // namespace saldora::platform
