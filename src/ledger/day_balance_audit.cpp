#include "ledger/day_balance_audit.h"

#include "data/files.h"
#include "data/text.h"

namespace saldora::ledger {
namespace {

// One client's records of one date, gathered as the key walk passes them.
struct DayGroup {
    std::string client; // folded, to tell clients apart as the key does
    int32_t date = 0;
    std::string storedClient;
    int64_t credit = 0, debit = 0; // hundredths
    bool postings = false;
    std::optional<Decimal> stored;
};

} // namespace

Result<int64_t> auditDayBalances(store::Database& cadmov1,
                                 const std::function<void(const DayBalanceFinding&)>& report) {
    const store::Table& t = files::Cadmov1::table();
    store::Cursor c(cadmov1, t, *t.key("MOV1:KEY_CADMOV"));
    c.seekFirst();
    int64_t found = 0;
    std::string client;  // folded code of the client being walked
    Decimal previous;    // its latest day balance so far
    std::optional<DayGroup> group;

    auto close = [&] {
        if (!group) return;
        if (group->client != client) {
            client = group->client;
            previous = Decimal{};
        }
        auto expected = add(previous, Decimal::fromCents(group->credit - group->debit));
        const Decimal want = expected ? *expected : previous;
        const bool follows = group->stored ? *group->stored == want
                                           : !group->postings || (group->credit == group->debit &&
                                                                  group->credit == 0);
        if (!follows) {
            ++found;
            report({group->storedClient, group->date, group->stored, want});
        }
        // The next date starts from what is on file, as the program does.
        if (group->stored) previous = *group->stored;
        else if (group->postings) previous = want;
        group.reset();
    };

    for (;;) {
        auto r = c.next();
        if (!r) return r.error();
        if (!*r) break;
        const auto m = fromRecord<files::Cadmov1>(**r);
        const std::string folded = cp1252::upper(fixed::clip(m.codfil));
        if (group && (group->client != folded || group->date != m.dtalanc)) close();
        if (!group) group = DayGroup{folded, m.dtalanc, m.codfil, 0, 0, false, std::nullopt};
        if (fixed::clip(m.codmov) == files::kDayBalanceAccount) {
            group->stored = m.saldoatual;
            group->storedClient = m.codfil;
        } else {
            group->postings = true;
            group->credit += m.vlrcr.cents();
            group->debit += m.vlrdb.cents();
        }
    }
    close();
    return found;
}

} // namespace saldora::ledger
