#include "ledger/day_balance.h"

#include "data/files.h"
#include "data/key_values.h"
#include "data/picture.h"
#include "data/text.h"

namespace saldora::ledger {
namespace {

using files::Cadmov1;

const store::Key& keyCadmov() { return *Cadmov1::table().key("MOV1:KEY_CADMOV"); }
const store::Key& keyCadmov1() { return *Cadmov1::table().key("MOV1:KEY_CADMOV_1"); }

// The search values of the day-balance record of a client and date in MOV1:KEY_CADMOV_1.
std::vector<store::Value> dayBalanceKey(const std::string& cliente1, int32_t data1) {
    return {std::string(files::kDayBalanceFlag), cliente1, int64_t{data1},
            std::string(files::kDayBalanceAccount)};
}

bool isDayBalanceAccount(const std::string& code) {
    return fixed::clip(code) == files::kDayBalanceAccount;
}

Cadmov1 typed(const store::Record& r) { return fromRecord<Cadmov1>(r); }

} // namespace

bool sameClient(const std::string& storedCode, const std::string& cliente1) {
    return cp1252::compareNoCase(storedCode, cliente1) == 0;
}

bool isPostingOf(const store::Record& r, const std::string& cliente1, int32_t data1) {
    const Cadmov1 m = typed(r);
    return sameClient(m.codfil, cliente1) && cp1252::compare(m.codfil, cliente1) == 0 &&
           m.dtalanc == data1 && !isDayBalanceAccount(m.codmov);
}

Result<DaySums> SomaTotaisDoDia(store::Database& cadmov1, const std::string& cliente1,
                                int32_t data1) {
    const std::vector<store::Value> day{cliente1, int64_t{data1}};
    store::Cursor c(cadmov1, Cadmov1::table(), keyCadmov());
    c.seekAtOrAfter(day);
    DaySums sums;
    for (;;) {
        auto r = c.next();
        if (!r) return r.error();
        if (!*r || store::compareKeyPrefix(Cadmov1::table(), keyCadmov(), **r, day) != 0) break;
        if (!isPostingOf(**r, cliente1, data1)) continue;
        const Cadmov1 m = typed(**r);
        sums.credit += m.vlrcr.toDouble();
        sums.debit += m.vlrdb.toDouble();
    }
    return sums;
}

Result<Decimal> CalculaSaldoAnterior(store::Database& cadmov1, const std::string& cliente1,
                                     int32_t data1) {
    // Backwards from the day-balance record of Data1: the first record read is that record, or
    // the latest one before it. Nothing checks the flag: a client without an earlier day balance
    // lands on one of its own postings (they lie before every day-balance record in this key),
    // whose SALDOATUAL is 0.
    store::Cursor c(cadmov1, Cadmov1::table(), keyCadmov1());
    c.seekAtOrBefore(dayBalanceKey(cliente1, data1));
    auto r = c.previous();
    if (!r) return r.error();
    if (!*r || !sameClient(typed(**r).codfil, cliente1)) return Decimal{};
    if (typed(**r).dtalanc == data1) {
        r = c.previous();
        if (!r) return r.error();
        if (!*r || !sameClient(typed(**r).codfil, cliente1)) return Decimal{};
    }
    return typed(**r).saldoatual;
}

Result<std::optional<int32_t>> VerificaLancamentoPosterior(store::Database& cadmov1,
                                                           const std::string& cliente1,
                                                           int32_t data1) {
    store::Cursor c(cadmov1, Cadmov1::table(), keyCadmov());
    c.seekAtOrBefore({cliente1}); // after the client's last record
    for (;;) {
        auto r = c.previous();
        if (!r) return r.error();
        if (!*r) return std::optional<int32_t>{};
        const Cadmov1 m = typed(**r);
        if (!sameClient(m.codfil, cliente1)) return std::optional<int32_t>{};
        if (isDayBalanceAccount(m.codmov)) continue;
        if (m.dtalanc > data1) return std::optional<int32_t>{m.dtalanc};
        return std::optional<int32_t>{};
    }
}

Result<Decimal> dayBalance(const DaySums& sums, Decimal saldoAnterior) {
    auto movement = Decimal::fromDouble(sums.credit - sums.debit);
    if (!movement) return movement.error();
    return add(*movement, saldoAnterior);
}

Result<std::optional<store::Record>> findDayBalance(store::Database& cadmov1,
                                                    const std::string& cliente1, int32_t data1) {
    const auto key = dayBalanceKey(cliente1, data1);
    store::Cursor c(cadmov1, Cadmov1::table(), keyCadmov1());
    c.seekAtOrAfter(key);
    auto r = c.next();
    if (!r) return r.error();
    if (*r && store::compareKeyPrefix(Cadmov1::table(), keyCadmov1(), **r, key) == 0) return *r;
    return std::optional<store::Record>{};
}

bool GravaSaldoDoDia(DataFile& cadmov1, const std::string& cliente1, int32_t data1,
                     const DaySums& sums, Decimal saldo, bool balanceWriteAllowed) {
    store::Database& db = cadmov1.db();
    if (sums.empty()) {
        // A day without amounts keeps no day balance.
        auto found = findDayBalance(db, cliente1, data1);
        if (found && *found)
            while (DeleteRecord(cadmov1, **found) != 0)
                if (FileWarning(warning::DeleteRetry) != button::Yes) return false;
        return true;
    }
    if (!balanceWriteAllowed) return true;

    Cadmov1 balance;
    balance.codfil = fixed::fit(fixed::clip(cliente1), 15); // as typed
    balance.dtalanc = data1;
    balance.codmov = files::kDayBalanceAccount;
    balance.saldoatual = saldo;
    balance.flagsaldo = files::kDayBalanceFlag;

    auto found = findDayBalance(db, cliente1, data1);
    if (found && !*found) {
        auto record = toRecord(balance);
        Status added = record ? db.add(*record) : Status(record.error());
        if (!added) messages().show(Message{added.error().text + " - Saldo não foi incluído", "", Icon::None, "", 0});
        return true;
    }
    if (!found) { // not readable: the write below cannot find its record either
        messages().show(Message{found.error().text + " - Saldo não foi incluído", "", Icon::None, "", 0});
        return true;
    }
    store::Record stored = **found;
    for (;;) {
        // Over the record read (again, after another station changed it).
        Cadmov1 m = typed(stored);
        m.vlrcr = Decimal{};
        m.vlrdb = Decimal{};
        m.saldoatual = saldo;
        auto record = toRecord(m);
        if (!record) return true;
        const int written = UpdateRecord(cadmov1, *record, false);
        if (written == update_result::Written) return true;
        if (written == update_result::ChangedByAnotherStation) stored = *record;
        if (FileWarning(warning::UpdateRetry) == button::No) return true;
    }
}

Message laterPostingMessage(int32_t laterDate) {
    auto shown = picture::format("@d06", int64_t{laterDate});
    return Message{"Já existe lançamento posterior (" + cp1252::toUtf8(shown ? fixed::clip(*shown) : "") +
                       ") a data selecionada.|Faça o lançamento desejado com a data acima ou "
                       "posterior",
                   "Aviso", Icon::None, "", 0};
}

} // namespace saldora::ledger
