#pragma once
// The record store: one engine over SQLCipher. Each data file is one database file; each table of
// its layout one SQL table with a column per field, a position column (the rowid, stable) and a
// version column for the changed-by-another-station check. Keys are indexes (case-insensitive text
// components over a cp1252-folded copy of the text, blank-excluded keys as partial indexes); every
// read goes through a key cursor with row-value seeks and LIMIT, so nothing loads a whole file.
#include "data/decimal.h"
#include "data/layout.h"
#include "data/result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace saldora::store {

// Error numbers of the store, shown in the standard warnings as "text (number)".
namespace errc {
constexpr int NotFound = 2;
constexpr int AccessDenied = 5;
constexpr int Locked = 32;
constexpr int RecordNotFound = 35;
constexpr int InvalidDataFile = 36;
constexpr int InvalidKeyFile = 38; // a key (index) is damaged or missing: rebuild the keys
constexpr int DuplicateKey = 40;
constexpr int WrongLayout = 47;
constexpr int ChangedByAnotherStation = 89;
constexpr int EngineError = 90; // the engine's own text follows
} // namespace errc

// A physical name without an extension gets this one.
constexpr const char* kDefaultExtension = ".sld";
std::string withDefaultExtension(const std::string& physicalName);

// Values of fields: integers (LONG, SHORT, BYTE, ULONG, DECIMAL hundredths, dates), doubles
// (REAL) and cp1252 text.
using Value = std::variant<int64_t, double, std::string>;

class Record {
public:
    Record() = default;
    explicit Record(const Table& table);

    const Table& table() const { return *table_; }
    int64_t position = 0; // 0 until stored
    int64_t version = 0;

    const Value& operator[](int field) const { return values_[field]; }
    const Value& get(std::string_view fieldName) const;
    // Stores a value after fitting it to the field (text truncated at its width and clipped,
    // integers converted). Fails for a value of the wrong kind or out of the field's range.
    Status set(int field, Value v);
    Status set(std::string_view fieldName, Value v);

    std::string text(int field) const;
    int64_t integer(int field) const;
    double real(int field) const;
    Decimal decimal(int field) const { return Decimal::fromCents(integer(field)); }

    const std::vector<Value>& values() const { return values_; }

private:
    friend class Database; // fills records read from the file, whose values are already fitted
    const Table* table_ = nullptr;
    std::vector<Value> values_;
};

// Checks and converts a value for a field (see Record::set).
Result<Value> fitValue(const Field& field, Value v);
// The field's zero value: "" or 0.
Value blankValue(const Field& field);

// The program-held secret of the encrypted files, built at run time; the page key is derived
// from it once per process.
std::string dataFileOwner();
// For the engine's own tools that open a data file on a bare connection: the statement that sets
// its page key (PRAGMA key with the raw key).
const std::string& keyPragma();

class Database;

// The order of record positions: a key without components, for reading a file that has no keys
// (USUARIO) through a cursor.
const Key& positionKey();

enum class Direction { Forward, Backward };

// Reads a table in the order of one key; equal key values are ordered by record position, so
// every step is exact about ties. After a read the cursor stands on that record: next() reads
// the one after it, previous() the one before. Rows are fetched in small batches and no engine
// lock is held between calls, so an idle cursor never blocks another station's writes.
class Cursor {
public:
    Cursor(Database& db, const Table& table, const Key& key);
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    // Position by values for the first components of the key (a prefix). After seekAtOrAfter,
    // next() reads the first record whose components are >= the prefix and previous() the last
    // one below it; after seekAtOrBefore, previous() reads the last record whose components are
    // <= the prefix and next() the first one above it.
    void seekAtOrAfter(const std::vector<Value>& prefix = {});
    void seekAtOrBefore(const std::vector<Value>& prefix = {});
    void seekFirst() { seekAtOrAfter({}); }
    void seekLast() { seekAtOrBefore({}); }
    // Stand on a record read earlier (by its key values and position), as if just read.
    void seekTo(const Record& record);

    // Next record in key order from the current place; the cursor moves on.
    Result<std::optional<Record>> next();
    Result<std::optional<Record>> previous();
    // Up to n records in the given direction from the current place.
    Result<std::vector<Record>> page(int n, Direction direction = Direction::Forward);

    // The engine's query plan of every query shape this cursor runs, one line each, as
    // "<number of seek values>: <plan>": a check that every read goes through the key's index
    // (a search wherever there are seek values), never a sort.
    std::vector<std::string> explain();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// One open data file (one connection). Not shared between threads.
class Database {
public:
    enum class Create { IfMissing, Never };
    // Full: the layout and every key must be as declared. Layout: the keys are not looked at, so
    // that a file whose keys are damaged can be opened to rebuild them.
    enum class Verify { Full, Layout };

    // Opens the file at `path` for shared reading and writing. A missing file is an error
    // errc::NotFound unless `create` is IfMissing. The layout is checked against the one kept in
    // the file (errc::WrongLayout) and the keys against it (errc::InvalidKeyFile); a file that
    // the secret does not open, or that is no data file, gives errc::InvalidDataFile.
    static Result<std::unique_ptr<Database>> open(const std::string& path, const FileLayout& layout,
                                                  Create create = Create::Never,
                                                  Verify verify = Verify::Full);
    ~Database();

    const FileLayout& layout() const { return layout_; }
    const std::string& path() const { return path_; }

    Result<int64_t> count(const Table& table);
    // Adds the record; sets its position and version.
    Status add(Record& record);
    Result<Record> get(const Table& table, int64_t position);
    // The record added last that still stands (the highest position), for files without keys.
    Result<std::optional<Record>> last(const Table& table);
    // Writes the record over the stored one at its position, unless another connection changed
    // it since it was read (errc::ChangedByAnotherStation; nothing written).
    Status put(Record& record);
    Status remove(const Record& record);

    // Explicit transactions group several writes; a write outside one runs in its own.
    // BEGIN IMMEDIATE with a 2-second wait for the lock.
    Status begin();
    Status commit();
    void rollback();
    bool inTransaction() const;

    // Drops and recreates every key of the file.
    Status rebuildKeys();
    // The engine's integrity check and the key consistency check: empty when sound, otherwise
    // one line per fault.
    Result<std::vector<std::string>> check();

    // For the engine's own tools and tests: the raw connection, the SQL names, prepared statements.
    sqlite3* handle() const { return db_; }
    static std::string sqlName(const Table& table);
    static std::string sqlColumn(const Field& field);
    sqlite3_stmt* statement(const std::string& sql); // cached; reset before return

private:
    Database(std::string path, const FileLayout& layout);
    Status configure(bool created);
    Status verifyLayout();
    Status verifyKeys();
    Status createSchema();
    Error engineError(int rc) const;
    static Record readStored(sqlite3_stmt* st, const Table& table);
    Status write(const Table& table, const std::string& sql, Record& record, bool update);

    friend class Cursor;
    std::string path_;
    const FileLayout& layout_;
    sqlite3* db_ = nullptr;
    struct Cache;
    std::unique_ptr<Cache> cache_;
};

// A transaction for a scope: rolled back unless committed.
class Transaction {
public:
    explicit Transaction(Database& db) : db_(db), status_(db.begin()) {}
    ~Transaction() {
        if (status_.ok() && !done_) db_.rollback();
    }
    const Status& status() const { return status_; }
    Status commit() {
        done_ = true;
        return db_.commit();
    }

private:
    Database& db_;
    Status status_;
    bool done_ = false;
};

} // namespace saldora::store
