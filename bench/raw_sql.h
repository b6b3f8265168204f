#pragma once
// The baseline of every benchmark: the same work as the store's, written by hand against the
// bare engine on the same file (the same page key, the same tables and indexes).
#include "data/files.h"
#include "data/result.h"

#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace saldora::bench::raw {

// The store's CADMOV1 table, as hand-written SQL: the columns in the order the statements below
// bind or read them, the key MOV1:KEY_CADMOV with its blank-exclusion condition repeated so the
// partial index serves the query, and ties in position order.
namespace cadmov1 {
inline constexpr const char* kKeyIndex = "MOV1:KEY_CADMOV";
inline constexpr const char* kSelect =
    "SELECT \"_position\", \"_version\", \"CODFIL\", \"DTALANC\", \"CODMOV\", \"COMPLEMENTO\", "
    "\"VLRCR\", \"VLRDB\", \"SALDOATUAL\", \"FLAGSALDO\" FROM \"CADMOV1\" ";
inline constexpr const char* kInKeyOrder =
    "(\"~CODFIL\" <> '' OR \"DTALANC\" <> 0 OR \"~CODMOV\" <> '') "
    "ORDER BY \"~CODFIL\", \"DTALANC\", \"~CODMOV\", \"_position\"";
inline const std::string kSeekPage = std::string(kSelect) +
                                     "WHERE (\"~CODFIL\", \"DTALANC\") >= (?, ?) AND " +
                                     kInKeyOrder + " LIMIT 20";
inline const std::string kScan = std::string(kSelect) + "WHERE " + kInKeyOrder;
inline const std::string kByPosition = std::string(kSelect) + "WHERE \"_position\" = ?";
inline constexpr const char* kInsert =
    "INSERT INTO \"CADMOV1\" (\"CODFIL\", \"DTALANC\", \"CODMOV\", \"COMPLEMENTO\", \"VLRCR\", "
    "\"VLRDB\", \"SALDOATUAL\", \"FLAGSALDO\", \"~CODFIL\", \"~CODMOV\", \"~FLAGSALDO\") "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
inline constexpr const char* kUpdate =
    "UPDATE \"CADMOV1\" SET \"CODFIL\" = ?, \"DTALANC\" = ?, \"CODMOV\" = ?, \"COMPLEMENTO\" = ?, "
    "\"VLRCR\" = ?, \"VLRDB\" = ?, \"SALDOATUAL\" = ?, \"FLAGSALDO\" = ?, \"~CODFIL\" = ?, "
    "\"~CODMOV\" = ?, \"~FLAGSALDO\" = ?, \"_version\" = \"_version\" + 1 "
    "WHERE \"_position\" = ? AND \"_version\" = ?";
} // namespace cadmov1

struct StatementDeleter {
    void operator()(sqlite3_stmt* st) const;
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// A bare connection: open, the page key, and a first read that proves the key opens the file.
class Connection {
  public:
    static Result<std::unique_ptr<Connection>> open(const std::string& path);
    ~Connection();

    sqlite3* handle() const { return db_; }
    Result<Statement> prepare(const std::string& sql);
    Status exec(const std::string& sql);
    // The first column of the first row of a query, as text.
    Result<std::string> scalar(const std::string& sql);
    // Whether the engine plans the query as a search or scan of the named index, with no sort.
    bool readsThroughIndex(const std::string& sql, const std::string& index);
    Error error() const;

  private:
    sqlite3* db_ = nullptr;
};

// Reads the columns of cadmov1::kSelect into a record.
void readRow(sqlite3_stmt* st, files::Cadmov1& m);
// Binds the eleven stored columns of kInsert and kUpdate (the fields, then the folded copies of
// the case-insensitive key components) from parameter 1 on.
void bindRow(sqlite3_stmt* st, const files::Cadmov1& m);

} // namespace saldora::bench::raw
