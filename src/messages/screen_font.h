#pragma once
// The screen font: one font the user may choose for every window of the bookkeeping program,
// kept in KVELT.INI and read once per run. It lives with the message box because the box is
// the first window to need it; the screens apply it the same way.
#include "data/settings_keys.h"

#include <QColor>
#include <QFont>

#include <string>
#include <string_view>

class QWidget;

namespace saldora::message_box {

struct ScreenFont {
    // The empty name and -1 leave each window its own.
    std::string name;
    long size = -1;
    long color = -1; // BGR
    long style = -1; // weight and style bits
    long charset = -1;
    long disable = 0; // 1: windows keep their own fonts
    bool loaded = false;
};

ScreenFont& screenFont(); // the program-wide settings

// Reads the settings from the file the first time, each key defaulting to the value held.
void loadScreenFont(ScreenFont& font, std::string_view file = settings::kvelt::file);

// Gives the window (and so its controls) the font, unless the feature is switched off. The
// character set has no counterpart in Qt's fonts, which cover every script.
void applyScreenFont(QWidget& window, const ScreenFont& font);

// A font with the weight (low twelve bits, when not 0) and the italic 0x1000, underline 0x2000
// and strike-out 0x4000 bits of a style value.
QFont styledFont(QFont font, long style);

QColor colorFromBgr(long bgr);

} // namespace saldora::message_box
