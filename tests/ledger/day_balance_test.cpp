// The balance rules over a real CADMOV1, without any window.
#include "data/date_time.h"
#include "data/files.h"
#include "ledger/day_balance_audit.h"
#include "ledger/posting_day.h"
#include "ledger/posting_import.h"
#include "ledger/postings.h"
#include "support/scripted_messages.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace saldora;
using files::Cadmov1;
using ledger::PostingDay;
using saldora::testing::ScriptedMessages;
using saldora::testing::TempFolder;

namespace {

int32_t march(int day) { return *date::fromYmd(2026, 3, day); }
Decimal money(int64_t cents) { return Decimal::fromCents(cents); }

struct Book {
    TempFolder dir;
    ScriptedMessages box;
    DataFile cadfil1{files::layouts::cadfil1()}, tabmov1{files::layouts::tabmov1()},
        cadmov1{files::layouts::cadmov1()};
    ledger::PostingFiles files{cadfil1, tabmov1, cadmov1};

    Book() {
        for (DataFile* f : {&cadfil1, &tabmov1, &cadmov1}) {
            f->setLocation(dir.path());
            OpenDataFile(*f);
        }
        addAccount("001", "Vendas", "+");
        addAccount("002", "Compras", "-");
        addAccount("003", "Ajustes", "");
        for (const char* c : {"ALFA", "BETA"}) {
            files::Cadfil1 f;
            f.codfil = c;
            f.descricao = c;
            auto r = *toRecord(f);
            EXPECT_TRUE(cadfil1.db().add(r).ok());
        }
    }
    ~Book() {
        for (DataFile* f : {&cadfil1, &tabmov1, &cadmov1}) CloseDataFile(*f);
    }
    void addAccount(const char* code, const char* name, const char* kind) {
        files::Tabmov1 t;
        t.codmov = code;
        t.descricao = name;
        t.crdb = kind;
        auto r = *toRecord(t);
        ASSERT_TRUE(tabmov1.db().add(r).ok());
    }
    // A posting as the posting browse and form make it.
    std::optional<std::string> post(const char* client, int32_t day, const char* account,
                                    int64_t credit, int64_t debit) {
        return ledger::postRow(files, {client, day, account, "", money(credit), money(debit)});
    }
    // A stored record written directly (a day balance left by earlier work).
    Cadmov1 put(const char* client, int32_t day, const char* account, int64_t saldo,
                const char* flag = "S") {
        Cadmov1 m;
        m.codfil = client;
        m.dtalanc = day;
        m.codmov = account;
        m.saldoatual = money(saldo);
        m.flagsaldo = flag;
        auto r = *toRecord(m);
        EXPECT_TRUE(cadmov1.db().add(r).ok());
        return fromRecord<Cadmov1>(r);
    }
    std::optional<Cadmov1> dayBalance(const char* client, int32_t day) {
        auto r = ledger::findDayBalance(cadmov1.db(), client, day);
        if (!r || !*r) return std::nullopt;
        return fromRecord<Cadmov1>(**r);
    }
    std::vector<Cadmov1> postingsOf(const char* client, int32_t day) {
        std::vector<Cadmov1> out;
        store::Cursor c(cadmov1.db(), Cadmov1::table(), *Cadmov1::table().key("MOV1:KEY_CADMOV"));
        c.seekAtOrAfter({std::string(client), int64_t{day}});
        for (auto r = c.next(); r && *r; r = c.next())
            if (ledger::isPostingOf(**r, client, day)) out.push_back(fromRecord<Cadmov1>(**r));
        return out;
    }
    void removePosting(const Cadmov1& m) {
        ASSERT_EQ(DeleteRecord(cadmov1, m), 0);
        PostingDay day(cadmov1, m.codfil, m.dtalanc);
        ASSERT_EQ(day.open().outcome, PostingDay::Outcome::Open);
        day.refresh();
    }
};

} // namespace

TEST(DayBalance, ThePostingRoadOfOneClient) {
    Book b;
    // First posting ever: a day balance of 100,00, nothing brought forward.
    ASSERT_EQ(b.post("ALFA", march(10), "001", 10000, 0), std::nullopt);
    auto d10 = b.dayBalance("ALFA", march(10));
    ASSERT_TRUE(d10);
    EXPECT_EQ(d10->saldoatual, money(10000));
    EXPECT_EQ(d10->codmov, "999");
    EXPECT_EQ(d10->flagsaldo, "S");
    EXPECT_TRUE(d10->vlrcr.isZero() && d10->vlrdb.isZero() && d10->complemento.empty());
    {
        PostingDay day(b.cadmov1, "ALFA", march(10));
        ASSERT_EQ(day.open().outcome, PostingDay::Outcome::Open);
        EXPECT_EQ(day.saldoAnterior, Decimal{});
        EXPECT_EQ(day.credito, money(10000));
        EXPECT_EQ(day.saldo, money(10000));
    }

    // The next day's debit: 100,00 brought forward, 70,00 at the end of 12/03; 10/03 untouched.
    ASSERT_EQ(b.post("ALFA", march(12), "002", 0, 3000), std::nullopt);
    EXPECT_EQ(b.dayBalance("ALFA", march(12))->saldoatual, money(7000));
    EXPECT_EQ(b.dayBalance("ALFA", march(10))->version, d10->version);
    {
        PostingDay day(b.cadmov1, "ALFA", march(12));
        ASSERT_EQ(day.open().outcome, PostingDay::Outcome::Open);
        EXPECT_EQ(day.saldoAnterior, money(10000));
        EXPECT_EQ(day.debito, money(3000));
    }

    // An earlier date is refused, naming the later one, and writes nothing.
    const int64_t records = *b.cadmov1.db().count(Cadmov1::table());
    auto refused = b.post("ALFA", march(11), "001", 500, 0);
    ASSERT_TRUE(refused);
    EXPECT_EQ(*refused, "Já existe lançamento posterior (12/03/2026) a data selecionada. Faça o "
                        "lançamento desejado com a data acima ou posterior");
    EXPECT_EQ(ledger::laterPostingMessage(march(12)).text,
              "Já existe lançamento posterior (12/03/2026) a data selecionada.|Faça o lançamento "
              "desejado com a data acima ou posterior");
    EXPECT_EQ(ledger::laterPostingMessage(march(12)).caption, "Aviso");
    EXPECT_EQ(*b.cadmov1.db().count(Cadmov1::table()), records);
    EXPECT_FALSE(b.dayBalance("ALFA", march(11)));

    // Deleting the only posting of 12/03 removes its day balance.
    b.removePosting(b.postingsOf("ALFA", march(12)).at(0));
    EXPECT_FALSE(b.dayBalance("ALFA", march(12)));
    EXPECT_TRUE(b.dayBalance("ALFA", march(10)));
    EXPECT_TRUE(b.box.shown.empty());
}

TEST(DayBalance, AmountsAddingUpToZeroLeaveNoDayBalance) {
    Book b;
    ASSERT_EQ(b.post("ALFA", march(10), "003", 1000, 0), std::nullopt);
    EXPECT_EQ(b.dayBalance("ALFA", march(10))->saldoatual, money(1000));
    ASSERT_EQ(b.post("ALFA", march(10), "003", -1000, 0), std::nullopt);
    EXPECT_FALSE(b.dayBalance("ALFA", march(10)));
    EXPECT_EQ(b.postingsOf("ALFA", march(10)).size(), 2u);
}

TEST(DayBalance, BalanceBroughtForward) {
    struct Case {
        const char* what;
        std::vector<std::tuple<const char*, int, int64_t>> dayBalances; // client, day, balance
        std::vector<std::pair<const char*, int>> postings;               // client, day
        const char* client;
        int date;
        int64_t expected;
    };
    const Case cases[] = {
        {"no records at all", {}, {}, "ALFA", 10, 0},
        {"every day balance lies later", {{"ALFA", 20, 5000}, {"ALFA", 25, 7000}}, {}, "ALFA", 10, 0},
        {"the latest earlier one", {{"ALFA", 2, 1000}, {"ALFA", 5, -2000}, {"ALFA", 20, 9}}, {}, "ALFA", 10, -2000},
        {"the date's own record is passed over", {{"ALFA", 5, 300}, {"ALFA", 10, 800}}, {}, "ALFA", 10, 300},
        {"only the date's own record", {{"ALFA", 10, 800}}, {}, "ALFA", 10, 0},
        {"another client's balance is not taken", {{"ALFA", 5, 4400}}, {}, "BETA", 10, 0},
        {"an own posting without a day balance counts 0", {}, {{"BETA", 3}}, "BETA", 10, 0},
        {"a day balance written in lower case", {{"beta", 4, 1200}}, {}, "BETA", 10, 1200},
    };
    for (const Case& c : cases) {
        Book b;
        for (const auto& [client, day, balance] : c.dayBalances) b.put(client, march(day), "999", balance);
        for (const auto& [client, day] : c.postings) b.put(client, march(day), "001", 0, "");
        auto r = ledger::CalculaSaldoAnterior(b.cadmov1.db(), c.client, march(c.date));
        ASSERT_TRUE(r) << c.what;
        EXPECT_EQ(*r, money(c.expected)) << c.what;
    }
}

TEST(DayBalance, OpeningADateWithoutPostingsRemovesItsDayBalanceAndWritesNothingElse) {
    Book b;
    b.put("ALFA", march(5), "999", 2000);
    b.put("ALFA", march(9), "999", 4000); // left behind, the postings of 09/03 are gone
    PostingDay day(b.cadmov1, "ALFA", march(9));
    ASSERT_EQ(day.open().outcome, PostingDay::Outcome::Open);
    EXPECT_FALSE(b.dayBalance("ALFA", march(9)));
    EXPECT_EQ(day.saldoAnterior, money(2000));
    EXPECT_EQ(day.saldo, money(2000)); // "Saldo Atual" equals "Saldo Anterior"
    EXPECT_EQ(day.credito, Decimal{});
    EXPECT_EQ(*b.cadmov1.db().count(Cadmov1::table()), 1);
}

TEST(DayBalance, ANegativeBalanceBroughtForward) {
    Book b;
    b.put("ALFA", march(1), "999", -2000);
    ASSERT_EQ(b.post("ALFA", march(10), "001", 5000, 0), std::nullopt);
    EXPECT_EQ(b.dayBalance("ALFA", march(10))->saldoatual, money(3000));
    PostingDay day(b.cadmov1, "ALFA", march(10));
    ASSERT_EQ(day.open().outcome, PostingDay::Outcome::Open);
    EXPECT_EQ(day.saldoAnterior, money(-2000));
    EXPECT_EQ(day.credito, money(5000));
    EXPECT_EQ(day.debito, Decimal{});
    EXPECT_EQ(day.saldo, money(3000));
}

TEST(DayBalance, TheRefreshRewritesWhatAnotherStationLeftFromThePostingsOnFile) {
    Book b;
    ASSERT_EQ(b.post("ALFA", march(10), "001", 10000, 0), std::nullopt);
    PostingDay day(b.cadmov1, "ALFA", march(10));
    ASSERT_EQ(day.open().outcome, PostingDay::Outcome::Open);

    // Another station rewrites the day balance meanwhile.
    auto other = store::Database::open(b.cadmov1.path(), files::layouts::cadmov1());
    ASSERT_TRUE(other);
    auto stored = *ledger::findDayBalance(**other, "ALFA", march(10));
    Cadmov1 m = fromRecord<Cadmov1>(*stored);
    m.saldoatual = money(1);
    auto changed = *toRecord(m);
    ASSERT_TRUE((*other)->put(changed).ok());

    // The day balance is read again before it is written: the last writer wins, without a
    // question.
    ASSERT_EQ(day.refresh().outcome, PostingDay::Outcome::Open);
    EXPECT_TRUE(b.box.shown.empty());
    EXPECT_EQ(b.dayBalance("ALFA", march(10))->saldoatual, money(10000));
}

TEST(DayBalance, ADayBalanceThatCannotBeRemovedClosesTheBrowseWhenTheUserGivesUp) {
    Book b;
    b.put("ALFA", march(9), "999", 4000);
    auto other = store::Database::open(b.cadmov1.path(), files::layouts::cadmov1());
    ASSERT_TRUE(other);
    ASSERT_TRUE((*other)->begin().ok()); // holds the write lock

    b.box.answer(button::Ok); // the delete error
    b.box.answer(button::No); // do not try again
    PostingDay day(b.cadmov1, "ALFA", march(9));
    EXPECT_EQ(day.open().outcome, PostingDay::Outcome::Closed);
    ASSERT_EQ(b.box.shown.size(), 2u);
    EXPECT_EQ(b.box.shown[1].text,
              "Um erro aconteceu excluindo este registro.  Você deseja tentar gravar outra vez?");
    (*other)->rollback();
    EXPECT_TRUE(b.dayBalance("ALFA", march(9)));
}

TEST(PostingImport, RowsArePostedOrRefusedWithTheirLineAndReason) {
    Book b;
    std::istringstream csv(
        "cliente,data,conta,complemento,credito,debito\n"
        "alfa,10/03/2026,001,Venda balcão,\"1.234,56\",\n"  // 2: client typed in lower case
        "ALFA,10/03/2026,002,,,30.00\n"                     // 3
        "GAMA,10/03/2026,001,,10,\n"                        // 4: no such client
        "ALFA,10/03/2026,009,,10,\n"                        // 5: no such account
        "ALFA,10/03/2026,001,,,\n"                          // 6: no amount
        "ALFA,10/03/2026,001,,,5\n"                         // 7: a debit on a credit account
        "ALFA,09/03/2026,001,,10,\n"                        // 8: before the latest posting
        "ALFA,31/02/2026,001,,10,\n"                        // 9: no such date
        "ALFA,10/03/2026,001,,dez,\n"                       // 10
        "BETA,11/03/2026,003,,-2,\n");                      // 11
    auto report = ledger::importPostings(b.files, csv);
    EXPECT_EQ(report.posted, 3);
    std::vector<int> lines;
    for (const auto& [line, why] : report.refused) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<int>{4, 5, 6, 7, 8, 9, 10}));
    ASSERT_EQ(report.refused.size(), 7u);
    EXPECT_EQ(report.refused[0].second, "Filial/Cliente não cadastrado: GAMA.");
    EXPECT_EQ(report.refused[1].second, "Conta não cadastrada: 009.");
    EXPECT_EQ(report.refused[2].second, "Informe valor a débito ou a crédito, senão cancele.");
    EXPECT_NE(report.refused[4].second.find("Já existe lançamento posterior (10/03/2026)"),
              std::string::npos);

    auto postings = b.postingsOf("ALFA", march(10));
    ASSERT_EQ(postings.size(), 2u);
    EXPECT_EQ(postings[0].codfil, "ALFA"); // stored in upper case
    EXPECT_EQ(postings[0].vlrcr, money(123456));
    EXPECT_EQ(postings[0].complemento, "Venda balc\xE3o");
    EXPECT_EQ(b.dayBalance("ALFA", march(10))->saldoatual, money(120456));
    EXPECT_EQ(b.dayBalance("BETA", march(11))->saldoatual, money(-200));
}

TEST(DayBalanceAudit, ReportsDayBalancesThatDoNotFollowFromThePostings) {
    Book b;
    ASSERT_EQ(b.post("ALFA", march(10), "001", 10000, 0), std::nullopt);
    ASSERT_EQ(b.post("ALFA", march(12), "002", 0, 3000), std::nullopt);
    ASSERT_EQ(b.post("BETA", march(10), "001", 500, 0), std::nullopt);
    b.put("BETA", march(31), "999", 500); // carried forward: follows from 10/03
    std::vector<ledger::DayBalanceFinding> found;
    auto collect = [&](const ledger::DayBalanceFinding& f) { found.push_back(f); };
    ASSERT_EQ(*ledger::auditDayBalances(b.cadmov1.db(), collect), 0);

    // A day balance rewritten by hand, and a posting added without its day balance.
    auto d10 = b.dayBalance("ALFA", march(10));
    d10->saldoatual = money(9000);
    ASSERT_EQ(UpdateRecord(b.cadmov1, *d10, false), 0);
    b.put("BETA", march(20), "001", 0, "");
    Cadmov1 lone;
    lone.codfil = "BETA";
    lone.dtalanc = march(20);
    lone.codmov = "001";
    lone.vlrcr = money(100);
    auto r = *toRecord(lone);
    ASSERT_TRUE(b.cadmov1.db().add(r).ok());

    ASSERT_EQ(*ledger::auditDayBalances(b.cadmov1.db(), collect), 4);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].date, march(10)); // 10000 from the postings, 9000 stored
    EXPECT_EQ(found[0].expected, money(10000));
    EXPECT_EQ(*found[0].stored, money(9000));
    EXPECT_EQ(found[1].date, march(12)); // 9000 - 3000 from what is stored, 7000 stored
    EXPECT_EQ(found[1].expected, money(6000));
    EXPECT_EQ(found[2].date, march(20)); // postings without a day balance
    EXPECT_FALSE(found[2].stored);
    EXPECT_EQ(found[2].expected, money(600));
    EXPECT_EQ(found[3].date, march(31)); // 500 carried, 600 expected after 20/03
    EXPECT_EQ(found[3].expected, money(600));
}
