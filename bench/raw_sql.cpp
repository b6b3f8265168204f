#include "bench/raw_sql.h"

#include "data/store.h"
#include "data/text.h"

#include <sqlcipher/sqlite3.h>

namespace saldora::bench::raw {

void StatementDeleter::operator()(sqlite3_stmt* st) const {
    sqlite3_finalize(st);
}

Result<std::unique_ptr<Connection>> Connection::open(const std::string& path) {
    auto c = std::make_unique<Connection>();
    if (sqlite3_open_v2(path.c_str(), &c->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK)
        return c->error();
    if (Status s = c->exec(store::keyPragma()); !s) return s.error();
    if (auto first = c->scalar("SELECT count(*) FROM sqlite_master"); !first) return first.error();
    return c;
}

Connection::~Connection() {
    if (db_) sqlite3_close_v2(db_);
}

Error Connection::error() const {
    return Error{1, db_ ? sqlite3_errmsg(db_) : "out of memory", db_ ? sqlite3_errcode(db_) : 0};
}

Result<Statement> Connection::prepare(const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return error();
    return Statement(st);
}

Status Connection::exec(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) return error();
    return {};
}

Result<std::string> Connection::scalar(const std::string& sql) {
    auto st = prepare(sql);
    if (!st) return st.error();
    int rc = sqlite3_step(st->get());
    if (rc == SQLITE_DONE) return std::string();
    if (rc != SQLITE_ROW) return error();
    auto text = reinterpret_cast<const char*>(sqlite3_column_text(st->get(), 0));
    return std::string(text ? text : "");
}

bool Connection::readsThroughIndex(const std::string& sql, const std::string& index) {
    auto st = prepare("EXPLAIN QUERY PLAN " + sql);
    if (!st) return false;
    bool throughIndex = false, sorted = false;
    while (sqlite3_step(st->get()) == SQLITE_ROW) {
        std::string line = reinterpret_cast<const char*>(sqlite3_column_text(st->get(), 3));
        throughIndex = throughIndex || line.find("USING INDEX " + index) != std::string::npos;
        sorted = sorted || line.find("TEMP B-TREE") != std::string::npos;
    }
    return throughIndex && !sorted;
}

namespace {
std::string text(sqlite3_stmt* st, int col) {
    auto p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
    return std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st, col)));
}
void bindText(sqlite3_stmt* st, int index, const std::string& s) {
    sqlite3_bind_text(st, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}
} // namespace

void readRow(sqlite3_stmt* st, files::Cadmov1& m) {
    m.position = sqlite3_column_int64(st, 0);
    m.version = sqlite3_column_int64(st, 1);
    m.codfil = text(st, 2);
    m.dtalanc = sqlite3_column_int(st, 3);
    m.codmov = text(st, 4);
    m.complemento = text(st, 5);
    m.vlrcr = Decimal::fromCents(sqlite3_column_int64(st, 6));
    m.vlrdb = Decimal::fromCents(sqlite3_column_int64(st, 7));
    m.saldoatual = Decimal::fromCents(sqlite3_column_int64(st, 8));
    m.flagsaldo = text(st, 9);
}

void bindRow(sqlite3_stmt* st, const files::Cadmov1& m) {
    bindText(st, 1, m.codfil);
    sqlite3_bind_int(st, 2, m.dtalanc);
    bindText(st, 3, m.codmov);
    bindText(st, 4, m.complemento);
    sqlite3_bind_int64(st, 5, m.vlrcr.cents());
    sqlite3_bind_int64(st, 6, m.vlrdb.cents());
    sqlite3_bind_int64(st, 7, m.saldoatual.cents());
    bindText(st, 8, m.flagsaldo);
    bindText(st, 9, cp1252::upper(m.codfil));
    bindText(st, 10, cp1252::upper(m.codmov));
    bindText(st, 11, cp1252::upper(m.flagsaldo));
}

} // namespace saldora::bench::raw
