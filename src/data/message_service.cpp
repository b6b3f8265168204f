#include "data/message_service.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace saldora {
namespace {

class ConsoleMessages final : public MessageService {
public:
    int show(const Message& m) override {
        std::fprintf(stderr, "%s: %s\n", m.caption.empty() ? "Mensagem" : m.caption.c_str(),
                     m.text.c_str());
        return m.defaultButton != 0 ? m.defaultButton : button::Ok;
    }
    void stop(const std::string& message, bool) override {
        std::fprintf(stderr, "Parar: %s\n", message.c_str());
    }
    [[noreturn]] void halt(int exitCode, const std::string& message) override {
        if (!message.empty()) std::fprintf(stderr, "Suspender: %s\n", message.c_str());
        std::exit(exitCode);
    }
};

ConsoleMessages gConsole;
std::atomic<MessageService*> gService{nullptr};

} // namespace

MessageService& messages() {
    MessageService* s = gService.load();
    return s ? *s : gConsole;
}

void setMessageService(MessageService* service) { gService.store(service); }

} // namespace saldora
