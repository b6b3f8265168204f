#pragma once
// Large books of postings for the benchmarks: a CADMOV1 of many clients over many dates, with a
// day-balance record for every client and date and a few postings before it, written through the
// store in big transactions and kept in the build folder so later runs reuse it.
#include "data/files.h"
#include "data/store.h"

#include <cstdint>
#include <string>
#include <vector>

namespace saldora::bench {

// The default shape holds 999 999 records: 5 000 clients over 100 dates, about two records per
// client and date.
struct BookShape {
    int clients = 5000;
    int dates = 100; // consecutive days from the first date
    // Client codes in upper case ("CLIENTE 00042"), as the posting screens and the import keep
    // them; the default keeps them as typed. A book of each kind has its own folder.
    bool upperCaseCodes = false;

    // Postings of a client on a date: 0, 1 or 2, so that a client's days average one posting
    // and the book holds about two records per client and date.
    static int postings(int client, int date) { return (client + date) % 3; }
    int64_t records() const;
    // A name for the folder of the book of this shape.
    std::string name() const;
    // The code of the client numbered `client` in this book.
    std::string code(int client) const;
};

// Code of the client numbered `client` (0-based), as typed at the counter ("Cliente 00042").
std::string clientCode(int client);
// Day number of the date numbered `date` (0-based) of a book.
int32_t bookDate(int date);

// The records of a book in the order a shop types them: day by day, each client's postings of
// the day followed by the client's balance at the end of that day.
class BookRecords {
  public:
    explicit BookRecords(const BookShape& shape);
    // Up to n further records; fewer (or none) at the end of the book.
    std::vector<files::Cadmov1> take(int64_t n);

  private:
    BookShape shape_;
    int date_ = 0, client_ = 0;
    std::vector<int64_t> balances_; // each client's balance in cents
};

// Adds the records through the store, `perTransaction` to a transaction.
Status addRecords(store::Database& db, const std::vector<files::Cadmov1>& records,
                  size_t perTransaction);

struct Book {
    std::string folder; // holds CADMOV1.sld
    std::string path;
    int64_t records = 0;
    double secondsToGenerate = 0; // 0 when an earlier run's book was reused
};

// The book of this shape under `cacheFolder`, generated first when no earlier run left it there.
Result<Book> ensureBook(const std::string& cacheFolder, const BookShape& shape);

} // namespace saldora::bench
