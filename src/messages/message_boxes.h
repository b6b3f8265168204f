#pragma once
// The message service of both programs: every message goes to NeatMessage while the message
// hook is in place, and to the toolkit's own box when it is not, or while a NeatMessage is open
// (so that a message raised meanwhile never waits on the box that raised it). The stop and halt
// procedures show their boxes the same way and may end the program.
//
// At start the program reads the switches (readHookSwitches), installs the service with
// setMessageService and, when its main window has closed, writes switches() back.
#include "data/message_service.h"
#include "data/settings_keys.h"
#include "messages/hook_switches.h"
#include "messages/message_files.h"
#include "messages/message_layout.h"

#include <functional>
#include <string>
#include <string_view>

namespace saldora::message_box {

inline constexpr std::string_view stopCaption = "Parar";
inline constexpr std::string_view stopQuestion = "Sair?";
inline constexpr std::string_view haltCaption = "Suspender";
inline constexpr std::string_view recordingFailed =
    "Erro durante o ADD() ao arquivo de Mensagens: ";

class MessageBoxes final : public MessageService {
  public:
    struct Setup {
        const MessageVariant* variant = &saldoraVariant;
        HookSwitches hooks;
        // Where the shown messages are recorded; by default the current folder.
        MessageFilePaths files;
        // The box's stored position and the screen font.
        std::string kveltFile = std::string(settings::kvelt::file);
        // Ends the process at once; std::exit when empty. Tests throw from it instead.
        std::function<void(int exitCode)> endProgram;
    };

    explicit MessageBoxes(Setup setup);

    int show(const Message& message) override;
    // "Parar": "A&borta" ends the program with exit code 0, "&Ignora" returns.
    void stop(const std::string& message, bool exitQuestion) override;
    // "Suspender" with the message, when there is one; then the program ends with the code.
    [[noreturn]] void halt(int exitCode, const std::string& message) override;

    // The message files follow the data folder, which may change during the run.
    void setMessageFiles(MessageFilePaths files) { setup_.files = std::move(files); }
    // The switches as read, to be written back when the program ends.
    const HookSwitches& switches() const { return setup_.hooks; }

  private:
    int neatMessage(const Message& message);
    int runtimeBox(const Message& message);
    int showAs(bool hooked, const Message& message);
    [[noreturn]] void endProgram(int exitCode);

    Setup setup_;
    bool boxOpen_ = false;
    bool haltHooked_;
};

} // namespace saldora::message_box
