#pragma once
// The life of the saldora process: what it prepares before any window opens, the choice of the
// data folder, the main frame (with the login), the restart on another data folder while Shift
// is held as the frame ends, and what it writes back at the end.
#include <functional>
#include <string>

namespace saldora {
class MessageService;
}

namespace saldora::app {

struct StartupOptions {
    std::string programPath; // argv[0]
    // Ends the process; the event loop's quit by default. Tests observe it.
    std::function<void(int exitCode)> end;
    // The message service to install; the program's own boxes when empty. Tests give theirs.
    MessageService* messages = nullptr;
    // Whether Shift is held as the frame ends; the keyboard's state by default.
    std::function<bool()> shiftHeld;
};

// Runs the start-up steps; the program then lives in the event loop until `end` is called.
void startProgram(StartupOptions options);

} // namespace saldora::app
