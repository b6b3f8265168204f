// The posting browse over a book of about a million records: the time to open PesquisaMovimento
// on one client and date until its first page and day figures stand, and the time to save a
// posting through CadastraMovimento until the browse has rewritten the day balance and refilled
// its list. Each figure stands beside the same work done by the ledger alone and by hand on the
// bare engine. The book (client codes in upper case, as the posting screens keep them) is
// generated once under the build folder and reused; every run works on a fresh copy of it.
//   posting_bench [runs]     (default 11, at least 9)
// Exits 2 when a figure misses its target, 1 when the bench could not run.
#include "bench/book_generator.h"
#include "bench/raw_sql.h"
#include "bench/timing.h"

#include "data/date_time.h"
#include "data/file_routines.h"
#include "data/files.h"
#include "data/globals.h"
#include "data/key_values.h"
#include "data/picture.h"
#include "data/text.h"
#include "ledger/day_balance.h"
#include "ledger/posting_day.h"
#include "ledger/postings.h"
#include "data/settings_keys.h"
#include "screens/postings.h"
#include "screens/registers.h"
#include "support/scripted_messages.h"
#include "ui/window_state.h"

#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace saldora;
using namespace saldora::bench;
using files::Cadmov1;

namespace {

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "posting_bench: %s\n", why.c_str());
    std::exit(1);
}

// Processes events until `done` holds; fails after two seconds.
void processUntil(const std::function<bool()>& done, const char* what) {
    const auto limit = Clock::now() + std::chrono::seconds(2);
    do {
        QApplication::processEvents();
        if (Clock::now() > limit) fail(std::string("timed out waiting for ") + what);
    } while (!done());
}

template <class R> Status addAll(const std::string& path, const store::FileLayout& layout,
                                 const std::vector<R>& records) {
    auto db = store::Database::open(path, layout, store::Database::Create::IfMissing);
    if (!db) return db.error();
    store::Transaction tx(**db);
    for (const R& typed : records) {
        auto r = toRecord(typed);
        if (!r) return r.error();
        if (Status s = (*db)->add(*r); !s) return s;
    }
    return tx.commit();
}

// The bench's data folder: a fresh copy of the book, the clients of its codes and the accounts
// its postings name (plus "001", the credit account the bench posts on).
Status prepareFolder(const Book& book, const BookShape& shape, const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder, ec);
    if (ec) return Error{1, "cannot create " + folder + ": " + ec.message()};
    fs::copy_file(book.path, fs::path(folder) / fs::path(book.path).filename(), ec);
    if (ec) return Error{1, "cannot copy the book: " + ec.message()};

    std::vector<files::Cadfil1> clients;
    for (int c = 0; c < shape.clients; ++c) {
        files::Cadfil1 f;
        f.codfil = shape.code(c);
        f.descricao = "Cliente " + std::to_string(c);
        f.cidade = "Recife";
        clients.push_back(std::move(f));
    }
    if (Status s = addAll(folder + "/" + store::withDefaultExtension("CADFIL1"),
                          files::layouts::cadfil1(), clients);
        !s)
        return s;
    auto account = [](const char* code, const char* name, const char* kind) {
        files::Tabmov1 t;
        t.codmov = code;
        t.descricao = name;
        t.crdb = kind;
        return t;
    };
    return addAll(folder + "/" + store::withDefaultExtension("TABMOV1"), files::layouts::tabmov1(),
                  std::vector<files::Tabmov1>{account("001", "Vendas", "+"),
                                              account("101", "Venda a prazo", "-"),
                                              account("201", "Pagamento", "+")});
}

// The day as the book holds it: the postings' sums and the day-balance record's balance.
struct BookDay {
    Decimal credit, debit, balance;
    int postings = 0;
};
BookDay bookDay(const BookShape& shape, int client, int date) {
    BookDay day;
    BookRecords source(shape);
    const std::string code = shape.code(client);
    for (auto chunk = source.take(100'000); !chunk.empty(); chunk = source.take(100'000))
        for (const Cadmov1& m : chunk) {
            if (m.codfil != code || m.dtalanc != bookDate(date)) continue;
            if (m.codmov == files::kDayBalanceAccount) {
                day.balance = m.saldoatual;
                continue;
            }
            day.credit = *add(day.credit, m.vlrcr);
            day.debit = *add(day.debit, m.vlrdb);
            ++day.postings;
        }
    return day;
}

std::string money(Decimal d) {
    auto text = picture::format("@n-14.`2", picture::Value(d));
    return text ? std::string(fixed::clip(text->substr(text->find_first_not_of(' ')))) : "?";
}

// The opening's reads and the save's writes by hand on the bare engine: the day's postings in
// the order of MOV1:KEY_CADMOV (read once, for the page and the sums), the balance brought
// forward through MOV1:KEY_CADMOV_1, the client's latest posting, and for a save the INSERT, the
// day-balance record found and its UPDATE in a transaction of its own.
class RawDay {
  public:
    RawDay(raw::Connection& c, std::string code, int32_t date)
        : c_(c), folded_(cp1252::upper(code)), date_(date) {
        const std::string blank1 = "(\"~FLAGSALDO\" <> '' OR \"~CODFIL\" <> '' OR \"DTALANC\" <> 0 "
                                   "OR \"~CODMOV\" <> '')";
        day_ = prepare(std::string(raw::cadmov1::kSelect) +
                       "WHERE (\"~CODFIL\", \"DTALANC\") >= (?, ?) AND " +
                       raw::cadmov1::kInKeyOrder + " LIMIT 64",
                       raw::cadmov1::kKeyIndex);
        before_ = prepare("SELECT \"CODFIL\", \"SALDOATUAL\" FROM \"CADMOV1\" WHERE (\"~FLAGSALDO\", "
                          "\"~CODFIL\", \"DTALANC\") < ('S', ?, ?) AND " +
                              blank1 +
                              " ORDER BY \"~FLAGSALDO\" DESC, \"~CODFIL\" DESC, \"DTALANC\" DESC, "
                              "\"~CODMOV\" DESC, \"_position\" DESC LIMIT 1",
                          "MOV1:KEY_CADMOV_1");
        latest_ = prepare("SELECT \"CODFIL\", \"DTALANC\", \"CODMOV\" FROM \"CADMOV1\" WHERE "
                          "(\"~CODFIL\", \"DTALANC\") <= (?, 2147483647) AND (\"~CODFIL\" <> '' OR "
                          "\"DTALANC\" <> 0 OR \"~CODMOV\" <> '') ORDER BY \"~CODFIL\" DESC, "
                          "\"DTALANC\" DESC, \"~CODMOV\" DESC, \"_position\" DESC LIMIT 64",
                          raw::cadmov1::kKeyIndex);
        balanceRecord_ = prepare(std::string(raw::cadmov1::kSelect) +
                                     "WHERE (\"~FLAGSALDO\", \"~CODFIL\", \"DTALANC\", \"~CODMOV\") "
                                     ">= ('S', ?, ?, '999') AND " +
                                     blank1 +
                                     " ORDER BY \"~FLAGSALDO\", \"~CODFIL\", \"DTALANC\", "
                                     "\"~CODMOV\", \"_position\" LIMIT 1",
                                 "MOV1:KEY_CADMOV_1");
        insert_ = prepare(raw::cadmov1::kInsert, "");
        update_ = prepare(raw::cadmov1::kUpdate, "");
    }

    // The opening: page, sums, balance brought forward, no later posting. Returns the day's
    // closing balance.
    Decimal open(int& rows) {
        int64_t credit = 0, debit = 0;
        rows = sumDay(credit, debit);
        sqlite3_stmt* b = before_.get();
        sqlite3_reset(b);
        bindText(b, 1, folded_);
        sqlite3_bind_int(b, 2, date_);
        int64_t brought = 0;
        if (sqlite3_step(b) == SQLITE_ROW && cp1252::upper(text(b, 0)) == folded_)
            brought = sqlite3_column_int64(b, 1);
        sqlite3_reset(b);
        sqlite3_stmt* l = latest_.get();
        sqlite3_reset(l);
        bindText(l, 1, folded_);
        int32_t latest = 0;
        while (sqlite3_step(l) == SQLITE_ROW) {
            if (cp1252::upper(text(l, 0)) != folded_) break;
            if (fixed::clip(text(l, 2)) == files::kDayBalanceAccount) continue;
            latest = sqlite3_column_int(l, 1);
            break;
        }
        sqlite3_reset(l);
        if (latest > date_) fail("the bare engine found a later posting");
        return Decimal::fromCents(brought + credit - debit);
    }

    // A save: the posting added, the day's sums, the day-balance record rewritten.
    void save(const Cadmov1& posting, Decimal brought) {
        sqlite3_stmt* i = insert_.get();
        sqlite3_reset(i);
        raw::bindRow(i, posting);
        if (sqlite3_step(i) != SQLITE_DONE) fail("INSERT: " + c_.error().text);
        sqlite3_reset(i);
        int64_t credit = 0, debit = 0;
        sumDay(credit, debit);

        sqlite3_stmt* f = balanceRecord_.get();
        sqlite3_reset(f);
        bindText(f, 1, folded_);
        sqlite3_bind_int(f, 2, date_);
        if (sqlite3_step(f) != SQLITE_ROW) fail("the bare engine found no day balance");
        Cadmov1 balance;
        raw::readRow(f, balance);
        sqlite3_reset(f);
        balance.saldoatual = Decimal::fromCents(brought.cents() + credit - debit);

        if (!c_.exec("BEGIN IMMEDIATE")) fail("BEGIN: " + c_.error().text);
        sqlite3_stmt* u = update_.get();
        sqlite3_reset(u);
        raw::bindRow(u, balance);
        sqlite3_bind_int64(u, 12, balance.position);
        sqlite3_bind_int64(u, 13, balance.version);
        if (sqlite3_step(u) != SQLITE_DONE || sqlite3_changes(c_.handle()) != 1)
            fail("UPDATE: " + c_.error().text);
        sqlite3_reset(u);
        if (!c_.exec("COMMIT")) fail("COMMIT: " + c_.error().text);
    }

  private:
    raw::Statement prepare(const std::string& sql, const std::string& index) {
        if (!index.empty() && !c_.readsThroughIndex(sql, index))
            fail("the bare engine's query does not read through " + index + ": " + sql);
        auto st = c_.prepare(sql);
        if (!st) fail(st.error().text);
        return std::move(*st);
    }
    static std::string text(sqlite3_stmt* st, int col) {
        auto p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
        return std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st, col)));
    }
    static void bindText(sqlite3_stmt* st, int i, const std::string& s) {
        sqlite3_bind_text(st, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
    int sumDay(int64_t& credit, int64_t& debit) {
        sqlite3_stmt* d = day_.get();
        sqlite3_reset(d);
        bindText(d, 1, folded_);
        sqlite3_bind_int(d, 2, date_);
        int rows = 0;
        while (sqlite3_step(d) == SQLITE_ROW) {
            Cadmov1 m;
            raw::readRow(d, m);
            if (cp1252::upper(m.codfil) != folded_ || m.dtalanc != date_) break;
            if (fixed::clip(m.codmov) == files::kDayBalanceAccount) continue;
            credit += m.vlrcr.cents();
            debit += m.vlrdb.cents();
            ++rows;
        }
        sqlite3_reset(d);
        return rows;
    }

    raw::Connection& c_;
    std::string folded_;
    int32_t date_;
    raw::Statement day_, before_, latest_, balanceRecord_, insert_, update_;
};

struct Line {
    const char* what;
    double value;
    double target; // 0: no target
};
bool print(const std::vector<Line>& lines) {
    bool all = true;
    for (const Line& l : lines) {
        if (l.target > 0) {
            const bool pass = l.value <= l.target;
            all = all && pass;
            std::printf("  %-58s %8.2f ms   (target <= %2.0f ms)  %s\n", l.what, l.value, l.target,
                        pass ? "PASS" : "FAIL");
        } else {
            std::printf("  %-58s %8.2f ms\n", l.what, l.value);
        }
    }
    return all;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = std::max(9, argc > 1 ? std::atoi(argv[1]) : 11);

    BookShape shape;
    shape.upperCaseCodes = true;
    auto book = ensureBook(SALDORA_BENCH_DATA, shape);
    if (!book) fail("no book: " + book.error().text);
    if (book->secondsToGenerate > 0)
        std::printf("Book generated in %.1f s\n", book->secondsToGenerate);
    const std::string folder = std::string(SALDORA_BENCH_DATA) + "/postings-" + shape.name();
    if (Status s = prepareFolder(*book, shape, folder); !s) fail(s.error().text);
    std::filesystem::current_path(folder); // KVELT.INI of the screens lands here

    // A client in the middle of the book, on its latest date with postings.
    const int client = shape.clients / 2;
    int date = shape.dates - 1;
    while (date > 0 && BookShape::postings(client, date) == 0) --date;
    const std::string code = shape.code(client);
    const int32_t day = bookDate(date);
    const BookDay expected = bookDay(shape, client, date);

    saldora::testing::ScriptedMessages box;
    DataFile tabmov1(files::layouts::tabmov1()), cadfil1(files::layouts::cadfil1()),
        cadmov1(files::layouts::cadmov1()); // outlive the windows
    tabmov1.setLocation(folder);
    cadfil1.setLocation(folder);
    cadmov1.setLocation(folder);
    screens::setRegisterFiles(&tabmov1, &cadfil1);
    screens::setPostingFiles(&cadmov1);
    QMdiArea area;
    area.resize(1100, 800);
    area.show();
    ui::setWorkspace(&area);
    globals().cliente1 = code;
    globals().data1 = day;

    auto dateText = picture::format("@d06", int64_t{day});
    OpenDataFile(cadmov1);
    const int64_t records = *cadmov1.db().count(Cadmov1::table());
    std::printf("PesquisaMovimento on %s, %s (%d postings and its day balance), CADMOV1 of %lld "
                "records: %d clients x %d dates; medians of %d\n",
                code.c_str(), dateText ? std::string(fixed::clip(*dateText)).c_str() : "?", expected.postings,
                static_cast<long long>(records), shape.clients, shape.dates, runs);

    // ---- Opening ------------------------------------------------------------------------------
    // From `new PesquisaMovimento` until its queued opening has filled the list and run the
    // day-balance rules; the figures must be the book's.
    auto openBrowse = [&](double* built, double* total) {
        const auto t0 = Clock::now();
        auto* b = new screens::PesquisaMovimento;
        b->open();
        const auto t1 = Clock::now();
        processUntil([b] { return !b->list()->page().empty() || b->isFinished(); }, "the opening");
        const auto t2 = Clock::now();
        if (b->isFinished()) fail("the browse closed at its opening");
        if (built) *built = ms(t1 - t0);
        if (total) *total = ms(t2 - t0);
        return b;
    };
    auto closeBrowse = [](screens::PesquisaMovimento* b) {
        b->findChild<QPushButton*>("Close")->click();
        QApplication::processEvents();
    };
    auto checkOpening = [&](screens::PesquisaMovimento* b) {
        const auto& d = b->day();
        if (static_cast<int>(b->list()->page().size()) != expected.postings ||
            d.credito != expected.credit || d.debito != expected.debit || d.saldo != expected.balance)
            fail("the opening's page or figures are not the book's");
        if (b->findChild<QLabel*>("LOC:Saldo")->text().toStdString() != money(expected.balance))
            fail("LOC:Saldo does not show the day's balance");
    };

    std::vector<double> openHeld, openBuilt, openCold, ledgerOpen, ledgerSums, ledgerBefore,
        ledgerLater, ledgerPage, rawOpen;
    closeBrowse(openBrowse(nullptr, nullptr)); // the process's first window (fonts, styles)
    const store::Key& keyCadmov = *Cadmov1::table().key("MOV1:KEY_CADMOV");
    for (int run = 0; run < runs; ++run) {
        // CADMOV1 and CADFIL1 held open, as the posting criteria window holds them.
        OpenDataFile(cadfil1);
        double built = 0, total = 0;
        auto* b = openBrowse(&built, &total);
        checkOpening(b);
        openHeld.push_back(total);
        openBuilt.push_back(built);
        closeBrowse(b);
        CloseDataFile(cadfil1);

        // The ledger alone on the same connection: the day's rules at opening, each of the reads
        // they make, and the day's page through the cursor.
        ledger::PostingDay alone(cadmov1, code, day);
        auto t0 = Clock::now();
        const auto step = alone.open();
        auto t1 = Clock::now();
        if (step.outcome != ledger::PostingDay::Outcome::Open || alone.saldo != expected.balance)
            fail("the ledger's opening is not the book's");
        ledgerOpen.push_back(ms(t1 - t0));
        t0 = Clock::now();
        auto sums = ledger::SomaTotaisDoDia(cadmov1.db(), code, day);
        t1 = Clock::now();
        auto before = ledger::CalculaSaldoAnterior(cadmov1.db(), code, day);
        auto t2 = Clock::now();
        auto later = ledger::VerificaLancamentoPosterior(cadmov1.db(), code, day);
        auto t3 = Clock::now();
        if (!sums || !before || !later || later->has_value()) fail("the ledger's reads failed");
        ledgerSums.push_back(ms(t1 - t0));
        ledgerBefore.push_back(ms(t2 - t1));
        ledgerLater.push_back(ms(t3 - t2));
        t0 = Clock::now();
        store::Cursor c(cadmov1.db(), Cadmov1::table(), keyCadmov);
        c.seekAtOrAfter({code, int64_t{day}});
        int rows = 0;
        for (auto r = c.next(); r && *r; r = c.next()) {
            if (store::compareKeyPrefix(Cadmov1::table(), keyCadmov, **r, {code, int64_t{day}}) != 0)
                break;
            if (ledger::isPostingOf(**r, code, day)) ++rows;
        }
        t1 = Clock::now();
        if (rows != expected.postings) fail("the ledger's page is not the book's");
        ledgerPage.push_back(ms(t1 - t0));

        // Every file opened by the browse itself: a new connection to CADMOV1, its page cache
        // empty.
        CloseDataFile(cadmov1);
        b = openBrowse(nullptr, &total);
        checkOpening(b);
        openCold.push_back(total);
        closeBrowse(b);
        OpenDataFile(cadmov1);
    }
    {
        auto raw = raw::Connection::open(cadmov1.path());
        if (!raw) fail(raw.error().text);
        RawDay rawDay(**raw, code, day);
        for (int run = 0; run < runs; ++run) {
            int rows = 0;
            const auto t0 = Clock::now();
            const Decimal balance = rawDay.open(rows);
            rawOpen.push_back(ms(Clock::now() - t0));
            if (rows != expected.postings || balance != expected.balance)
                fail("the bare engine's opening is not the book's");
        }
    }
    const double held = median(openHeld), rawO = median(rawOpen);
    bool pass = print({
        {"opening to the first page and day figures", held, 50},
        {"  of which new PesquisaMovimento + open()", median(openBuilt), 0},
        {"  of which the queued opening and the first paint", held - median(openBuilt), 0},
        {"opening, every file opened by the browse itself", median(openCold), 50},
        {"ledger alone: PostingDay::open()", median(ledgerOpen), 0},
        {"  SomaTotaisDoDia (four times in the opening)", median(ledgerSums), 0},
        {"  CalculaSaldoAnterior", median(ledgerBefore), 0},
        {"  VerificaLancamentoPosterior", median(ledgerLater), 0},
        {"ledger alone: the day's page through the cursor", median(ledgerPage), 0},
        {"bare engine: the opening's reads", rawO, 0},
    });
    std::printf("  ratio to the bare engine: %.1fx\n", held / std::max(rawO, 1e-3));

    // ---- Saving a posting -------------------------------------------------------------------
    // From the click on OK in CadastraMovimento until the form is gone, the list refilled and
    // the day balance rewritten: day(), the list and the file all show the new posting. The
    // continuation runs within the click; a second figure goes on until the events it left
    // (the form's window deleted, the workspace repainted) have been processed.
    std::vector<double> save, saveShown, saveForm, saveAfter, formOpen, ledgerSave, ledgerAdd,
        rawSave, locate, windowState;
    OpenDataFile(cadfil1);
    auto* b = openBrowse(nullptr, nullptr);
    const Decimal amount = Decimal::fromCents(1234);
    for (int run = 0; run < runs; ++run) {
        const Decimal creditBefore = b->day().credito, balanceBefore = b->day().saldo;
        const size_t rowsBefore = b->list()->page().size();
        auto t0 = Clock::now();
        b->insert();
        auto* form = qobject_cast<ui::RecordForm*>(b->openChildScreen());
        if (!form) fail("no posting form");
        QApplication::processEvents(); // the form shown
        formOpen.push_back(ms(Clock::now() - t0));
        form->entry("MOV1:CODMOV")->setText("001");
        form->entry("MOV1:VLRCR")->setText("12,34");
        Clock::time_point finished{};
        QObject::connect(form, &ui::Screen::finished, [&finished] { finished = Clock::now(); });
        const Decimal wanted = *add(balanceBefore, amount);
        auto saved = [&] { return !b->openChildScreen() && b->day().saldo == wanted; };
        t0 = Clock::now();
        form->findChild<QPushButton*>("OK")->click();
        if (!saved()) processUntil(saved, "the save");
        const auto t1 = Clock::now();
        processUntil([] { return true; }, "the events after the save");
        const auto t2 = Clock::now();
        if (finished == Clock::time_point{}) fail("the form did not finish");
        save.push_back(ms(t1 - t0));
        saveShown.push_back(ms(t2 - t0));
        saveForm.push_back(ms(finished - t0));
        saveAfter.push_back(ms(t1 - finished));
        if (b->day().credito != *add(creditBefore, amount) ||
            b->list()->page().size() != rowsBefore + 1)
            fail("the browse does not show the new posting");
        auto stored = ledger::findDayBalance(cadmov1.db(), code, day);
        if (!stored || !*stored || fromRecord<Cadmov1>(**stored).saldoatual != wanted)
            fail("the day balance on file is not the new one");
        if (!box.shown.empty()) fail("a message was shown: " + box.shown.front().text);

        // Parts of that work on their own: the list back on the posting just saved, and the
        // window state the form writes to KVELT.INI as it closes.
        auto current = b->list()->current();
        t0 = Clock::now();
        b->list()->locateRecord(*current);
        locate.push_back(ms(Clock::now() - t0));
        const auto state = ui::readWindowState(settings::window::cadastraMovimento);
        t0 = Clock::now();
        ui::writeWindowState(settings::window::cadastraMovimento, state, true);
        windowState.push_back(ms(Clock::now() - t0));
    }
    const Decimal afterScreens = b->day().saldo;
    closeBrowse(b);
    CloseDataFile(cadfil1);

    // The ledger alone: the posting added, the day balance rewritten from the postings on file.
    {
        ledger::PostingDay alone(cadmov1, code, day);
        if (alone.open().outcome != ledger::PostingDay::Outcome::Open) fail("ledger opening");
        if (alone.saldo != afterScreens) fail("the ledger does not see the screens' postings");
        for (int run = 0; run < runs; ++run) {
            Cadmov1 m = ledger::newPosting(code, day);
            m.codmov = "001";
            m.vlrcr = amount;
            store::Record r = *toRecord(m);
            const Decimal wanted = *add(alone.saldo, amount);
            const auto t0 = Clock::now();
            if (Status s = ledger::addPosting(cadmov1, r); !s) fail(s.error().text);
            const auto t1 = Clock::now();
            const auto step = alone.refresh();
            const auto t2 = Clock::now();
            if (step.outcome != ledger::PostingDay::Outcome::Open || alone.saldo != wanted)
                fail("the ledger's day balance is not the new one");
            ledgerAdd.push_back(ms(t1 - t0));
            ledgerSave.push_back(ms(t2 - t0));
        }
    }
    // The bare engine: the same add and rewrite by hand.
    {
        auto raw = raw::Connection::open(cadmov1.path());
        if (!raw) fail(raw.error().text);
        if (*(*raw)->scalar("PRAGMA synchronous") != "2" ||
            *(*raw)->scalar("PRAGMA journal_mode") != "delete")
            fail("the raw connection does not sync as the store does");
        RawDay rawDay(**raw, code, day);
        auto brought = ledger::CalculaSaldoAnterior(cadmov1.db(), code, day);
        if (!brought) fail(brought.error().text);
        for (int run = 0; run < runs; ++run) {
            Cadmov1 m = ledger::newPosting(code, day);
            m.codmov = "001";
            m.vlrcr = amount;
            const auto t0 = Clock::now();
            rawDay.save(m, *brought);
            rawSave.push_back(ms(Clock::now() - t0));
        }
        ledger::PostingDay check(cadmov1, code, day);
        auto stored = ledger::findDayBalance(cadmov1.db(), code, day);
        if (check.open().outcome != ledger::PostingDay::Outcome::Open || !stored || !*stored ||
            fromRecord<Cadmov1>(**stored).saldoatual != check.saldo)
            fail("the bare engine's day balance does not follow from the postings");
    }
    const double saved = median(save), rawS = median(rawSave);
    pass = print({
               {"saving a posting: OK to the form gone and the day rewritten", saved, 15},
               {"  of which the form (account, checks, add, closing)", median(saveForm), 0},
               {"  of which the browse's continuation (list, day balance)", median(saveAfter), 0},
               {"  the list's locateRecord on its own", median(locate), 0},
               {"  the form's window state into KVELT.INI on its own", median(windowState), 0},
               {"saving a posting, until its events are processed (repaint)", median(saveShown), 15},
               {"F2 to the form shown (in neither figure)", median(formOpen), 0},
               {"ledger alone: addPosting + PostingDay::refresh()", median(ledgerSave), 0},
               {"  of which addPosting", median(ledgerAdd), 0},
               {"bare engine: INSERT, sums, day balance UPDATE", rawS, 0},
           }) &&
           pass;
    std::printf("  ratio to the ledger alone: %.1fx, to the bare engine: %.1fx\n",
                saved / std::max(median(ledgerSave), 1e-3), saved / std::max(rawS, 1e-3));

    CloseDataFile(cadmov1);
    ui::setWorkspace(nullptr);
    return pass ? 0 : 2;
}
