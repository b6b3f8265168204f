#include "ledger/postings.h"

#include "data/key_values.h"
#include "data/text.h"

namespace saldora::ledger {
namespace {

template <class R>
Result<std::optional<R>> findByKey(store::Database& db, const char* keyName, const std::string& code) {
    const store::Table& t = R::table();
    const store::Key& key = *t.key(keyName);
    // As the code is copied into the key field: its first characters, as many as the field holds.
    const store::Field& field = t.fields[t.keyFields(key).front()];
    const std::vector<store::Value> prefix{fixed::fit(code, field.textCapacity())};
    store::Cursor c(db, t, key);
    c.seekAtOrAfter(prefix);
    auto r = c.next();
    if (!r) return r.error();
    if (!*r || store::compareKeyPrefix(t, key, **r, prefix) != 0) return std::optional<R>{};
    return std::optional<R>{fromRecord<R>(**r)};
}

} // namespace

files::Cadmov1 newPosting(const std::string& cliente1, int32_t data1) {
    files::Cadmov1 m;
    m.codfil = cp1252::upper(fixed::fit(cliente1, 15));
    m.dtalanc = data1;
    return m;
}

bool hasAmount(const files::Cadmov1& posting) {
    return !posting.vlrcr.isZero() || !posting.vlrdb.isZero();
}

Message noAmountMessage() {
    return Message{"Informe valor a débito ou a crédito, senão cancele.", "Aviso", Icon::None, "", 0};
}

Result<std::optional<files::Tabmov1>> findAccount(store::Database& tabmov1, const std::string& code) {
    return findByKey<files::Tabmov1>(tabmov1, "TAB1:KEY_TABMOV", code);
}

Result<std::optional<files::Cadfil1>> findClient(store::Database& cadfil1, const std::string& code) {
    return findByKey<files::Cadfil1>(cadfil1, "FIL1:KEY_CADFIL", code);
}

Status addPosting(DataFile& cadmov1, store::Record& posting) { return cadmov1.db().add(posting); }

} // namespace saldora::ledger
