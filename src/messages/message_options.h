#pragma once
// One-shot presentation options of the next message box (MsgAlign, MsgFontStyle, MsgUseColor,
// MsgColor). A caller sets them just before a message; the box reads them and clears them when
// it closes, however it closes. Each screen owns its own set, so that one screen's options never
// reach another screen's box; the program-wide set serves code that runs outside any screen.
#include <string>

namespace saldora::message_box {

struct MessageOptions {
    std::string align;     // "C" centred, "R" right, "B" bold; anything else left
    long fontStyle = 0;    // weight and style bits of the text; 0 for the window's own
    bool useColor = false; // the window background takes `color`
    long color = 0;        // BGR

    void clear() { *this = MessageOptions{}; }
};

MessageOptions& programMessageOptions();

// The set the next box uses: the one of the screen in front, or the program-wide one. The screen
// framework points it at a screen's set while that screen is active (nullptr: program-wide).
MessageOptions& currentMessageOptions();
void setCurrentMessageOptions(MessageOptions* options);

} // namespace saldora::message_box
