#pragma once
// What the access control's tests share: a fresh data folder, the scripted message service, a
// clock the test moves, and components with the least hash limits so that the suite stays fast.
#include "security/security.h"
#include "support/scripted_messages.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace saldora::testing {

class SecurityTest : public ::testing::Test {
  protected:
    security::Security::Options options(const std::string& station = "ESTACAO1",
                                        int32_t process = 100) {
        security::Security::Options o;
        o.limits = security::HashLimits::minimum();
        o.clock = [this] { return clock; };
        o.station = station;
        o.process = process;
        return o;
    }

    std::unique_ptr<security::Security> make(const std::string& station = "ESTACAO1",
                                             int32_t process = 100) {
        auto s = std::make_unique<security::Security>(options(station, process));
        s->setDataFolder(dir.path());
        return s;
    }

    // A component with its first user, ZUK (an administrator), and the handle of his login.
    std::unique_ptr<security::Security> withFirstUser(security::Handle& zuk) {
        auto s = make();
        EXPECT_TRUE(s->insertFirstUser("ZUK", "Vexa", "ZUK").ok());
        auto h = s->login("ZUK", "ZUK");
        EXPECT_TRUE(h.ok());
        zuk = h.ok() ? *h : 0;
        return s;
    }

    double clock = 1700000000;
    TempFolder dir;
    ScriptedMessages box;
};

} // namespace saldora::testing
