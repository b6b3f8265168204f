#pragma once
// A report for whoever looks after the data: the day-balance records of CADMOV1 that do not follow
// from the client's postings of the date and its previous day balance, and the dates with postings
// that have no day-balance record. Not an error in itself: mass deletion and carried-forward
// balances legitimately leave such records.
#include "data/decimal.h"
#include "data/result.h"
#include "data/store.h"

#include <functional>
#include <optional>
#include <string>

namespace saldora::ledger {

struct DayBalanceFinding {
    std::string client; // cp1252, as stored in the day-balance record (or the postings)
    int32_t date = 0;
    std::optional<Decimal> stored; // empty: the date has postings and no day-balance record
    Decimal expected;              // the previous day balance plus the date's movement
};

// Walks CADMOV1 once in MOV1:KEY_CADMOV order; `report` gets each finding as it is found.
// Returns how many were found.
Result<int64_t> auditDayBalances(store::Database& cadmov1,
                                 const std::function<void(const DayBalanceFinding&)>& report);

} // namespace saldora::ledger
