// The access control without windows: first user, logins, rights, upkeep, password changes.
#include "security_fixture.h"

#include <chrono>
#include <functional>

using namespace saldora;
using namespace saldora::security;
using saldora::testing::SecurityTest;

TEST_F(SecurityTest, WithoutADataFolderNothingIsReadOrCreated) {
    Security s(options());
    auto count = s.countUsers();
    ASSERT_FALSE(count.ok());
    EXPECT_EQ(count.error().code, errc::NoDataFolder);
    EXPECT_FALSE(s.login("ZUK", "ZUK").ok());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(SecurityTest, TheFirstUserIsCreatedOnceAndIsAnAdministrator) {
    auto s = make();
    EXPECT_EQ(*s->countUsers(), 0);
    ASSERT_TRUE(s->insertFirstUser("ZUK", "Vexa", "ZUK").ok());
    Status again = s->insertFirstUser("OUTRO", "Outro", "OUTRO");
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(again.error().code, errc::UsersExist);
    EXPECT_EQ(*s->countUsers(), 1);

    Handle h = *s->login("ZUK", "ZUK");
    auto user = s->currentUser(h);
    ASSERT_TRUE(user.ok());
    EXPECT_EQ(user->name, "Vexa");
    EXPECT_TRUE(user->administrator);
    EXPECT_EQ(*s->allowed(h, "Main"), kEveryRight);
    EXPECT_EQ(*s->allowed(h, "Uma área qualquer"), kEveryRight);
}

TEST_F(SecurityTest, LoginsIgnoreCaseAndTrailingBlanksPasswordsOnlyTrailingBlanks) {
    Handle zuk = 0;
    auto s = withFirstUser(zuk);
    ASSERT_TRUE(s->addUser(zuk, "Ana", "Ana Lima", false).ok());
    struct Case {
        const char* login;
        const char* password;
        const char* user; // empty: refused
    } cases[] = {
        {"ZUK", "ZUK", "ZUK"},  {"zuk", "ZUK", "ZUK"}, {"ZUK         ", "ZUK   ", "ZUK"},
        {"ANA", "Ana", "Ana"},  {"ZUK", "zuk", ""},    {"ZUK", "ZU", ""},
        {"ZUK", " ZUK", ""},    {"ZUK", "", ""},       {"ANA", "ANA", ""},
        {"NINGUEM", "ZUK", ""}, {"", "", ""},          {"ZUKA", "ZUK", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.login) + " / " + c.password);
        auto h = s->login(c.login, c.password);
        if (*c.user) {
            ASSERT_TRUE(h.ok());
            EXPECT_EQ(s->currentUser(*h)->login, c.user);
        } else {
            ASSERT_FALSE(h.ok());
            // Unknown login or wrong password: the same refusal.
            EXPECT_EQ(h.error().code, errc::Refused);
            EXPECT_EQ(h.error().text, "Login ou senha inválidos.");
        }
    }
}

TEST_F(SecurityTest, RefusingAnUnknownLoginCostsAHashLikeAWrongPassword) {
    Security::Options slow = options();
    slow.limits = HashLimits{3, 16u << 20}; // enough work to measure
    Security s(slow);
    s.setDataFolder(dir.path());
    ASSERT_TRUE(s.insertFirstUser("ZUK", "Vexa", "ZUK").ok());
    // The work a refusal costs, measured as this thread's processor time: what other processes
    // do on the machine does not count in it.
    auto cpu = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
    };
    auto seconds = [&](const char* login) {
        double start = cpu();
        EXPECT_FALSE(s.login(login, "errada").ok());
        return cpu() - start;
    };
    // The quickest of several tries each, taken in turns.
    double wrongPassword = 1e9, unknownLogin = 1e9;
    for (int i = 0; i < 5; ++i) {
        wrongPassword = std::min(wrongPassword, seconds("ZUK"));
        unknownLogin = std::min(unknownLogin, seconds("NINGUEM"));
    }
    EXPECT_GT(unknownLogin, wrongPassword * 0.25);
}

TEST_F(SecurityTest, RightsAreOffUntilGrantedAndChangesApplyToWhatIsStored) {
    Handle zuk = 0;
    auto s = withFirstUser(zuk);
    ASSERT_TRUE(s->addUser(zuk, "ANA", "Ana Lima", false).ok());
    auto other = make("ESTACAO2", 200);
    Handle ana = *other->login("ANA", "ANA");
    const int32_t anaId = other->currentUser(ana)->id;
    EXPECT_EQ(*other->allowed(ana, "Main"), 0u);

    struct Step {
        uint32_t grant, revoke, expected;
    } steps[] = {{1, 0, 1}, {4, 0, 5}, {0, 1, 4}, {0x80000000u, 4, 0x80000000u}, {0, ~0u, 0}};
    for (const Step& step : steps) {
        ASSERT_TRUE(s->changeRights(zuk, "Main", {{anaId, step.grant, step.revoke}}).ok());
        // Read by the other station, and regardless of the area's letter case.
        EXPECT_EQ(*other->allowed(ana, "Main"), step.expected);
        EXPECT_EQ(*other->allowed(ana, "MAIN"), step.expected);
    }
    ASSERT_TRUE(s->changeRights(zuk, "Acesso_rapido", {{anaId, 1, 0}}).ok());
    EXPECT_EQ(*other->allowed(ana, "Acesso_rapido"), 1u);
    EXPECT_EQ(*other->allowed(ana, "Main"), 0u);
    EXPECT_EQ((*s->rights(zuk, "Acesso_rapido"))[anaId], 1u);
}

TEST_F(SecurityTest, TheSuperUserAndAdministratorsHoldEveryRight) {
    Handle zuk = 0;
    auto s = withFirstUser(zuk);
    ASSERT_TRUE(s->addUser(zuk, "ANA", "Ana", false).ok());
    auto beto = s->addUser(zuk, "BETO", "Beto", false);
    ASSERT_TRUE(beto.ok());
    auto other = make("ESTACAO2", 200);
    Handle ana = *other->login("ANA", "ANA");
    EXPECT_EQ(*other->allowed(ana, "Main"), 0u);
    EXPECT_FALSE(*other->isAdministrator(ana));

    other->setSuperUser("ana");
    EXPECT_EQ(*other->allowed(ana, "Main"), kEveryRight);
    EXPECT_TRUE(*other->isAdministrator(ana));
    EXPECT_TRUE(other->users(ana).ok());
    other->setSuperUser("");
    EXPECT_EQ(*other->allowed(ana, "Main"), 0u);

    ASSERT_TRUE(s->changeUser(zuk, other->currentUser(ana)->id, "Ana", true).ok());
    EXPECT_EQ(*other->allowed(ana, "Main"), kEveryRight);
    // Only this run's super user: another station's setting does not carry over.
    s->setSuperUser("BETO");
    Handle b = *other->login("BETO", "BETO");
    EXPECT_EQ(*other->allowed(b, "Main"), 0u);
}

TEST_F(SecurityTest, HandlesOfEndedSessionsNameNobody) {
    Handle zuk = 0;
    auto s = withFirstUser(zuk);
    Handle second = *s->login("ZUK", "ZUK");
    EXPECT_NE(second, zuk);
    for (Handle stale : {zuk, Handle{0}, Handle{12345}}) {
        EXPECT_FALSE(s->isLoggedIn(stale));
        EXPECT_EQ(*s->allowed(stale, "Main"), 0u);
        EXPECT_FALSE(*s->isAdministrator(stale));
        EXPECT_EQ(s->changePassword(stale, "ZUK", "NOVA", "NOVA"), PasswordChange::NotLoggedIn);
        EXPECT_FALSE(s->users(stale).ok());
    }
    s->logout(second);
    EXPECT_EQ(*s->allowed(second, "Main"), 0u);
}

TEST_F(SecurityTest, UpkeepIsForAdministratorsOnly) {
    Handle zuk = 0;
    auto s = withFirstUser(zuk);
    auto ana = s->addUser(zuk, "ANA", "Ana", false);
    ASSERT_TRUE(ana.ok());
    const int32_t zukId = s->currentUser(zuk)->id;
    auto other = make("ESTACAO2", 200);
    Handle h = *other->login("ANA", "ANA");

    std::vector<std::pair<const char*, std::function<Status()>>> operations{
        {"users",
         [&] {
             auto r = other->users(h);
             return r ? Status() : Status(r.error());
         }},
        {"addUser",
         [&] {
             auto r = other->addUser(h, "NOVO", "x", true);
             return r ? Status() : Status(r.error());
         }},
        {"changeUser", [&] { return other->changeUser(h, ana->id, "Ana", true); }},
        {"resetPassword", [&] { return other->resetPassword(h, zukId); }},
        {"deleteUser", [&] { return other->deleteUser(h, zukId); }},
        {"rights",
         [&] {
             auto r = other->rights(h, "Main");
             return r ? Status() : Status(r.error());
         }},
        {"changeRights",
         [&] {
             return other->changeRights(h, "Main", {{ana->id, 1, 0}});
         }},
    };
    for (auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        Status st = operation();
        ASSERT_FALSE(st.ok());
        EXPECT_EQ(st.error().code, errc::AdministratorsOnly);
    }
    EXPECT_EQ(*s->countUsers(), 2);
    EXPECT_FALSE(*other->isAdministrator(h));
    EXPECT_EQ(*other->allowed(h, "Main"), 0u);
    EXPECT_TRUE(s->login("ZUK", "ZUK").ok()); // password untouched
}

TEST_F(SecurityTest, AddingChecksTheLoginAndGivesTheLoginAsPassword) {
    Handle zuk = 0;
    auto s = withFirstUser(zuk);
    struct Case {
        std::string login, name;
        int error; // 0: added
    } cases[] = {
        {"Maria", "Maria Luísa Gonçalves", 0},
        {"maria", "Outra Maria", errc::DuplicateLogin},
        {"ZUK", "", errc::DuplicateLogin},
        {"", "Sem login", errc::InvalidText},
        {"   ", "Sem login", errc::InvalidText},
        {"ABCDEFGHIJKLM", "Login de 13", errc::InvalidText},
        {"ABCDEFGHIJKL", "Login de 12", 0},
        {"Łukasz", "Fora do cp1252", errc::InvalidText},
        {"NOME41", std::string(41, 'x'), errc::InvalidText},
        {"NOME40", std::string(40, 'x'), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.login);
        auto added = s->addUser(zuk, c.login, c.name, false);
        if (c.error == 0) {
            ASSERT_TRUE(added.ok()) << added.error().text;
            EXPECT_FALSE(added->administrator);
            Security station(options("ESTACAO2", 200));
            station.setDataFolder(dir.path());
            auto h = station.login(c.login, c.login);
            ASSERT_TRUE(h.ok());
            EXPECT_EQ(station.currentUser(*h)->name, c.name);
        } else {
            ASSERT_FALSE(added.ok());
            EXPECT_EQ(added.error().code, c.error) << added.error().text;
        }
    }
    std::vector<std::string> logins;
    auto users = s->users(zuk);
    ASSERT_TRUE(users.ok());
    for (const User& u : *users)
        logins.push_back(u.login);
    EXPECT_EQ(logins, (std::vector<std::string>{"ABCDEFGHIJKL", "Maria", "NOME40", "ZUK"}));
}

TEST_F(SecurityTest, DeletionKeepsYouAndTheLastAdministratorAndTakesTheRightsAlong) {
    Handle zuk = 0;
    auto s = withFirstUser(zuk);
    const int32_t zukId = s->currentUser(zuk)->id;
    auto ana = s->addUser(zuk, "ANA", "Ana", false);
    ASSERT_TRUE(ana.ok());
    ASSERT_TRUE(s->changeRights(zuk, "Main", {{ana->id, 7, 0}}).ok());

    Status self = s->deleteUser(zuk, zukId);
    ASSERT_FALSE(self.ok());
    EXPECT_EQ(self.error().code, errc::DeletingYourself);
    Status demote = s->changeUser(zuk, zukId, "Vexa", false);
    ASSERT_FALSE(demote.ok());
    EXPECT_EQ(demote.error().code, errc::LastAdministrator);

    // The super user, no administrator himself, may not take the last administrator away.
    auto station = make("ESTACAO2", 200);
    Handle a = *station->login("ANA", "ANA");
    station->setSuperUser("ANA");
    Status last = station->deleteUser(a, zukId);
    ASSERT_FALSE(last.ok());
    EXPECT_EQ(last.error().code, errc::LastAdministrator);

    // With a second administrator, either may go, and ANA's deletion takes her rights along.
    ASSERT_TRUE(s->addUser(zuk, "BETO", "Beto", true).ok());
    ASSERT_TRUE(s->deleteUser(zuk, ana->id).ok());
    EXPECT_EQ(*station->allowed(a, "Main"), 0u); // her session names nobody now
    EXPECT_EQ(station->currentUser(a).error().code, errc::NoSuchUser);
    auto again = s->addUser(zuk, "ANA", "Outra Ana", false);
    ASSERT_TRUE(again.ok());
    EXPECT_NE(again->id, ana->id);
    EXPECT_EQ(s->rights(zuk, "Main")->count(again->id), 0u);
    EXPECT_EQ(s->rights(zuk, "Main")->count(ana->id), 0u);
    Handle b = *station->login("BETO", "BETO");
    EXPECT_TRUE(station->deleteUser(b, zukId).ok());
    EXPECT_EQ(*s->countUsers(), 2);
}

TEST_F(SecurityTest, PasswordChangeResults) {
    using R = PasswordChange;
    struct Case {
        const char *current, *typed, *repeated;
        R result;
        const char* password; // the password afterwards
    } cases[] = {
        {"ZUK", "Nova", "Nova", R::Changed, "Nova"},
        {"Nova", "Outra", "Outra   ", R::Changed, "Outra"},
        {"outra", "Nova2", "Nova2", R::WrongCurrent, "Outra"},
        {"", "Nova2", "Nova2", R::WrongCurrent, "Outra"},
        {"Outra", "", "", R::EmptyNew, "Outra"},
        {"Outra", "    ", "    ", R::EmptyNew, "Outra"},
        {"Outra", "Nova2", "nova2", R::RepetitionDiffers, "Outra"},
        {"Outra", "Nova2", "", R::RepetitionDiffers, "Outra"},
        {"Outra", "Outra", "Outra", R::SameAsCurrent, "Outra"},
        {"Outra", "1234567890123", "1234567890123", R::TooLong, "Outra"},
        {"Outra", "123456789012", "123456789012", R::Changed, "123456789012"},
        {"123456789012", "çãéàü€ÇÃÉÀÜ", "çãéàü€ÇÃÉÀÜ", R::Changed, "çãéàü€ÇÃÉÀÜ"},
        {"çãéàü€ÇÃÉÀÜ", "senhał", "senhał", R::InvalidCharacter, "çãéàü€ÇÃÉÀÜ"},
    };
    Handle zuk = 0;
    auto s = withFirstUser(zuk);
    auto station = make("ESTACAO2", 200);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.current) + " -> " + c.typed);
        EXPECT_EQ(s->changePassword(zuk, c.current, c.typed, c.repeated), c.result);
        EXPECT_TRUE(station->login("ZUK", c.password).ok());
        EXPECT_FALSE(passwordChangeText(c.result).empty());
    }
}

TEST_F(SecurityTest, AResetGivesTheLoginBackAsPassword) {
    Handle zuk = 0;
    auto s = withFirstUser(zuk);
    auto ana = s->addUser(zuk, "ANA", "Ana", false);
    auto station = make("ESTACAO2", 200);
    Handle a = *station->login("ana", "ANA");
    ASSERT_EQ(station->changePassword(a, "ANA", "segredo", "segredo"), PasswordChange::Changed);
    EXPECT_FALSE(station->login("ANA", "ANA").ok());
    ASSERT_TRUE(s->resetPassword(zuk, ana->id).ok());
    EXPECT_TRUE(station->login("ANA", "ANA").ok());
    EXPECT_FALSE(station->login("ANA", "segredo").ok());
}

TEST_F(SecurityTest, AreasKeepTheirThirtyTwoNamedRights) {
    auto s = make();
    std::string main = "Access|Cadastros|Relatórios|Exclusão de lançamen";
    for (int i = 0; i < 28; ++i)
        main += "|";
    ASSERT_TRUE(s->registerArea("Main", main).ok());
    ASSERT_TRUE(s->registerArea("Acesso_rapido", "Access" + std::string(31, '|')).ok());
    ASSERT_TRUE(s->registerArea("MAIN", main).ok()); // the same area
    auto areas = s->areas();
    ASSERT_TRUE(areas.ok());
    ASSERT_EQ(areas->size(), 2u);
    EXPECT_EQ((*areas)[0].name, "Acesso_rapido");
    EXPECT_EQ((*areas)[1].name, "Main");
    std::vector<std::string> expected{"Access", "Cadastros", "Relatórios", "Exclusão de lançamen"};
    expected.resize(32);
    EXPECT_EQ((*areas)[1].rights, expected);
    EXPECT_EQ(s->area("main")->rights, expected);
    EXPECT_EQ(s->area("Nova")->rights, std::vector<std::string>(32));

    Status tooMany = s->registerArea("Demais", "Access" + std::string(32, '|'));
    ASSERT_FALSE(tooMany.ok());
    EXPECT_EQ(tooMany.error().code, errc::TooManyRights);
}
