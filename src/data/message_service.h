#pragma once
// Every message, question and warning of the program goes through one message service. The lower
// layers know only this interface; the messages layer installs the program's own box, and tests
// install a scripted answerer that records what was shown and answers as told.
#include <string>

namespace saldora {

// The runtime's standard button flags; a message box answers with the flag of the button pressed.
namespace button {
constexpr int Ok = 1;
constexpr int Yes = 2;
constexpr int No = 4;
constexpr int Abort = 8;
constexpr int Retry = 16;
constexpr int Ignore = 32;
constexpr int Cancel = 64;
constexpr int Help = 128;
} // namespace button

enum class Icon { None, Hand, Question, Exclamation, Asterisk };

struct Message {
    std::string text;    // UTF-8; "|" starts a new line
    std::string caption; // blank means the default caption
    Icon icon = Icon::None;
    // Either a number made of button flags ("3"), or a text: the plain-OK word, the self-closing
    // word with its seconds, or "|"-separated button texts. Empty means one OK button.
    std::string buttons;
    int defaultButton = 0;

    static Message withButtons(std::string text, std::string caption, Icon icon, int flags,
                               int defaultButton = 0) {
        return Message{std::move(text), std::move(caption), icon, std::to_string(flags),
                       defaultButton};
    }
};

// Thrown by the halt procedure when a test installs a service that must not end the process.
struct ProgramHalted {
    int exitCode;
    std::string message;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows the box and returns the answer (the button's flag, or its position for text buttons,
    // or 0 when closed without an answer).
    virtual int show(const Message& message) = 0;
    // The stop box: "A&borta" ends the program, anything else returns.
    virtual void stop(const std::string& message, bool exitQuestion) = 0;
    // The halt box: shows the message (when not empty) and ends the program with the exit code.
    [[noreturn]] virtual void halt(int exitCode, const std::string& message) = 0;
};

// The service in force. Until one is installed, messages go to standard error and are answered
// with their default button.
MessageService& messages();
void setMessageService(MessageService* service); // nullptr restores the fallback

} // namespace saldora
