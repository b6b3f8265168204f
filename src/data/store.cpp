#include "data/store.h"

#include "data/text.h"

#include <sodium.h>
#include <sqlcipher/sqlite3.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <mutex>
#include <unordered_map>

namespace saldora::store {
namespace {

constexpr const char* kLayoutTable = "_saldora_layout";
constexpr int kBusyMilliseconds = 2000;
// Rows fetched at a time: a seek reads a small batch; a reader that keeps going the same way gets
// batches that double up to the largest, so a long scan pays the engine's per-read cost rarely.
constexpr int kBatch = 64;
constexpr int kLargestBatch = 1024;

std::string quote(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// The page key, derived once per process from the program's secret.
const std::string& rawKeyPragma() {
    static std::once_flag once;
    static std::string pragma;
    std::call_once(once, [] {
        if (sodium_init() < 0) std::abort();
        std::string secret = dataFileOwner();
        unsigned char key[32];
        static const char kContext[] = "saldora record files v1";
        crypto_generichash(key, sizeof key, reinterpret_cast<const unsigned char*>(secret.data()),
                           secret.size(), reinterpret_cast<const unsigned char*>(kContext),
                           sizeof kContext - 1);
        char hex[65];
        sodium_bin2hex(hex, sizeof hex, key, sizeof key);
        sodium_memzero(key, sizeof key);
        sodium_memzero(secret.data(), secret.size());
        // 4 KiB pages: a write re-encrypts far fewer pages than with the engine's 1 KiB default.
        // Every connection must say so, since the file does not record it.
        pragma = std::string("PRAGMA key = \"x'") + hex + "'\"; PRAGMA cipher_page_size = 4096";
    });
    return pragma;
}

std::string errorText(int code) {
    switch (code) {
    case errc::NotFound: return "Arquivo não encontrado";
    case errc::AccessDenied: return "Acesso negado";
    case errc::Locked: return "Arquivo bloqueado por outra estação";
    case errc::RecordNotFound: return "Registro não encontrado";
    case errc::InvalidDataFile: return "Arquivo de dados inválido";
    case errc::InvalidKeyFile: return "Chave do arquivo deve ser reconstruída";
    case errc::DuplicateKey: return "Chave duplicada";
    case errc::WrongLayout: return "Declaração de registro inválida";
    case errc::ChangedByAnotherStation: return "Registro alterado por outra estação";
    default: return "Erro do sistema de arquivos";
    }
}

Error storeError(int code, std::string detail = {}) {
    std::string text = errorText(code);
    if (!detail.empty()) text += ": " + detail;
    return Error{code, text};
}

// Case-insensitive keys index a folded copy of their text components (the "~" columns, written
// with every record), compared byte by byte. The engine's row-value seeks use an index only when
// its leading column compares in binary order, so a collation would turn seeks into scans.
bool hasFoldedColumn(const Table& t, int field) {
    if (!t.fields[field].isText()) return false;
    for (const Key& k : t.keys)
        if (k.noCase)
            for (int i : t.keyFields(k))
                if (i == field) return true;
    return false;
}

std::vector<int> foldedColumns(const Table& t) {
    std::vector<int> out;
    for (size_t i = 0; i < t.fields.size(); ++i)
        if (hasFoldedColumn(t, static_cast<int>(i))) out.push_back(static_cast<int>(i));
    return out;
}

std::string foldedName(const Field& f) { return "~" + std::string(f.column()); }

// The column a key component is stored in within the key's index.
std::string keyColumnName(const Table& t, const Key& k, int field) {
    const Field& f = t.fields[field];
    return k.noCase && f.isText() ? foldedName(f) : std::string(f.column());
}

// A search value as the key's index holds it.
Value keyValue(const Table& t, const Key& k, int field, const Value& v) {
    if (k.noCase && t.fields[field].isText())
        if (auto s = std::get_if<std::string>(&v)) return cp1252::upper(*s);
    return v;
}

std::string blankTest(const Table& t, const Key& k) {
    std::string w;
    for (int i : t.keyFields(k)) {
        if (!w.empty()) w += " OR ";
        w += quote(keyColumnName(t, k, i)) + (t.fields[i].isText() ? " <> ''" : " <> 0");
    }
    return "(" + w + ")";
}

std::string indexSql(const Table& t, const Key& k) {
    std::string sql = std::string("CREATE ") + (k.unique ? "UNIQUE " : "") + "INDEX " +
                      quote(k.name) + " ON " + quote(t.name) + " (";
    bool first = true;
    for (int i : t.keyFields(k)) {
        if (!first) sql += ", ";
        first = false;
        sql += quote(keyColumnName(t, k, i));
    }
    sql += ")";
    if (k.excludeBlank) sql += " WHERE " + blankTest(t, k);
    return sql;
}

std::string tableSql(const Table& t) {
    std::string sql = "CREATE TABLE " + quote(t.name) +
                      " (\"_position\" INTEGER PRIMARY KEY, \"_version\" INTEGER NOT NULL DEFAULT 1";
    for (const Field& f : t.fields) {
        sql += ", " + quote(f.column());
        switch (f.type) {
        case FieldType::String:
        case FieldType::CString:
        case FieldType::Memo: sql += " TEXT NOT NULL DEFAULT ''"; break;
        case FieldType::Real: sql += " REAL NOT NULL DEFAULT 0"; break;
        default: sql += " INTEGER NOT NULL DEFAULT 0"; break;
        }
    }
    for (int i : foldedColumns(t)) sql += ", " + quote(foldedName(t.fields[i])) + " TEXT NOT NULL DEFAULT ''";
    return sql + ")";
}

void bindValue(sqlite3_stmt* st, int index, const Value& v) {
    if (auto i = std::get_if<int64_t>(&v)) sqlite3_bind_int64(st, index, *i);
    else if (auto d = std::get_if<double>(&v)) sqlite3_bind_double(st, index, *d);
    else {
        const auto& s = std::get<std::string>(v);
        sqlite3_bind_text(st, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
}

Value columnValue(sqlite3_stmt* st, int col, const Field& f) {
    if (f.isText()) {
        auto p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
        return std::string(p ? p : "", sqlite3_column_bytes(st, col));
    }
    if (f.type == FieldType::Real) return sqlite3_column_double(st, col);
    return static_cast<int64_t>(sqlite3_column_int64(st, col));
}

std::string selectList(const Table& t) {
    std::string s = "\"_position\", \"_version\"";
    for (const Field& f : t.fields) s += ", " + quote(f.column());
    return s;
}

} // namespace

// Values were fitted to their fields when written: a read takes them as they stand.
Record Database::readStored(sqlite3_stmt* st, const Table& t) {
    Record r;
    r.table_ = &t;
    r.position = sqlite3_column_int64(st, 0);
    r.version = sqlite3_column_int64(st, 1);
    r.values_.reserve(t.fields.size());
    for (size_t i = 0; i < t.fields.size(); ++i)
        r.values_.push_back(columnValue(st, static_cast<int>(i) + 2, t.fields[i]));
    return r;
}

// ---------------------------------------------------------------------------------------------
// Values and records

Value blankValue(const Field& f) {
    if (f.isText()) return std::string();
    if (f.type == FieldType::Real) return 0.0;
    return int64_t{0};
}

Result<Value> fitValue(const Field& f, Value v) {
    auto wrongKind = [&] { return Error{1, "Valor de tipo inválido para " + f.name + "."}; };
    auto outOfRange = [&] { return Error{2, "Valor fora do limite do campo " + f.name + "."}; };
    if (f.isText()) {
        auto s = std::get_if<std::string>(&v);
        if (!s) return wrongKind();
        size_t cap = static_cast<size_t>(std::max(0, f.textCapacity()));
        if (f.type == FieldType::String) return Value(fixed::fit(*s, cap));
        return Value(s->substr(0, std::min(cap, s->size())));
    }
    if (f.type == FieldType::Real) {
        if (std::holds_alternative<double>(v)) return v;
        if (auto i = std::get_if<int64_t>(&v)) return Value(static_cast<double>(*i));
        return wrongKind();
    }
    auto i = std::get_if<int64_t>(&v);
    if (!i) return wrongKind();
    int64_t lo, hi;
    switch (f.type) {
    case FieldType::Long: lo = std::numeric_limits<int32_t>::min(); hi = std::numeric_limits<int32_t>::max(); break;
    case FieldType::Short: lo = std::numeric_limits<int16_t>::min(); hi = std::numeric_limits<int16_t>::max(); break;
    case FieldType::Byte: lo = 0; hi = 255; break;
    case FieldType::ULong: lo = 0; hi = std::numeric_limits<uint32_t>::max(); break;
    default: hi = Decimal::maxCents(f.size); lo = -hi; break;
    }
    if (*i < lo || *i > hi) return outOfRange();
    return v;
}

Record::Record(const Table& table) : table_(&table) {
    values_.reserve(table.fields.size());
    for (const Field& f : table.fields) values_.push_back(blankValue(f));
}

const Value& Record::get(std::string_view name) const {
    int i = table_->fieldIndex(name);
    if (i < 0) throw std::out_of_range("no field " + std::string(name));
    return values_[i];
}

Status Record::set(int field, Value v) {
    auto fitted = fitValue(table_->fields[field], std::move(v));
    if (!fitted) return fitted.error();
    values_[field] = std::move(*fitted);
    return {};
}

Status Record::set(std::string_view name, Value v) {
    int i = table_->fieldIndex(name);
    if (i < 0) return Error{3, "Campo desconhecido: " + std::string(name) + "."};
    return set(i, std::move(v));
}

std::string Record::text(int field) const {
    auto s = std::get_if<std::string>(&values_[field]);
    return s ? *s : std::string();
}

int64_t Record::integer(int field) const {
    if (auto i = std::get_if<int64_t>(&values_[field])) return *i;
    if (auto d = std::get_if<double>(&values_[field])) return static_cast<int64_t>(*d);
    return 0;
}

double Record::real(int field) const {
    if (auto d = std::get_if<double>(&values_[field])) return *d;
    if (auto i = std::get_if<int64_t>(&values_[field])) return static_cast<double>(*i);
    return 0;
}

const Key& positionKey() {
    static const Key k{"(posição)", {}, true, false, false, false};
    return k;
}

std::string withDefaultExtension(const std::string& name) {
    auto slash = name.find_last_of("/\\");
    auto dot = name.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return name;
    return name + kDefaultExtension;
}

std::string dataFileOwner() {
    // Built from single characters at run time, so the secret never stands as one literal.
    static const char pieces[][2] = {"S", "l", "d", "#", "7", "q", "R", "v", "e", "!", "2", "w",
                                     "K", "o", "9", "x", "M", "a", "c", "&", "T", "4", "z", "P"};
    std::string s;
    for (const auto& p : pieces) s += p[0];
    return s;
}

const std::string& keyPragma() { return rawKeyPragma(); }

// ---------------------------------------------------------------------------------------------
// Database

namespace {
// What writing a table's records takes, worked out from its layout once per connection: finding
// the folded columns walks every key's components by name, too slow to repeat for every record.
struct TableWrites {
    std::vector<int> folded; // fields with a folded copy, in the order of their columns
    std::string insert, update;
};

TableWrites tableWrites(const Table& t) {
    TableWrites w{foldedColumns(t), {}, {}};
    std::string cols, marks, sets;
    auto column = [&](const std::string& name) {
        cols += (cols.empty() ? "" : ", ") + quote(name);
        marks += marks.empty() ? "?" : ", ?";
        sets += quote(name) + " = ?, ";
    };
    for (const Field& f : t.fields) column(std::string(f.column()));
    for (int i : w.folded) column(foldedName(t.fields[i]));
    w.insert = "INSERT INTO " + quote(t.name) + " (" + cols + ") VALUES (" + marks + ")";
    w.update = "UPDATE " + quote(t.name) + " SET " + sets +
               "\"_version\" = \"_version\" + 1 WHERE \"_position\" = ? AND \"_version\" = ?";
    return w;
}
} // namespace

struct Database::Cache {
    std::unordered_map<std::string, sqlite3_stmt*> statements;
    std::unordered_map<const Table*, TableWrites> writes;
    const TableWrites& writesOf(const Table& t) {
        auto it = writes.find(&t);
        if (it == writes.end()) it = writes.emplace(&t, tableWrites(t)).first;
        return it->second;
    }
    ~Cache() {
        for (auto& [sql, st] : statements) sqlite3_finalize(st);
    }
};

Database::Database(std::string path, const FileLayout& layout)
    : path_(std::move(path)), layout_(layout), cache_(std::make_unique<Cache>()) {}

Database::~Database() {
    cache_.reset();
    if (db_) sqlite3_close_v2(db_);
}

std::string Database::sqlName(const Table& t) { return quote(t.name); }
std::string Database::sqlColumn(const Field& f) { return quote(f.column()); }

Error Database::engineError(int rc) const {
    int primary = rc & 0xFF;
    const char* msg = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return storeError(errc::Locked);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return storeError(errc::InvalidDataFile, msg);
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH: return storeError(errc::AccessDenied, msg);
    case SQLITE_CANTOPEN: return storeError(errc::AccessDenied, msg);
    default: return Error{errc::EngineError, msg ? msg : sqlite3_errstr(rc), rc};
    }
}

sqlite3_stmt* Database::statement(const std::string& sql) {
    auto it = cache_->statements.find(sql);
    if (it != cache_->statements.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return nullptr;
    cache_->statements.emplace(sql, st);
    return st;
}

namespace {
// Runs a statement without results; returns the engine's code.
int exec(sqlite3* db, const std::string& sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}
} // namespace

Result<std::unique_ptr<Database>> Database::open(const std::string& path, const FileLayout& layout,
                                                 Create create, Verify verify) {
    std::error_code ec;
    bool exists = std::filesystem::exists(path, ec);
    if (!exists && create == Create::Never) return storeError(errc::NotFound, path);
    std::string fault = validate(layout);
    if (!fault.empty()) return storeError(errc::WrongLayout, fault);

    std::unique_ptr<Database> db(new Database(path, layout));
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (exists ? 0 : SQLITE_OPEN_CREATE);
    int rc = sqlite3_open_v2(path.c_str(), &db->db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        if (!exists && create == Create::IfMissing) return storeError(errc::AccessDenied, path);
        return db->engineError(rc);
    }
    sqlite3_extended_result_codes(db->db_, 1);
    if (layout.encrypted && exec(db->db_, rawKeyPragma()) != SQLITE_OK)
        return storeError(errc::InvalidDataFile, "a criptografia não está disponível");
    sqlite3_busy_timeout(db->db_, kBusyMilliseconds);

    // The first read of the file tells whether the secret opens it.
    sqlite3_stmt* st = db->statement("SELECT count(*) FROM sqlite_master");
    if (!st) return db->engineError(sqlite3_errcode(db->db_));
    rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) {
        Error e = db->engineError(rc);
        sqlite3_reset(st);
        return e;
    }
    bool empty = sqlite3_column_int(st, 0) == 0;
    sqlite3_reset(st);

    if (Status s = db->configure(empty); !s) return s.error();
    if (empty) {
        if (Status s = db->createSchema(); !s) return s.error();
    } else if (Status s = db->verifyLayout(); !s) {
        return s.error();
    } else if (verify == Verify::Full) {
        if (Status k = db->verifyKeys(); !k) return k.error();
    }
    return db;
}

Status Database::configure(bool) {
    // A rollback journal with full syncs: WAL needs shared memory, which network shares lack.
    for (const char* pragma : {"PRAGMA journal_mode = DELETE", "PRAGMA synchronous = FULL"}) {
        sqlite3_stmt* st = nullptr;
        int rc = sqlite3_prepare_v2(db_, pragma, -1, &st, nullptr);
        if (rc == SQLITE_OK) {
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            }
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) return engineError(rc);
    }
    return {};
}

Status Database::createSchema() {
    if (Status s = begin(); !s) return s;
    auto fail = [&](int rc) {
        Error e = engineError(rc);
        rollback();
        return e;
    };
    // Another station may have created the file in the meantime.
    sqlite3_stmt* st = statement("SELECT count(*) FROM sqlite_master");
    int rc = sqlite3_step(st);
    bool stillEmpty = rc == SQLITE_ROW && sqlite3_column_int(st, 0) == 0;
    sqlite3_reset(st);
    if (!stillEmpty) {
        rollback();
        Status s = verifyLayout();
        return s ? verifyKeys() : s;
    }
    if ((rc = exec(db_, std::string("CREATE TABLE ") + kLayoutTable +
                            " (table_name TEXT PRIMARY KEY, signature TEXT NOT NULL)")) != SQLITE_OK)
        return fail(rc);
    for (const Table& t : layout_.tables) {
        if ((rc = exec(db_, tableSql(t))) != SQLITE_OK) return fail(rc);
        for (const Key& k : t.keys)
            if ((rc = exec(db_, indexSql(t, k))) != SQLITE_OK) return fail(rc);
        sqlite3_stmt* ins = statement(std::string("INSERT INTO ") + kLayoutTable + " VALUES (?, ?)");
        std::string sig = t.signature();
        sqlite3_bind_text(ins, 1, t.name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(ins, 2, sig.c_str(), -1, SQLITE_TRANSIENT);
        rc = sqlite3_step(ins);
        sqlite3_reset(ins);
        if (rc != SQLITE_DONE) return fail(rc);
    }
    return commit();
}

Status Database::verifyLayout() {
    // The layout kept in the file must be the program's.
    sqlite3_stmt* st =
        statement(std::string("SELECT signature FROM ") + kLayoutTable + " WHERE table_name = ?");
    if (!st) return storeError(errc::WrongLayout, "o arquivo não tem a descrição de registros");
    for (const Table& t : layout_.tables) {
        sqlite3_bind_text(st, 1, t.name.c_str(), -1, SQLITE_TRANSIENT);
        int rc = sqlite3_step(st);
        std::string stored =
            rc == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(st, 0)) : "";
        sqlite3_reset(st);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) return engineError(rc);
        if (stored != t.signature()) return storeError(errc::WrongLayout, t.name);
    }
    return {};
}

Status Database::verifyKeys() {
    // Every key must stand as the layout declares it. This reads only the schema, so opening
    // stays cheap on a large file; the data tool's check reads the keys' contents.
    sqlite3_stmt* idx = statement("SELECT sql FROM sqlite_master WHERE type = 'index' AND name = ?");
    for (const Table& t : layout_.tables) {
        for (const Key& k : t.keys) {
            sqlite3_bind_text(idx, 1, k.name.c_str(), -1, SQLITE_TRANSIENT);
            int rc = sqlite3_step(idx);
            std::string sql =
                rc == SQLITE_ROW && sqlite3_column_text(idx, 0)
                    ? reinterpret_cast<const char*>(sqlite3_column_text(idx, 0))
                    : "";
            sqlite3_reset(idx);
            if (rc != SQLITE_ROW && rc != SQLITE_DONE) return engineError(rc);
            if (sql != indexSql(t, k)) return storeError(errc::InvalidKeyFile, k.name);
        }
    }
    return {};
}

Status Database::begin() {
    int rc = exec(db_, "BEGIN IMMEDIATE");
    if (rc != SQLITE_OK) return engineError(rc);
    return {};
}

Status Database::commit() {
    int rc = exec(db_, "COMMIT");
    if (rc != SQLITE_OK) {
        Error e = engineError(rc);
        rollback();
        return e;
    }
    return {};
}

void Database::rollback() {
    if (inTransaction()) exec(db_, "ROLLBACK");
}

bool Database::inTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

Result<int64_t> Database::count(const Table& t) {
    sqlite3_stmt* st = statement("SELECT count(*) FROM " + quote(t.name));
    if (!st) return engineError(sqlite3_errcode(db_));
    int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) {
        Error e = engineError(rc);
        sqlite3_reset(st);
        return e;
    }
    int64_t n = sqlite3_column_int64(st, 0);
    sqlite3_reset(st);
    return n;
}

Status Database::write(const Table& t, const std::string& sql, Record& r, bool update) {
    if (&r.table() != &t) return Error{3, "Registro de outra tabela."};
    sqlite3_stmt* st = statement(sql);
    if (!st) return engineError(sqlite3_errcode(db_));
    int n = static_cast<int>(t.fields.size());
    for (int i = 0; i < n; ++i) bindValue(st, i + 1, r[i]);
    for (int i : cache_->writesOf(t).folded) bindValue(st, ++n, Value(cp1252::upper(r.text(i))));
    if (update) {
        sqlite3_bind_int64(st, n + 1, r.position);
        sqlite3_bind_int64(st, n + 2, r.version);
    }
    int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
        // Name the key the record collides on, from the engine's "table.column, ..." list.
        std::string msg = sqlite3_errmsg(db_);
        for (const Key& k : t.keys) {
            if (!k.unique) continue;
            std::string cols;
            for (int i : t.keyFields(k))
                cols += (cols.empty() ? "" : ", ") + t.name + "." + keyColumnName(t, k, i);
            if (msg.find(cols) != std::string::npos) return storeError(errc::DuplicateKey, k.name);
        }
        return storeError(errc::DuplicateKey);
    }
    if (rc != SQLITE_DONE) return engineError(rc);
    if (!update) {
        r.position = sqlite3_last_insert_rowid(db_);
        r.version = 1;
        return {};
    }
    if (sqlite3_changes(db_) == 1) {
        ++r.version;
        return {};
    }
    sqlite3_stmt* probe = statement("SELECT 1 FROM " + quote(t.name) + " WHERE \"_position\" = ?");
    sqlite3_bind_int64(probe, 1, r.position);
    rc = sqlite3_step(probe);
    sqlite3_reset(probe);
    if (rc == SQLITE_ROW) return storeError(errc::ChangedByAnotherStation);
    if (rc == SQLITE_DONE) return storeError(errc::RecordNotFound);
    return engineError(rc);
}

Status Database::add(Record& r) {
    return write(r.table(), cache_->writesOf(r.table()).insert, r, false);
}

Status Database::put(Record& r) {
    return write(r.table(), cache_->writesOf(r.table()).update, r, true);
}

Status Database::remove(const Record& r) {
    const Table& t = r.table();
    sqlite3_stmt* st = statement("DELETE FROM " + quote(t.name) + " WHERE \"_position\" = ?");
    if (!st) return engineError(sqlite3_errcode(db_));
    sqlite3_bind_int64(st, 1, r.position);
    int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) return engineError(rc);
    if (sqlite3_changes(db_) == 0) return storeError(errc::RecordNotFound);
    return {};
}

Result<Record> Database::get(const Table& t, int64_t position) {
    sqlite3_stmt* st =
        statement("SELECT " + selectList(t) + " FROM " + quote(t.name) + " WHERE \"_position\" = ?");
    if (!st) return engineError(sqlite3_errcode(db_));
    sqlite3_bind_int64(st, 1, position);
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        Record r = readStored(st, t);
        sqlite3_reset(st);
        return r;
    }
    sqlite3_reset(st);
    if (rc == SQLITE_DONE) return storeError(errc::RecordNotFound);
    return engineError(rc);
}

Result<std::optional<Record>> Database::last(const Table& t) {
    sqlite3_stmt* st = statement("SELECT " + selectList(t) + " FROM " + quote(t.name) +
                                 " ORDER BY \"_position\" DESC LIMIT 1");
    if (!st) return engineError(sqlite3_errcode(db_));
    int rc = sqlite3_step(st);
    std::optional<Record> r;
    if (rc == SQLITE_ROW) r = readStored(st, t);
    sqlite3_reset(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return engineError(rc);
    return r;
}

Status Database::rebuildKeys() {
    if (Status s = begin(); !s) return s;
    for (const Table& t : layout_.tables) {
        // Drop every index of the table, including any the layout does not know.
        std::vector<std::string> names;
        sqlite3_stmt* st = statement(
            "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ? AND sql IS NOT NULL");
        sqlite3_bind_text(st, 1, t.name.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(st) == SQLITE_ROW)
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_reset(st);
        for (const auto& n : names) {
            if (int rc = exec(db_, "DROP INDEX " + quote(n)); rc != SQLITE_OK) {
                Error e = engineError(rc);
                rollback();
                return e;
            }
        }
        for (const Key& k : t.keys) {
            if (int rc = exec(db_, indexSql(t, k)); rc != SQLITE_OK) {
                Error e = engineError(rc);
                if (rc == SQLITE_CONSTRAINT_UNIQUE) e = storeError(errc::DuplicateKey, k.name);
                rollback();
                return e;
            }
        }
    }
    cache_ = std::make_unique<Cache>(); // statements may refer to the old indexes
    return commit();
}

Result<std::vector<std::string>> Database::check() {
    std::vector<std::string> faults;
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db_, "PRAGMA integrity_check", -1, &st, nullptr);
    if (rc != SQLITE_OK) return engineError(rc);
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        std::string line = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        if (line != "ok") faults.push_back(line);
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) return engineError(rc);
    if (Status s = verifyLayout(); !s) faults.push_back(s.error().text);
    else if (Status k = verifyKeys(); !k) faults.push_back(k.error().text);
    return faults;
}

// ---------------------------------------------------------------------------------------------
// Cursor

struct Cursor::Impl {
    enum class Place { AtOrAfter, AtOrBefore, On };

    Database& db;
    const Table& table;
    const Key& key;
    std::vector<int> fields;
    std::string blank; // the partial index's condition, repeated so the index is usable
    Place place = Place::AtOrAfter;
    std::vector<Value> anchor; // prefix values, or key values + position when On
    std::vector<Record> buffer;
    size_t next = 0;
    Direction bufferDirection = Direction::Forward;
    bool bufferComplete = false; // the last fetch reached the end
    int batch = kBatch;

    Impl(Database& d, const Table& t, const Key& k)
        : db(d), table(t), key(k), fields(t.keyFields(k)),
          blank(k.excludeBlank ? blankTest(t, k) : "") {}

    std::string columns(size_t n, bool withPosition) const {
        std::string s;
        for (size_t i = 0; i < n; ++i)
            s += (i ? ", " : "") + quote(keyColumnName(table, key, fields[i]));
        if (withPosition) s += std::string(n ? ", " : "") + "\"_position\"";
        return s;
    }

    std::string order(Direction d) const {
        const char* dir = d == Direction::Forward ? "" : " DESC";
        std::string s;
        for (size_t i = 0; i < fields.size(); ++i)
            s += quote(keyColumnName(table, key, fields[i])) + dir + ", ";
        return s + "\"_position\"" + dir;
    }

    // The query for a read in direction d from a place given by `anchored` values (a prefix of
    // the key, or the key and the position when standing on a record).
    std::string query(Direction d, Place p, size_t anchored) const {
        bool withPosition = p == Place::On;
        size_t n = withPosition ? anchored - 1 : anchored;
        std::string op;
        if (p == Place::On) op = d == Direction::Forward ? ">" : "<";
        else if (p == Place::AtOrAfter) op = d == Direction::Forward ? ">=" : "<";
        else op = d == Direction::Forward ? ">" : "<=";
        std::string where;
        if (anchored > 0) {
            std::string marks;
            for (size_t i = 0; i < anchored; ++i) marks += i ? ", ?" : "?";
            where = "(" + columns(n, withPosition) + ") " + op + " (" + marks + ")";
        }
        if (!blank.empty()) where += (where.empty() ? "" : " AND ") + blank;
        return "SELECT " + selectList(table) + " FROM " + quote(table.name) +
               (where.empty() ? "" : " WHERE " + where) + " ORDER BY " + order(d) + " LIMIT ?";
    }

    Result<std::vector<Record>> fetch(Direction d, int limit) {
        std::string sql = query(d, place, anchor.size());
        sqlite3_stmt* st = db.statement(sql);
        if (!st) return db.engineError(sqlite3_errcode(db.db_));
        int p = 1;
        for (const Value& v : anchor) bindValue(st, p++, v);
        sqlite3_bind_int(st, p, limit);
        std::vector<Record> rows;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) rows.push_back(Database::readStored(st, table));
        sqlite3_reset(st); // releases the read lock: no lock is held between calls
        if (rc != SQLITE_DONE) return db.engineError(rc);
        return rows;
    }

    void standOn(const Record& r) {
        place = Place::On;
        anchor.clear();
        for (int i : fields) anchor.push_back(keyValue(table, key, i, r[i]));
        anchor.push_back(Value(r.position));
    }

    void reposition(Place p, const std::vector<Value>& prefix) {
        place = p;
        anchor.clear();
        for (size_t i = 0; i < prefix.size() && i < fields.size(); ++i) {
            auto fitted = fitValue(table.fields[fields[i]], prefix[i]);
            anchor.push_back(keyValue(table, key, fields[i], fitted ? *fitted : prefix[i]));
        }
        buffer.clear();
        next = 0;
    }

    Result<std::optional<Record>> step(Direction d) {
        if (next >= buffer.size() || bufferDirection != d) {
            if (bufferDirection == d && next >= buffer.size() && bufferComplete && !buffer.empty())
                return std::optional<Record>{};
            batch = bufferDirection == d && !buffer.empty() ? std::min(batch * 2, kLargestBatch)
                                                             : kBatch;
            auto rows = fetch(d, batch);
            if (!rows) return rows.error();
            buffer = std::move(*rows);
            next = 0;
            bufferDirection = d;
            bufferComplete = buffer.size() < static_cast<size_t>(batch);
            if (buffer.empty()) return std::optional<Record>{};
        }
        Record r = std::move(buffer[next++]);
        standOn(r);
        return std::optional<Record>(std::move(r));
    }
};

Cursor::Cursor(Database& db, const Table& table, const Key& key)
    : impl_(std::make_unique<Impl>(db, table, key)) {}
Cursor::~Cursor() = default;

void Cursor::seekAtOrAfter(const std::vector<Value>& prefix) {
    impl_->reposition(Impl::Place::AtOrAfter, prefix);
}

void Cursor::seekAtOrBefore(const std::vector<Value>& prefix) {
    impl_->reposition(Impl::Place::AtOrBefore, prefix);
}

void Cursor::seekTo(const Record& r) {
    impl_->buffer.clear();
    impl_->next = 0;
    impl_->standOn(r);
}

Result<std::optional<Record>> Cursor::next() { return impl_->step(Direction::Forward); }
Result<std::optional<Record>> Cursor::previous() { return impl_->step(Direction::Backward); }

std::vector<std::string> Cursor::explain() {
    std::vector<std::string> lines;
    const Impl& m = *impl_;
    for (Direction d : {Direction::Forward, Direction::Backward}) {
        for (auto p : {Impl::Place::AtOrAfter, Impl::Place::AtOrBefore, Impl::Place::On}) {
            size_t from = p == Impl::Place::On ? m.fields.size() + 1 : 0;
            size_t to = p == Impl::Place::On ? m.fields.size() + 1 : m.fields.size();
            for (size_t n = from; n <= to; ++n) {
                std::string sql = "EXPLAIN QUERY PLAN " + m.query(d, p, n);
                sqlite3_stmt* st = nullptr;
                if (sqlite3_prepare_v2(m.db.db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
                    lines.push_back("ERRO: " + std::string(sqlite3_errmsg(m.db.db_)));
                    continue;
                }
                while (sqlite3_step(st) == SQLITE_ROW)
                    lines.push_back(std::to_string(n) + ": " +
                                    reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
                sqlite3_finalize(st);
            }
        }
    }
    return lines;
}

Result<std::vector<Record>> Cursor::page(int n, Direction d) {
    impl_->buffer.clear();
    impl_->next = 0;
    auto rows = impl_->fetch(d, n);
    if (rows && !rows->empty()) impl_->standOn(rows->back());
    return rows;
}

} // namespace saldora::store
