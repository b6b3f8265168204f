#pragma once
// A window's state in KVELT.INI, in the section named after the window: "Maximize" and
// "Minimize" ("Yes"/"No"), "XPos" and "YPos" while the window is neither maximised nor minimised
// (blank otherwise), "Width" and "Height" likewise and only for a window the user can resize.
#include <string>
#include <string_view>

class QWidget;

namespace saldora::ui {

struct WindowState {
    bool maximized = false, minimized = false;
    bool hasPosition = false, hasSize = false;
    int x = 0, y = 0, width = 0, height = 0;
};

WindowState readWindowState(std::string_view section);
void writeWindowState(std::string_view section, const WindowState& state, bool resizable);

// The state of a window as it stands, and a window put into a stored state. Positions are those
// of the window within its parent (the frame's workspace) or on the desktop.
WindowState stateOf(const QWidget* window);
void applyState(QWidget* window, const WindowState& state, bool resizable);

} // namespace saldora::ui
