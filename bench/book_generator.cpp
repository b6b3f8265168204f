#include "bench/book_generator.h"

#include "data/date_time.h"
#include "data/text.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace saldora::bench {
namespace {

constexpr size_t kGenerationTransaction = 50'000;

// A repeatable amount in cents for a posting, between 1,00 and 500,00.
int64_t amount(int client, int date, int posting) {
    uint64_t x = static_cast<uint64_t>(client) * 1'000'003u + static_cast<uint64_t>(date) * 131u +
                 static_cast<uint64_t>(posting);
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return 100 + static_cast<int64_t>(x % 49'901);
}

} // namespace

int64_t BookShape::records() const {
    int64_t n = 0;
    for (int c = 0; c < clients; ++c)
        for (int d = 0; d < dates; ++d)
            n += 1 + postings(c, d);
    return n;
}

std::string BookShape::name() const {
    return "book-" + std::to_string(clients) + "x" + std::to_string(dates) +
           (upperCaseCodes ? "-upper" : "");
}

std::string BookShape::code(int client) const {
    return upperCaseCodes ? cp1252::upper(clientCode(client)) : clientCode(client);
}

std::string clientCode(int client) {
    char code[16];
    std::snprintf(code, sizeof code, "Cliente %05d", client);
    return code;
}

int32_t bookDate(int date) {
    return *date::fromYmd(2024, 1, 2) + date;
}

BookRecords::BookRecords(const BookShape& shape)
    : shape_(shape), balances_(static_cast<size_t>(shape.clients), 0) {}

std::vector<files::Cadmov1> BookRecords::take(int64_t n) {
    std::vector<files::Cadmov1> out;
    out.reserve(static_cast<size_t>(n) + 2);
    while (static_cast<int64_t>(out.size()) < n && date_ < shape_.dates) {
        const std::string code = shape_.code(client_);
        const int32_t day = bookDate(date_);
        int64_t& balance = balances_[static_cast<size_t>(client_)];
        for (int k = 0; k < BookShape::postings(client_, date_); ++k) {
            files::Cadmov1 m;
            m.codfil = code;
            m.dtalanc = day;
            const int64_t cents = amount(client_, date_, k);
            if (k % 2 == 0) { // a sale on the account
                m.codmov = "101";
                m.complemento = "Venda a prazo";
                m.vlrdb = Decimal::fromCents(cents);
                balance -= cents;
            } else {
                m.codmov = "201";
                m.complemento = "Pagamento";
                m.vlrcr = Decimal::fromCents(cents);
                balance += cents;
            }
            out.push_back(std::move(m));
        }
        files::Cadmov1 dayBalance;
        dayBalance.codfil = code;
        dayBalance.dtalanc = day;
        dayBalance.codmov = std::string(files::kDayBalanceAccount);
        dayBalance.flagsaldo = std::string(files::kDayBalanceFlag);
        dayBalance.saldoatual = Decimal::fromCents(balance);
        out.push_back(std::move(dayBalance));
        if (++client_ == shape_.clients) {
            client_ = 0;
            ++date_;
        }
    }
    return out;
}

Status addRecords(store::Database& db, const std::vector<files::Cadmov1>& records,
                  size_t perTransaction) {
    for (size_t first = 0; first < records.size(); first += perTransaction) {
        store::Transaction tx(db);
        if (!tx.status()) return tx.status();
        const size_t end = std::min(records.size(), first + perTransaction);
        for (size_t i = first; i < end; ++i) {
            auto r = toRecord(records[i]);
            if (!r) return r.error();
            if (Status s = db.add(*r); !s) return s;
        }
        if (Status s = tx.commit(); !s) return s;
    }
    return {};
}

Result<Book> ensureBook(const std::string& cacheFolder, const BookShape& shape) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(cacheFolder) / shape.name();
    const fs::path file = folder / store::withDefaultExtension("CADMOV1");
    Book book{folder.string(), file.string(), shape.records(), 0};
    // An earlier run's book serves while the store still opens it as a CADMOV1.
    if (fs::exists(file) && store::Database::open(file.string(), files::layouts::cadmov1()))
        return book;

    // Written beside its final place and moved there whole, so an interrupted run leaves no
    // half book to be taken for a finished one.
    const fs::path partial = folder.string() + ".partial";
    std::error_code ec;
    fs::remove_all(partial, ec);
    fs::create_directories(partial, ec);
    if (ec) return Error{1, "cannot create " + partial.string() + ": " + ec.message()};

    std::fprintf(stderr, "Generating %lld records in %s ...\n",
                 static_cast<long long>(book.records), file.string().c_str());
    const auto start = std::chrono::steady_clock::now();
    {
        auto db =
            store::Database::open((partial / file.filename()).string(), files::layouts::cadmov1(),
                                  store::Database::Create::IfMissing);
        if (!db) return db.error();
        BookRecords source(shape);
        for (auto chunk = source.take(kGenerationTransaction); !chunk.empty();
             chunk = source.take(kGenerationTransaction))
            if (Status s = addRecords(**db, chunk, kGenerationTransaction); !s) return s.error();
    }
    book.secondsToGenerate =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    fs::remove_all(folder, ec);
    fs::rename(partial, folder, ec);
    if (ec) return Error{1, "cannot move the book to " + folder.string() + ": " + ec.message()};
    return book;
}

} // namespace saldora::bench
