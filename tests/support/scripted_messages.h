#pragma once
// A message service for tests: records every message and answers from a script (or with the
// default button when the script runs out). The halt procedure throws ProgramHalted.
#include "data/message_service.h"

#include <deque>
#include <vector>

namespace saldora::testing {

class ScriptedMessages final : public MessageService {
public:
    ScriptedMessages() { setMessageService(this); }
    ~ScriptedMessages() override { setMessageService(nullptr); }

    void answer(int value) { script_.push_back(value); }

    int show(const Message& m) override {
        shown.push_back(m);
        if (script_.empty()) return m.defaultButton != 0 ? m.defaultButton : button::Ok;
        int a = script_.front();
        script_.pop_front();
        return a;
    }
    void stop(const std::string& message, bool exitQuestion) override {
        stops.push_back(exitQuestion ? "Sair?" : message);
    }
    [[noreturn]] void halt(int exitCode, const std::string& message) override {
        throw ProgramHalted{exitCode, message};
    }

    std::vector<Message> shown;
    std::vector<std::string> stops;

private:
    std::deque<int> script_;
};

} // namespace saldora::testing
