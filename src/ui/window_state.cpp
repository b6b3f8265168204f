#include "ui/window_state.h"

#include "data/ini.h"
#include "data/settings_keys.h"

#include <QWidget>

#include <cstdlib>

namespace saldora::ui {
namespace ws = settings::window_state;

namespace {
bool readInt(std::string_view section, std::string_view key, int& out) {
    std::string v = ini::read(settings::kvelt::file, section, key, "");
    if (v.empty()) return false;
    char* end = nullptr;
    long n = std::strtol(v.c_str(), &end, 10);
    if (end == v.c_str()) return false;
    out = static_cast<int>(n);
    return true;
}
} // namespace

WindowState readWindowState(std::string_view section) {
    const auto& file = settings::kvelt::file;
    WindowState s;
    s.maximized = ini::read(file, section, ws::maximize, ws::no) == ws::yes;
    s.minimized = ini::read(file, section, ws::minimize, ws::no) == ws::yes;
    s.hasPosition = readInt(section, ws::xPos, s.x) && readInt(section, ws::yPos, s.y);
    s.hasSize = readInt(section, ws::width, s.width) && readInt(section, ws::height, s.height) &&
                s.width > 0 && s.height > 0;
    return s;
}

void writeWindowState(std::string_view section, const WindowState& s, bool resizable) {
    const auto& file = settings::kvelt::file;
    const bool normal = !s.maximized && !s.minimized;
    auto number = [&](bool show, int v) { return show ? std::to_string(v) : std::string(); };
    // One writing of the file for the whole state: every window writes it as it closes.
    (void)ini::write(file, section,
                     {{ws::maximize, std::string(s.maximized ? ws::yes : ws::no)},
                      {ws::minimize, std::string(s.minimized ? ws::yes : ws::no)},
                      {ws::xPos, number(normal, s.x)},
                      {ws::yPos, number(normal, s.y)},
                      {ws::width, number(normal && resizable, s.width)},
                      {ws::height, number(normal && resizable, s.height)}});
}

WindowState stateOf(const QWidget* w) {
    WindowState s;
    s.maximized = w->isMaximized();
    s.minimized = w->isMinimized();
    QRect g = w->isWindow() ? w->normalGeometry() : w->geometry();
    if (!g.isValid()) g = w->geometry();
    s.hasPosition = s.hasSize = true;
    QPoint pos = w->pos(); // of the frame, as the user sees it
    s.x = pos.x();
    s.y = pos.y();
    s.width = g.width();
    s.height = g.height();
    return s;
}

void applyState(QWidget* w, const WindowState& s, bool resizable) {
    if (resizable && s.hasSize) w->resize(s.width, s.height);
    if (s.hasPosition) w->move(s.x, s.y);
    if (s.maximized) w->showMaximized();
    else if (s.minimized) w->showMinimized();
}

} // namespace saldora::ui
