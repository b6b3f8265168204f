#include "data/files.h"
#include "data/store.h"
#include "data/text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

#include <fstream>
#include <iterator>

using namespace saldora;
using namespace saldora::store;
using files::Cadmov1;
using saldora::testing::TempFolder;

namespace {

std::unique_ptr<Database> openNew(const std::string& path, const FileLayout& layout) {
    auto db = Database::open(path, layout, Database::Create::IfMissing);
    EXPECT_TRUE(db.ok()) << (db.ok() ? "" : db.error().text);
    return db.ok() ? std::move(*db) : nullptr;
}

Cadmov1 posting(std::string client, int32_t date, std::string account, int64_t credit = 0,
                std::string flag = "") {
    Cadmov1 m;
    m.codfil = std::move(client);
    m.dtalanc = date;
    m.codmov = std::move(account);
    m.vlrcr = Decimal::fromCents(credit);
    m.flagsaldo = std::move(flag);
    return m;
}

Cadmov1 add(Database& db, const Cadmov1& m) {
    Record r = *toRecord(m);
    Status s = db.add(r);
    EXPECT_TRUE(s.ok()) << (s.ok() ? "" : s.error().text);
    return fromRecord<Cadmov1>(r);
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Key values of the records a cursor reads in one direction, as "client/date/account#position".
std::vector<std::string> readAll(Cursor& c, Direction d, int limit = 100) {
    std::vector<std::string> out;
    for (int i = 0; i < limit; ++i) {
        auto r = d == Direction::Forward ? c.next() : c.previous();
        EXPECT_TRUE(r.ok());
        if (!r.ok() || !r->has_value()) break;
        Cadmov1 m = fromRecord<Cadmov1>(**r);
        out.push_back(m.codfil + "/" + std::to_string(m.dtalanc) + "/" + m.codmov + "#" +
                      std::to_string(m.position));
    }
    return out;
}

} // namespace

TEST(Layouts, RecordSizesMatchTheFileDescriptions) {
    struct Case { const FileLayout& layout; int table; int bytes; };
    const Case cases[] = {
        {files::layouts::cadfil1(), 0, 278},  {files::layouts::tabmov1(), 0, 29},
        {files::layouts::cadmov1(), 0, 61},   {files::layouts::usuario(), 0, 1845},
        {files::layouts::paths(), 0, 383},    {files::layouts::messages(), 0, 205},
        {files::layouts::mesContr(), 0, 17},  {files::layouts::helpFile(), 0, 306},
        {files::layouts::helpFile(), 1, 253},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.layout.tables[c.table].recordSize(), c.bytes) << c.layout.tables[c.table].name;
        EXPECT_EQ(validate(c.layout), "");
    }
    EXPECT_EQ(Cadmov1::members().size(), Cadmov1::table().fields.size());
    EXPECT_EQ(files::Usuario::members().size(), files::Usuario::table().fields.size());
    EXPECT_EQ(files::QuickHelpFile::members().size(), files::QuickHelpFile::table().fields.size());
}

TEST(Store, CreatesEncryptedFilesThatHoldNoPlaintext) {
    TempFolder dir;
    const std::string path = dir.file("CADFIL1.sld");
    {
        auto db = openNew(path, files::layouts::cadfil1());
        files::Cadfil1 c;
        c.codfil = "SEGREDO01";
        c.descricao = *cp1252::fromUtf8("Padaria Pão Quente Secreta");
        Record r = *toRecord(c);
        ASSERT_TRUE(db->add(r).ok());
    }
    std::string bytes = fileBytes(path);
    ASSERT_GT(bytes.size(), 0u);
    EXPECT_EQ(bytes.find("SQLite format"), std::string::npos);
    EXPECT_EQ(bytes.find("SEGREDO01"), std::string::npos);
    EXPECT_EQ(bytes.find("Quente"), std::string::npos);
    EXPECT_EQ(bytes.find("CODFIL"), std::string::npos); // the schema is encrypted too

    auto db = Database::open(path, files::layouts::cadfil1());
    ASSERT_TRUE(db.ok());
    EXPECT_EQ(*(*db)->count(files::Cadfil1::table()), 1);
}

TEST(Store, OpenRefusesMissingForeignAndWronglyKeyedFiles) {
    TempFolder dir;
    auto missing = Database::open(dir.file("NADA.sld"), files::layouts::cadmov1());
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, errc::NotFound);

    openNew(dir.file("CADMOV1.sld"), files::layouts::cadmov1());
    auto other = Database::open(dir.file("CADMOV1.sld"), files::layouts::tabmov1());
    ASSERT_FALSE(other.ok());
    EXPECT_EQ(other.error().code, errc::WrongLayout);

    // A file encrypted under another secret.
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(dir.file("ALHEIO.sld").c_str(), &raw), SQLITE_OK);
    sqlite3_exec(raw, "PRAGMA key = 'outro segredo'; CREATE TABLE t(x); INSERT INTO t VALUES (1);",
                 nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    auto foreign = Database::open(dir.file("ALHEIO.sld"), files::layouts::cadmov1());
    ASSERT_FALSE(foreign.ok());
    EXPECT_EQ(foreign.error().code, errc::InvalidDataFile);

    // A file that is not a database at all.
    std::ofstream(dir.file("LIXO.sld")) << std::string(5000, 'x');
    auto junk = Database::open(dir.file("LIXO.sld"), files::layouts::cadmov1());
    ASSERT_FALSE(junk.ok());
    EXPECT_EQ(junk.error().code, errc::InvalidDataFile);
}

TEST(Store, UniqueCaseInsensitiveAndBlankExcludedKeys) {
    TempFolder dir;
    auto db = openNew(dir.file("TABMOV1.sld"), files::layouts::tabmov1());
    auto account = [&](const std::string& code, const std::string& desc) {
        files::Tabmov1 t;
        t.codmov = code;
        t.descricao = *cp1252::fromUtf8(desc);
        Record r = *toRecord(t);
        return db->add(r);
    };
    ASSERT_TRUE(account("001", "Vendas").ok());
    Status dupCode = account("001", "Outra");
    ASSERT_FALSE(dupCode.ok());
    EXPECT_EQ(dupCode.error().code, errc::DuplicateKey);
    EXPECT_NE(dupCode.error().text.find("TAB1:KEY_TABMOV"), std::string::npos);

    Status dupDesc = account("002", "VENDAS");
    ASSERT_FALSE(dupDesc.ok());
    EXPECT_NE(dupDesc.error().text.find("TAB1:KEY_DESCRICAO"), std::string::npos);
    EXPECT_TRUE(account("003", "AÇÃO").ok());
    EXPECT_FALSE(account("004", "ação").ok());          // accents fold too

    // Blank codes are left out of the code key: two may exist, neither is found through it.
    ASSERT_TRUE(account("", "Sem código um").ok());
    ASSERT_TRUE(account("", "Sem código dois").ok());
    const Table& t = files::Tabmov1::table();
    Cursor byCode(*db, t, *t.key("TAB1:KEY_TABMOV"));
    byCode.seekFirst();
    std::vector<std::string> codes;
    while (auto r = byCode.next()) {
        if (!r->has_value()) break;
        codes.push_back((**r).text(0));
    }
    EXPECT_EQ(codes, (std::vector<std::string>{"001", "003"}));
    EXPECT_EQ(*db->count(t), 4);

    // Text is kept within its width and without trailing blanks.
    files::Tabmov1 wide;
    wide.codmov = "12345";
    wide.descricao = "Larga   ";
    Record r = *toRecord(wide);
    ASSERT_TRUE(db->add(r).ok());
    auto back = fromRecord<files::Tabmov1>(*db->get(t, r.position));
    EXPECT_EQ(back.codmov, "123");
    EXPECT_EQ(back.descricao, "Larga");
}

TEST(Store, CursorsReadBothWaysExactAboutDuplicates) {
    TempFolder dir;
    auto db = openNew(dir.file("CADMOV1.sld"), files::layouts::cadmov1());
    // Positions 1..7 in this order of addition.
    add(*db, posting("B", 10, "001"));      // 1
    add(*db, posting("A", 10, "001"));      // 2
    add(*db, posting("a", 10, "001"));      // 3: same key as 2 (case folded)
    add(*db, posting("A", 12, "002"));      // 4
    add(*db, posting("A", 10, "001"));      // 5: third duplicate
    add(*db, posting("A", 11, "999", 0, "S")); // 6
    add(*db, posting("C", 1, "001"));       // 7

    const Table& t = Cadmov1::table();
    Cursor c(*db, t, *t.key("MOV1:KEY_CADMOV"));
    c.seekFirst();
    EXPECT_EQ(readAll(c, Direction::Forward),
              (std::vector<std::string>{"A/10/001#2", "a/10/001#3", "A/10/001#5", "A/11/999#6",
                                        "A/12/002#4", "B/10/001#1", "C/1/001#7"}));
    c.seekLast();
    EXPECT_EQ(readAll(c, Direction::Backward, 3),
              (std::vector<std::string>{"C/1/001#7", "B/10/001#1", "A/12/002#4"}));

    // At or after (A, 11): next gives the first such record, previous the last one below.
    c.seekAtOrAfter({std::string("a"), int64_t{11}});
    EXPECT_EQ(readAll(c, Direction::Forward, 1), (std::vector<std::string>{"A/11/999#6"}));
    c.seekAtOrAfter({std::string("A"), int64_t{11}});
    EXPECT_EQ(readAll(c, Direction::Backward, 1), (std::vector<std::string>{"A/10/001#5"}));
    // At or before (A, 10, 001): previous reads the last of the three duplicates first.
    c.seekAtOrBefore({std::string("A"), int64_t{10}, std::string("001")});
    EXPECT_EQ(readAll(c, Direction::Backward),
              (std::vector<std::string>{"A/10/001#5", "a/10/001#3", "A/10/001#2"}));
    c.seekAtOrBefore({std::string("A"), int64_t{10}});
    EXPECT_EQ(readAll(c, Direction::Forward, 1), (std::vector<std::string>{"A/11/999#6"}));

    // Standing on a record: next and previous turn around on it.
    c.seekFirst();
    (void)c.next();
    (void)c.next(); // on #3
    EXPECT_EQ(readAll(c, Direction::Backward, 1), (std::vector<std::string>{"A/10/001#2"}));
    EXPECT_EQ(readAll(c, Direction::Forward, 2),
              (std::vector<std::string>{"a/10/001#3", "A/10/001#5"}));

    // Pages; a record added behind the cursor's batch is still met in key order.
    c.seekFirst();
    auto page = c.page(3);
    ASSERT_TRUE(page.ok());
    ASSERT_EQ(page->size(), 3u);
    add(*db, posting("A", 10, "005")); // sorts after #5, before (A,11)
    EXPECT_EQ(readAll(c, Direction::Forward, 2),
              (std::vector<std::string>{"A/10/005#8", "A/11/999#6"}));

    // The day-balance key: ordinary postings (blank flag) before all day-balance records.
    Cursor balances(*db, t, *t.key("MOV1:KEY_CADMOV_1"));
    balances.seekAtOrBefore({std::string("S"), std::string("A"), int64_t{10}, std::string("999")});
    EXPECT_EQ(readAll(balances, Direction::Backward, 1),
              (std::vector<std::string>{"C/1/001#7"})); // no balance of A before 11: an ordinary one
}

TEST(Store, BatchesDoNotLoseOrRepeatRecordsOverManyDuplicates) {
    TempFolder dir;
    auto db = openNew(dir.file("CADMOV1.sld"), files::layouts::cadmov1());
    ASSERT_TRUE(db->begin().ok());
    for (int i = 0; i < 300; ++i) add(*db, posting("X", 5, "001", i));
    ASSERT_TRUE(db->commit().ok());
    const Table& t = Cadmov1::table();
    Cursor c(*db, t, *t.key("MOV1:KEY_CADMOV"));
    c.seekFirst();
    auto forward = readAll(c, Direction::Forward, 1000);
    ASSERT_EQ(forward.size(), 300u);
    EXPECT_EQ(forward.front(), "X/5/001#1");
    EXPECT_EQ(forward.back(), "X/5/001#300");
    auto backward = readAll(c, Direction::Backward, 1000);
    ASSERT_EQ(backward.size(), 299u); // from the last one read, back to the first
    EXPECT_EQ(backward.back(), "X/5/001#1");
}

TEST(Store, CursorQueriesUseTheirIndexes) {
    TempFolder dir;
    auto db = openNew(dir.file("CADMOV1.sld"), files::layouts::cadmov1());
    add(*db, posting("A", 1, "001"));
    const Table& t = Cadmov1::table();
    for (const Key& k : t.keys) {
        Cursor c(*db, t, k);
        auto plans = c.explain();
        EXPECT_GE(plans.size(), 2 * (2 * (k.fields.size() + 1) + 1));
        for (const auto& line : plans) {
            EXPECT_EQ(line.find("TEMP B-TREE"), std::string::npos) << k.name << " " << line;
            EXPECT_NE(line.find("USING INDEX " + k.name), std::string::npos) << k.name << " " << line;
            if (line.rfind("0: ", 0) != 0)
                EXPECT_NE(line.find("SEARCH"), std::string::npos) << k.name << " " << line;
        }
    }
}

TEST(Store, ChangedByAnotherConnectionIsNotOverwritten) {
    TempFolder dir;
    const std::string path = dir.file("CADMOV1.sld");
    auto one = openNew(path, files::layouts::cadmov1());
    auto two = Database::open(path, files::layouts::cadmov1());
    ASSERT_TRUE(two.ok());
    Cadmov1 stored = add(*one, posting("A", 1, "001", 100));

    Record mine = *(*two)->get(Cadmov1::table(), stored.position);
    Record theirs = *one->get(Cadmov1::table(), stored.position);
    ASSERT_TRUE(theirs.set("MOV1:COMPLEMENTO", std::string("primeira")).ok());
    ASSERT_TRUE(one->put(theirs).ok());

    ASSERT_TRUE(mine.set("MOV1:COMPLEMENTO", std::string("segunda")).ok());
    Status s = (*two)->put(mine);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.error().code, errc::ChangedByAnotherStation);
    Record now = *(*two)->get(Cadmov1::table(), stored.position);
    EXPECT_EQ(now.text(3), "primeira");
    // With the stored version in hand, the write goes through.
    ASSERT_TRUE(now.set("MOV1:COMPLEMENTO", std::string("segunda")).ok());
    EXPECT_TRUE((*two)->put(now).ok());

    ASSERT_TRUE(one->remove(now).ok());
    Status gone = one->put(now);
    ASSERT_FALSE(gone.ok());
    EXPECT_EQ(gone.error().code, errc::RecordNotFound);
}

TEST(Store, DamagedKeysAreFoundAndRebuilt) {
    TempFolder dir;
    const std::string path = dir.file("CADMOV1.sld");
    {
        auto db = openNew(path, files::layouts::cadmov1());
        for (int i = 0; i < 50; ++i) add(*db, posting("A", i + 1, "001"));
        // Damage: one key goes missing, and another's contents stop matching the records.
        ASSERT_EQ(sqlite3_exec(db->handle(), "DROP INDEX \"MOV1:KEY_CADMOV_2\"", nullptr, nullptr,
                               nullptr),
                  SQLITE_OK);
    }
    auto damaged = Database::open(path, files::layouts::cadmov1());
    ASSERT_FALSE(damaged.ok());
    EXPECT_EQ(damaged.error().code, errc::InvalidKeyFile);

    auto repair = Database::open(path, files::layouts::cadmov1(), Database::Create::Never,
                                 Database::Verify::Layout);
    ASSERT_TRUE(repair.ok());
    auto faults = (*repair)->check();
    ASSERT_TRUE(faults.ok());
    EXPECT_FALSE(faults->empty());
    ASSERT_TRUE((*repair)->rebuildKeys().ok());
    EXPECT_TRUE((*repair)->check()->empty());
    repair->reset();
    auto sound = Database::open(path, files::layouts::cadmov1());
    ASSERT_TRUE(sound.ok());
    EXPECT_EQ(*(*sound)->count(Cadmov1::table()), 50);
}

TEST(Store, IndexContentsOutOfStepAreReportedByTheCheck) {
    TempFolder dir;
    const std::string path = dir.file("PATHS.sld"); // plain file: its pages can be edited here
    {
        auto db = openNew(path, files::layouts::paths());
        for (int i = 0; i < 20; ++i) {
            files::Paths p;
            p.path = "./DADOS" + std::to_string(i);
            Record r = *toRecord(p);
            ASSERT_TRUE(db->add(r).ok());
        }
        // Point the key at another column behind the engine's back: its entries no longer
        // match the records.
        sqlite3* h = db->handle();
        ASSERT_EQ(sqlite3_exec(h,
                               "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = "
                               "replace(sql, '(\"~PATH\")', '(\"COMMENTS\")') WHERE name = "
                               "'PAT:KEYSORT'; PRAGMA writable_schema = OFF;",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }
    auto db = Database::open(path, files::layouts::paths(), Database::Create::Never,
                             Database::Verify::Layout);
    ASSERT_TRUE(db.ok());
    auto faults = (*db)->check();
    ASSERT_TRUE(faults.ok());
    EXPECT_FALSE(faults->empty());
    ASSERT_TRUE((*db)->rebuildKeys().ok());
    EXPECT_TRUE((*db)->check()->empty());
}

TEST(Store, SeveralTablesAndMemosInOneFile) {
    TempFolder dir;
    auto db = openNew(dir.file("kvelt.lhl"), files::layouts::helpFile());
    files::HelpFile h;
    h.idnumber = 1;
    h.applicationname = "kvelt";
    h.procedurename = "SplashLogin";
    h.controlname = "GLO:Login";
    h.helptext = std::string(5000, 'a') + "excesso";
    Record r = *toRecord(h);
    ASSERT_TRUE(db->add(r).ok());
    files::QuickHelpFile q;
    q.idnumber = 1;
    q.helptext = "linha";
    Record rq = *toRecord(q);
    ASSERT_TRUE(db->add(rq).ok());
    auto back = fromRecord<files::HelpFile>(*db->get(files::HelpFile::table(), r.position));
    EXPECT_EQ(back.helptext.size(), 5000u);
    EXPECT_EQ(*db->count(files::QuickHelpFile::table()), 1);

    // Unique over three case-insensitive components.
    h.controlname = "glo:login";
    Record dup = *toRecord(h);
    EXPECT_EQ(db->add(dup).error().code, errc::DuplicateKey);
}

TEST(Store, ValuesOutsideTheirFieldAreRefused) {
    files::Usuario u;
    u.percentualdomicilio = Decimal::fromCents(100000); // 1000,00 in a DECIMAL(5,2)
    auto r = toRecord(u);
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().text.find("USU:PERCENTUALDOMICILIO"), std::string::npos);
    Record plain(files::Cadmov1::table());
    EXPECT_FALSE(plain.set("MOV1:DTALANC", std::string("ontem")).ok());
    EXPECT_FALSE(plain.set("MOV1:VLRCR", int64_t{100000000000}).ok());
    EXPECT_TRUE(plain.set("MOV1:VLRCR", int64_t{99999999999}).ok());
    EXPECT_FALSE(plain.set("MOV1:NADA", int64_t{1}).ok());
}

TEST(Store, AFileWithoutKeysReadsInPositionOrder) {
    TempFolder dir;
    auto db = openNew(dir.file("USUARIO.sld"), files::layouts::usuario());
    for (const char* name : {"Primeira", "Segunda", "Terceira"}) {
        files::Usuario u;
        u.usuarioempresa = name;
        Record r = *toRecord(u);
        ASSERT_TRUE(db->add(r).ok());
    }
    const Table& t = files::Usuario::table();
    Cursor c(*db, t, positionKey());
    c.seekLast();
    auto last = c.previous();
    ASSERT_TRUE(last.ok() && last->has_value());
    EXPECT_EQ((**last).text(0), "Terceira");
    auto before = c.previous();
    EXPECT_EQ((**before).text(0), "Segunda");
    c.seekFirst();
    EXPECT_EQ((**c.next()).text(0), "Primeira");
    for (const auto& line : c.explain()) EXPECT_EQ(line.find("TEMP B-TREE"), std::string::npos) << line;
}
