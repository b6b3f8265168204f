// Benchmarks of the record store on a large book, each beside the same work done by hand on the
// bare engine on the same file. Not part of the test run: bench/run.sh builds and runs them.
#include "bench/book_generator.h"
#include "bench/raw_sql.h"
#include "bench/summary.h"

#include "data/file_routines.h"
#include "data/files.h"
#include "data/store.h"
#include "data/text.h"

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>

#include <unistd.h>

using namespace saldora;
using namespace saldora::bench;
using files::Cadmov1;

namespace {

const BookShape kShape;
constexpr int kPage = 20;
constexpr int64_t kBulkRecords = 100'000;
constexpr size_t kBulkTransaction = 10'000;

Book gBook;
std::string gScratch; // a folder for the files the bulk adds create

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

const store::Table& table() {
    return Cadmov1::table();
}
const store::Key& keyCadmov() {
    return *table().key(raw::cadmov1::kKeyIndex);
}

// The book opened as a screen opens it.
struct OpenBook {
    DataFile file{files::layouts::cadmov1()};
    OpenBook() {
        file.setLocation(gBook.folder, "CADMOV1");
        OpenDataFile(file);
    }
    ~OpenBook() { CloseDataFile(file); }
};

std::unique_ptr<raw::Connection> openRaw(benchmark::State& state, const std::string& path) {
    auto c = raw::Connection::open(path);
    if (!c) {
        state.SkipWithError(c.error().text.c_str());
        return nullptr;
    }
    return std::move(*c);
}

// The same sequence of places for both sides of a benchmark.
struct Target {
    std::string client;
    int32_t date;
};
std::vector<Target> seekTargets() {
    std::mt19937 rng(20240102);
    std::uniform_int_distribution<int> client(0, kShape.clients - 1), date(0, kShape.dates - 1);
    std::vector<Target> out(4096);
    for (auto& t : out)
        t = {clientCode(client(rng)), bookDate(date(rng))};
    return out;
}
std::vector<int64_t> updatePositions() {
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<int64_t> position(1, gBook.records);
    std::vector<int64_t> out(4096);
    for (auto& p : out)
        p = position(rng);
    return out;
}

// -------------------------------------------------------------------------------------------
// Seek at (client, date) on MOV1:KEY_CADMOV and read a page of 20.

void seekStore(benchmark::State& state) {
    OpenBook book;
    store::Cursor cursor(book.file.db(), table(), keyCadmov());
    const auto targets = seekTargets();
    size_t i = 0;
    for (auto _ : state) {
        const Target& t = targets[i++ % targets.size()];
        cursor.seekAtOrAfter({t.client, int64_t{t.date}});
        auto page = cursor.page(kPage);
        if (!page || page->size() != kPage) state.SkipWithError("short page");
        benchmark::DoNotOptimize(page);
    }
}

void seekRaw(benchmark::State& state) {
    auto c = openRaw(state, gBook.path);
    if (!c) return;
    if (!c->readsThroughIndex(raw::cadmov1::kSeekPage, raw::cadmov1::kKeyIndex))
        return state.SkipWithError("the seek does not read through the key's index");
    auto st = c->prepare(raw::cadmov1::kSeekPage);
    if (!st) return state.SkipWithError(st.error().text.c_str());
    const auto targets = seekTargets();
    size_t i = 0;
    for (auto _ : state) {
        const Target& t = targets[i++ % targets.size()];
        sqlite3_stmt* s = st->get();
        sqlite3_reset(s);
        const std::string folded = cp1252::upper(t.client);
        sqlite3_bind_text(s, 1, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(s, 2, t.date);
        std::vector<Cadmov1> page;
        while (sqlite3_step(s) == SQLITE_ROW)
            raw::readRow(s, page.emplace_back());
        if (page.size() != kPage) state.SkipWithError("short page");
        benchmark::DoNotOptimize(page);
    }
}

// -------------------------------------------------------------------------------------------
// Bulk add into a new file, 10 000 records to a transaction.

// A new, empty CADMOV1 made by the store in the scratch folder.
std::string newFile(benchmark::State& state) {
    namespace fs = std::filesystem;
    const std::string path = gScratch + "/CADMOV1.sld";
    std::error_code ec;
    fs::remove(path, ec);
    fs::remove(path + "-journal", ec);
    auto db =
        store::Database::open(path, files::layouts::cadmov1(), store::Database::Create::IfMissing);
    if (!db) state.SkipWithError(db.error().text.c_str());
    return path;
}

void addStore(benchmark::State& state) {
    const auto records = BookRecords(kShape).take(kBulkRecords);
    double seconds = 0;
    for (auto _ : state) {
        auto db = store::Database::open(newFile(state), files::layouts::cadmov1());
        if (!db) return state.SkipWithError(db.error().text.c_str());
        const auto start = Clock::now();
        Status s = addRecords(**db, records, kBulkTransaction);
        const double elapsed = secondsSince(start);
        if (!s) return state.SkipWithError(s.error().text.c_str());
        state.SetIterationTime(elapsed);
        seconds += elapsed;
    }
    state.counters["records/s"] =
        static_cast<double>(records.size() * state.iterations()) / seconds;
}

void addRaw(benchmark::State& state) {
    const auto records = BookRecords(kShape).take(kBulkRecords);
    double seconds = 0;
    for (auto _ : state) {
        auto c = openRaw(state, newFile(state));
        if (!c) return;
        auto st = c->prepare(raw::cadmov1::kInsert);
        if (!st) return state.SkipWithError(st.error().text.c_str());
        const auto start = Clock::now();
        for (size_t first = 0; first < records.size(); first += kBulkTransaction) {
            if (!c->exec("BEGIN IMMEDIATE")) return state.SkipWithError("BEGIN failed");
            const size_t end = std::min(records.size(), first + kBulkTransaction);
            for (size_t i = first; i < end; ++i) {
                sqlite3_reset(st->get());
                raw::bindRow(st->get(), records[i]);
                if (sqlite3_step(st->get()) != SQLITE_DONE)
                    return state.SkipWithError(c->error().text.c_str());
            }
            if (!c->exec("COMMIT")) return state.SkipWithError("COMMIT failed");
        }
        const double elapsed = secondsSince(start);
        state.SetIterationTime(elapsed);
        seconds += elapsed;
    }
    state.counters["records/s"] =
        static_cast<double>(records.size() * state.iterations()) / seconds;
}

// -------------------------------------------------------------------------------------------
// One record written back in its own transaction, with the commit's syncs to disk.

std::string editedComplement(size_t i) {
    return "Alterado " + std::to_string(i % 1000);
}

void updateStore(benchmark::State& state) {
    OpenBook book;
    const auto positions = updatePositions();
    size_t i = 0;
    for (auto _ : state) {
        const int64_t position = positions[i % positions.size()];
        auto record = book.file.db().get(table(), position);
        if (!record) return state.SkipWithError(record.error().text.c_str());
        (void)record->set("MOV1:COMPLEMENTO", editedComplement(i++));
        const auto start = Clock::now();
        const int result = UpdateRecord(book.file, *record, false);
        state.SetIterationTime(secondsSince(start));
        if (result != update_result::Written) return state.SkipWithError("UpdateRecord failed");
    }
}

void updateRaw(benchmark::State& state) {
    auto c = openRaw(state, gBook.path);
    if (!c) return;
    // The engine's defaults are the store's settings; the raw side must sync as the store does.
    if (*c->scalar("PRAGMA synchronous") != "2" || *c->scalar("PRAGMA journal_mode") != "delete")
        return state.SkipWithError("the raw connection does not sync as the store does");
    auto read = c->prepare(raw::cadmov1::kByPosition);
    auto update = c->prepare(raw::cadmov1::kUpdate);
    if (!read || !update) return state.SkipWithError(c->error().text.c_str());
    const auto positions = updatePositions();
    size_t i = 0;
    for (auto _ : state) {
        const int64_t position = positions[i % positions.size()];
        Cadmov1 m;
        sqlite3_reset(read->get());
        sqlite3_bind_int64(read->get(), 1, position);
        if (sqlite3_step(read->get()) != SQLITE_ROW) return state.SkipWithError("no record");
        raw::readRow(read->get(), m);
        sqlite3_reset(read->get());
        m.complemento = editedComplement(i++);

        const auto start = Clock::now();
        if (!c->exec("BEGIN IMMEDIATE")) return state.SkipWithError("BEGIN failed");
        sqlite3_stmt* u = update->get();
        sqlite3_reset(u);
        raw::bindRow(u, m);
        sqlite3_bind_int64(u, 12, m.position);
        sqlite3_bind_int64(u, 13, m.version);
        if (sqlite3_step(u) != SQLITE_DONE || sqlite3_changes(c->handle()) != 1) {
            (void)c->exec("ROLLBACK");
            return state.SkipWithError("UPDATE failed");
        }
        if (!c->exec("COMMIT")) return state.SkipWithError("COMMIT failed");
        state.SetIterationTime(secondsSince(start));
    }
}

// -------------------------------------------------------------------------------------------
// The whole book in the order of MOV1:KEY_CADMOV.

void scanStore(benchmark::State& state) {
    OpenBook book;
    double seconds = 0;
    int64_t total = 0;
    for (auto _ : state) {
        store::Cursor cursor(book.file.db(), table(), keyCadmov());
        const auto start = Clock::now();
        cursor.seekFirst();
        int64_t n = 0;
        for (;;) {
            auto r = cursor.next();
            if (!r) return state.SkipWithError(r.error().text.c_str());
            if (!*r) break;
            benchmark::DoNotOptimize(**r);
            ++n;
        }
        const double elapsed = secondsSince(start);
        if (n != gBook.records) return state.SkipWithError("the scan missed records");
        state.SetIterationTime(elapsed);
        seconds += elapsed;
        total += n;
    }
    state.counters["records/s"] = static_cast<double>(total) / seconds;
}

void scanRaw(benchmark::State& state) {
    auto c = openRaw(state, gBook.path);
    if (!c) return;
    if (!c->readsThroughIndex(raw::cadmov1::kScan, raw::cadmov1::kKeyIndex))
        return state.SkipWithError("the scan does not read through the key's index");
    auto st = c->prepare(raw::cadmov1::kScan);
    if (!st) return state.SkipWithError(st.error().text.c_str());
    double seconds = 0;
    int64_t total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        sqlite3_reset(st->get());
        Cadmov1 m;
        int64_t n = 0;
        while (sqlite3_step(st->get()) == SQLITE_ROW) {
            raw::readRow(st->get(), m);
            benchmark::DoNotOptimize(m);
            ++n;
        }
        const double elapsed = secondsSince(start);
        if (n != gBook.records) return state.SkipWithError("the scan missed records");
        state.SetIterationTime(elapsed);
        seconds += elapsed;
        total += n;
    }
    state.counters["records/s"] = static_cast<double>(total) / seconds;
}

// -------------------------------------------------------------------------------------------
// Opening the encrypted book.

void openStore(benchmark::State& state) {
    DataFile file(files::layouts::cadmov1());
    file.setLocation(gBook.folder, "CADMOV1");
    for (auto _ : state) {
        const auto start = Clock::now();
        OpenDataFile(file);
        state.SetIterationTime(secondsSince(start));
        if (!file.isOpen()) return state.SkipWithError("not open");
        CloseDataFile(file);
    }
}

void openRawBench(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = Clock::now();
        auto c = raw::Connection::open(gBook.path);
        state.SetIterationTime(secondsSince(start));
        if (!c) return state.SkipWithError(c.error().text.c_str());
    }
}

} // namespace

int main(int argc, char** argv) {
    // Repetitions of the store's side and the raw side run interleaved, so that a change in the
    // machine's load while they run falls on both alike; a flag given by the caller comes later
    // and wins.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    argc = static_cast<int>(args.size());
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;

    const std::string cache = SALDORA_BENCH_DATA;
    auto book = ensureBook(cache, kShape);
    if (!book) {
        std::cerr << "No book: " << book.error().text << "\n";
        return 1;
    }
    gBook = *book;
    gScratch = cache + "/scratch";
    std::filesystem::create_directories(gScratch);
    (void)store::keyPragma(); // derived once per process, as at the program's start

    // Each benchmark's median over its repetitions is its figure.
    auto add = [](const char* name, void (*fn)(benchmark::State&)) {
        return benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->DisplayAggregatesOnly(true);
    };
    add("seek/store", seekStore)->UseRealTime()->Repetitions(9);
    add("seek/raw", seekRaw)->UseRealTime()->Repetitions(9);
    add("add/store", addStore)->UseManualTime()->Iterations(1)->Repetitions(5);
    add("add/raw", addRaw)->UseManualTime()->Iterations(1)->Repetitions(5);
    add("update/store", updateStore)->UseManualTime()->Repetitions(5);
    add("update/raw", updateRaw)->UseManualTime()->Repetitions(5);
    add("scan/store", scanStore)->UseManualTime()->Iterations(1)->Repetitions(5);
    add("scan/raw", scanRaw)->UseManualTime()->Iterations(1)->Repetitions(5);
    add("open/store", openStore)->UseManualTime()->Repetitions(9);
    add("open/raw", openRawBench)->UseManualTime()->Repetitions(9);

    std::cout << "Book: " << gBook.path << ", " << gBook.records << " records (" << kShape.clients
              << " clients x " << kShape.dates << " dates), ";
    if (gBook.secondsToGenerate > 0)
        std::cout << "generated through the store in " << gBook.secondsToGenerate << " s ("
                  << static_cast<int64_t>(gBook.records / gBook.secondsToGenerate)
                  << " records/s)\n";
    else
        std::cout << "reused from an earlier run\n";

    SummaryReporter reporter(isatty(STDOUT_FILENO) ? SummaryReporter::OO_ColorTabular
                                                   : SummaryReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::vector<Goal> goals = {
        {"Seek KEY_CADMOV + page of 20", "seek/store", "seek/raw", Figure::Milliseconds, 1.0, 1.5},
        {"Bulk add, 10 000 a transaction", "add/store", "add/raw", Figure::RecordsPerSecond,
         100'000, 0},
        {"UpdateRecord (one transaction)", "update/store", "update/raw", Figure::Milliseconds, 0,
         1.5},
        {"Full scan in key order", "scan/store", "scan/raw", Figure::RecordsPerSecond, 500'000, 0},
        {"OpenDataFile, encrypted", "open/store", "open/raw", Figure::Milliseconds, 5.0, 0},
    };
    const bool met = reporter.printTable(goals, std::cout);
    benchmark::Shutdown();
    return met ? 0 : 1;
}
