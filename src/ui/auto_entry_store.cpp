#include "ui/auto_entry_store.h"

#include "data/text.h"

#include <algorithm>

namespace saldora::ui {

namespace auto_entry {

const store::FileLayout& layout() {
    using store::FieldType;
    using store::Key;
    // Both keys lead with the procedure and the field, letter case aside: KEY_VALOR finds a value
    // and the values that begin with a prefix, KEY_USO the field's oldest and latest use.
    static const store::FileLayout l{
        "AutoEntry",
        kFileName,
        true,
        {store::Table{"AUTOENTRY",
                      "AUT",
                      {{"AUT:PROCEDIMENTO", FieldType::String, kNameWidth},
                       {"AUT:CAMPO", FieldType::String, kNameWidth},
                       {"AUT:VALOR", FieldType::String, kValueWidth},
                       {"AUT:USOS", FieldType::Long, 4},
                       {"AUT:ULTIMOUSO", FieldType::Long, 4}},
                      {Key{"AUT:KEY_VALOR",
                           {"AUT:PROCEDIMENTO", "AUT:CAMPO", "AUT:VALOR"},
                           true,
                           true,
                           false,
                           false},
                       Key{"AUT:KEY_USO",
                           {"AUT:PROCEDIMENTO", "AUT:CAMPO", "AUT:ULTIMOUSO"},
                           true,
                           true,
                           false,
                           false}}}}};
    return l;
}

const store::Table& AutoEntryValue::table() {
    return layout().tables[0];
}

const std::vector<Member<AutoEntryValue>>& AutoEntryValue::members() {
    using R = AutoEntryValue;
    static const std::vector<Member<R>> m{&R::procedimento, &R::campo, &R::valor, &R::usos,
                                          &R::ultimouso};
    return m;
}

} // namespace auto_entry

namespace {

using auto_entry::AutoEntryValue;
using auto_entry::kNameWidth;
using auto_entry::kValuesPerField;
using auto_entry::kValueWidth;

const store::Key& key(const char* name) {
    return *AutoEntryValue::table().key(name);
}

bool ofField(const AutoEntryValue& v, std::string_view procedure, std::string_view field) {
    return cp1252::compareNoCase(v.procedimento, procedure) == 0 &&
           cp1252::compareNoCase(v.campo, field) == 0;
}

// A name that the file would cut would mix the values of two fields.
Status checkNames(std::string_view procedure, std::string_view field) {
    for (std::string_view name : {procedure, field})
        if (fixed::isBlank(name) || name.size() > static_cast<size_t>(kNameWidth))
            return Error{0, "Nome inválido para o preenchimento automático: \"" +
                                cp1252::toUtf8(name) + "\""};
    return Status::success();
}

// Number of the field's next use: one above its latest.
Result<int32_t> nextUse(store::Database& db, std::string_view procedure, std::string_view field) {
    store::Cursor byUse(db, AutoEntryValue::table(), key("AUT:KEY_USO"));
    byUse.seekAtOrBefore({std::string(procedure), std::string(field)});
    auto latest = byUse.previous();
    if (!latest) return latest.error();
    if (!*latest) return 1;
    auto v = fromRecord<AutoEntryValue>(**latest);
    return ofField(v, procedure, field) ? v.ultimouso + 1 : 1;
}

// Removes the field's least recently used values beyond the cap.
Status dropBeyondCap(store::Database& db, std::string_view procedure, std::string_view field) {
    store::Cursor byUse(db, AutoEntryValue::table(), key("AUT:KEY_USO"));
    byUse.seekAtOrAfter({std::string(procedure), std::string(field)});
    std::vector<store::Record> values; // oldest first
    for (;;) {
        auto r = byUse.next();
        if (!r) return r.error();
        if (!*r || !ofField(fromRecord<AutoEntryValue>(**r), procedure, field)) break;
        values.push_back(std::move(**r));
    }
    for (size_t i = 0; i + kValuesPerField < values.size(); ++i)
        if (Status s = db.remove(values[i]); !s) return s;
    return Status::success();
}

} // namespace

AutoEntryStore::AutoEntryStore(std::unique_ptr<store::Database> db) : db_(std::move(db)) {}
AutoEntryStore::~AutoEntryStore() = default;

const std::string& AutoEntryStore::path() const {
    return db_->path();
}

Result<std::unique_ptr<AutoEntryStore>> AutoEntryStore::open(const std::string& path) {
    using store::Database;
    const store::FileLayout& layout = auto_entry::layout();
    auto db = Database::open(path, layout, Database::Create::IfMissing);
    // Another station writing: the engine has waited already; once more.
    if (!db && db.error().code == store::errc::Locked)
        db = Database::open(path, layout, Database::Create::IfMissing);
    if (!db && db.error().code == store::errc::InvalidKeyFile) {
        auto damaged =
            Database::open(path, layout, Database::Create::Never, Database::Verify::Layout);
        if (!damaged) return damaged.error();
        if (Status s = (*damaged)->rebuildKeys(); !s) return s.error();
        damaged->reset();
        db = Database::open(path, layout);
    }
    if (!db) return db.error();
    return std::unique_ptr<AutoEntryStore>(new AutoEntryStore(std::move(*db)));
}

Status AutoEntryStore::remember(std::string_view procedure, std::string_view field,
                                std::string_view value) {
    if (Status s = checkNames(procedure, field); !s) return s;
    const std::string_view typed = fixed::clip(value);
    if (fixed::isBlank(typed) || typed.size() > static_cast<size_t>(kValueWidth))
        return Status::success();

    store::Transaction transaction(*db_);
    if (!transaction.status()) return transaction.status();
    auto use = nextUse(*db_, procedure, field);
    if (!use) return use.error();

    store::Cursor byValue(*db_, AutoEntryValue::table(), key("AUT:KEY_VALOR"));
    byValue.seekAtOrAfter({std::string(procedure), std::string(field), std::string(typed)});
    auto found = byValue.next();
    if (!found) return found.error();
    AutoEntryValue entry;
    if (*found) entry = fromRecord<AutoEntryValue>(**found);
    const bool known = *found && ofField(entry, procedure, field) &&
                       cp1252::compareNoCase(entry.valor, typed) == 0;
    if (!known) {
        entry = AutoEntryValue{};
        entry.procedimento = procedure;
        entry.campo = field;
    }
    entry.valor = typed;
    ++entry.usos;
    entry.ultimouso = *use;

    auto record = toRecord(entry);
    if (!record) return record.error();
    if (Status s = known ? db_->put(*record) : db_->add(*record); !s) return s;
    if (!known)
        if (Status s = dropBeyondCap(*db_, procedure, field); !s) return s;
    return transaction.commit();
}

Result<std::vector<std::string>> AutoEntryStore::suggestions(std::string_view procedure,
                                                             std::string_view field,
                                                             std::string_view prefix, int limit) {
    if (Status s = checkNames(procedure, field); !s) return s.error();
    const std::string folded = cp1252::upper(prefix);

    // The values that begin with the prefix follow one another in the key's (folded) order.
    store::Cursor byValue(*db_, AutoEntryValue::table(), key("AUT:KEY_VALOR"));
    byValue.seekAtOrAfter({std::string(procedure), std::string(field), std::string(prefix)});
    std::vector<AutoEntryValue> matching;
    for (;;) {
        auto r = byValue.next();
        if (!r) return r.error();
        if (!*r) break;
        auto v = fromRecord<AutoEntryValue>(**r);
        if (!ofField(v, procedure, field)) break;
        // The seek clipped the prefix's trailing blanks: values below the whole prefix come first.
        const int order = cp1252::upper(v.valor).compare(0, folded.size(), folded);
        if (order < 0) continue;
        if (order > 0) break;
        matching.push_back(std::move(v));
    }

    std::sort(matching.begin(), matching.end(), [](const auto& a, const auto& b) {
        return a.usos != b.usos ? a.usos > b.usos : a.ultimouso > b.ultimouso;
    });
    std::vector<std::string> values;
    for (const auto& v : matching) {
        if (static_cast<int>(values.size()) >= limit) break;
        values.push_back(v.valor);
    }
    return values;
}

} // namespace saldora::ui
