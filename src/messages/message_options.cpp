#include "messages/message_options.h"

namespace saldora::message_box {
namespace {
MessageOptions gProgram;
MessageOptions* gCurrent = nullptr;
} // namespace

MessageOptions& programMessageOptions() {
    return gProgram;
}
MessageOptions& currentMessageOptions() {
    return gCurrent ? *gCurrent : gProgram;
}
void setCurrentMessageOptions(MessageOptions* options) {
    gCurrent = options;
}

} // namespace saldora::message_box
