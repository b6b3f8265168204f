// Sessions: who is connected on which station, their signs of life, and the login change.
#include "security_fixture.h"

using namespace saldora;
using namespace saldora::security;
using saldora::testing::SecurityTest;

namespace {

std::vector<std::string> listed(Security& s) {
    std::vector<std::string> out;
    auto list = s.connections();
    EXPECT_TRUE(list.ok());
    if (list)
        for (const Connection& c : *list)
            out.push_back(c.login + "@" + c.station + ":" + std::to_string(c.process));
    return out;
}

} // namespace

TEST_F(SecurityTest, SessionsThatStopGivingSignsOfLifeAreNoLongerListed) {
    Handle zuk = 0;
    auto a = withFirstUser(zuk); // ESTACAO1:100
    ASSERT_TRUE(a->addUser(zuk, "ANA", "Ana", false).ok());
    auto b = make("ESTACAO2", 200);
    ASSERT_TRUE(b->login("ANA", "ANA").ok());
    EXPECT_EQ(listed(*a), (std::vector<std::string>{"ANA@ESTACAO2:200", "ZUK@ESTACAO1:100"}));

    clock += 100;
    ASSERT_TRUE(a->refresh().ok());
    clock += 30; // b silent for 130 s, a for 30 s
    EXPECT_EQ(listed(*b), (std::vector<std::string>{"ZUK@ESTACAO1:100"}));

    // A station that was only slow comes back with its next sign of life, even after another
    // station's login dropped its stale session from the file.
    auto c = make("ESTACAO3", 300);
    ASSERT_TRUE(c->login("ANA", "ANA").ok());
    ASSERT_TRUE(b->refresh().ok());
    EXPECT_EQ(listed(*a), (std::vector<std::string>{"ANA@ESTACAO2:200", "ANA@ESTACAO3:300",
                                                    "ZUK@ESTACAO1:100"}));

    c->logout(*c->login("ANA", "ANA")); // a second login replaced the first; its logout ends it
    b->closeTables();                   // the end of the program ends its session too
    EXPECT_EQ(listed(*a), (std::vector<std::string>{"ZUK@ESTACAO1:100"}));
}

TEST_F(SecurityTest, ALoginChangeKeepsTheHandleAndAFailedOneKeepsTheUser) {
    Handle zuk = 0;
    auto s = withFirstUser(zuk);
    ASSERT_TRUE(s->addUser(zuk, "ANA", "Ana Lima", false).ok());

    Status refused = s->changeLogin(zuk, "ANA", "errada");
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().code, errc::Refused);
    EXPECT_EQ(s->currentUser(zuk)->login, "ZUK");

    ASSERT_TRUE(s->changeLogin(zuk, "ana", "ANA").ok());
    EXPECT_TRUE(s->isLoggedIn(zuk));
    EXPECT_EQ(s->currentUser(zuk)->name, "Ana Lima");
    EXPECT_EQ(*s->allowed(zuk, "Main"), 0u);
    EXPECT_EQ(listed(*s), (std::vector<std::string>{"ANA@ESTACAO1:100"}));

    Status stale = s->changeLogin(Handle{777}, "ZUK", "ZUK");
    ASSERT_FALSE(stale.ok());
    EXPECT_EQ(stale.error().code, errc::NotLoggedIn);
}
