// What the files hold: encrypted pages, passwords only as Argon2id hashes; and what two
// stations on one data folder see of each other.
#include "security_fixture.h"

#include "security/security_files.h"
#include "support/child_process.h"

#include <sodium.h>

#include <fstream>
#include <sstream>

using namespace saldora;
using namespace saldora::security;
using saldora::testing::ChildProcess;
using saldora::testing::SecurityTest;

namespace {

const std::string kWorker = std::string(SALDORA_BINARY_DIR) + "/tests/security_worker";

std::string bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST_F(SecurityTest, TheFilesHoldNoPasswordOnlyArgon2idHashes) {
    Handle zuk = 0;
    auto s = withFirstUser(zuk);
    ASSERT_TRUE(s->addUser(zuk, "MARIALUISA", "Maria Luísa", false).ok());
    auto station = make("ESTACAO2", 200);
    Handle m = *station->login("MARIALUISA", "MARIALUISA");
    ASSERT_EQ(station->changePassword(m, "MARIALUISA", "PalavraChave", "PalavraChave"),
              PasswordChange::Changed);
    s->closeTables();
    station->closeTables();

    const std::string file = bytes(dir.file("SEGURANCA.sld"));
    ASSERT_FALSE(file.empty());
    for (const char* plain : {"SQLite format 3", "PalavraChave", "MARIALUISA", "argon2id"})
        EXPECT_EQ(file.find(plain), std::string::npos) << plain;
    EXPECT_EQ(bytes(dir.file("SEGSESSAO.sld")).find("SQLite format 3"), std::string::npos);

    auto db = store::Database::open(dir.file("SEGURANCA.sld"), files::layouts::seguranca());
    ASSERT_TRUE(db.ok());
    const store::Table& t = files::SegUsuario::table();
    store::Cursor cursor(**db, t, *t.key("SEGU:KEY_LOGIN"));
    cursor.seekFirst();
    auto page = cursor.page(10);
    ASSERT_TRUE(page.ok());
    ASSERT_EQ(page->size(), 2u);
    std::map<std::string, std::string> password{{"MARIALUISA", "PalavraChave"}, {"ZUK", "ZUK"}};
    for (const store::Record& r : *page) {
        auto u = fromRecord<files::SegUsuario>(r);
        SCOPED_TRACE(u.login);
        EXPECT_EQ(u.senha.rfind("$argon2id$", 0), 0u);
        const std::string& pw = password[u.login];
        EXPECT_EQ(crypto_pwhash_str_verify(u.senha.c_str(), pw.c_str(), pw.size()), 0);
        EXPECT_NE(crypto_pwhash_str_verify(u.senha.c_str(), "zuk", 3), 0);
    }
}

TEST_F(SecurityTest, HashesMadeWithOtherLimitsAreRenewedAtLogin) {
    Handle zuk = 0;
    auto s = withFirstUser(zuk); // made with the least limits
    Security::Options program = options();
    program.limits = HashLimits{2, 1u << 20};
    Security station(program);
    station.setDataFolder(dir.path());
    ASSERT_TRUE(station.login("ZUK", "ZUK").ok());
    station.closeTables();
    PasswordHasher least(HashLimits::minimum()), renewed(program.limits);

    auto db = store::Database::open(dir.file("SEGURANCA.sld"), files::layouts::seguranca());
    ASSERT_TRUE(db.ok());
    auto r = (*db)->get(files::SegUsuario::table(), 1);
    ASSERT_TRUE(r.ok());
    const std::string hash = fromRecord<files::SegUsuario>(*r).senha;
    EXPECT_TRUE(least.needsRehash(hash));
    EXPECT_FALSE(renewed.needsRehash(hash));
    EXPECT_TRUE(s->login("ZUK", "ZUK").ok());
}

TEST_F(SecurityTest, TwoConnectionsOnOneFolderSeeEachOthersUsers) {
    Handle zuk = 0;
    auto a = withFirstUser(zuk);
    auto b = make("ESTACAO2", 200);
    Handle other = *b->login("ZUK", "ZUK"); // b's files are open before a adds the user
    ASSERT_TRUE(a->addUser(zuk, "ANA", "Ana", false).ok());

    auto users = b->users(other);
    ASSERT_TRUE(users.ok());
    ASSERT_EQ(users->size(), 2u);
    EXPECT_EQ((*users)[0].login, "ANA");
    EXPECT_TRUE(b->login("ANA", "ANA").ok());
}

TEST_F(SecurityTest, AnotherProcessAddsAUserAndShowsItsSession) {
    // The worker runs on the real clock; so does this station here, until it moves it on.
    clock =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    Handle zuk = 0;
    auto s = withFirstUser(zuk);

    auto [code, out] = ChildProcess::run({kWorker, "add-user", dir.path(), "ZUK", "ZUK", "BETO"});
    ASSERT_EQ(code, 0) << out;
    auto users = s->users(zuk);
    ASSERT_TRUE(users.ok());
    ASSERT_EQ(users->size(), 2u);
    EXPECT_EQ((*users)[0].login, "BETO");
    EXPECT_FALSE((*users)[0].administrator);

    ChildProcess stay({kWorker, "stay", dir.path(), "BETO", "BETO"});
    std::string line;
    ASSERT_TRUE(stay.readLine(line)) << "the worker did not log in";
    const std::string pid = line.substr(line.find(' ') + 1);
    auto list = s->connections();
    ASSERT_TRUE(list.ok());
    ASSERT_EQ(list->size(), 2u);
    EXPECT_EQ((*list)[0].login, "BETO");
    EXPECT_EQ(std::to_string((*list)[0].process), pid);

    // Killed, it gives no more signs of life and drops out of the list once it is stale.
    stay.kill(SIGKILL);
    stay.wait();
    EXPECT_EQ(s->connections()->size(), 2u);
    clock += s->options().staleSeconds + 10;
    ASSERT_TRUE(s->refresh().ok());
    list = s->connections();
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ((*list)[0].login, "ZUK");
}
