#pragma once
// The balance rules of a client's current account. CADMOV1 holds, beside the postings, one
// day-balance record per client and date with postings (account "999", flag "S"): the client's
// balance at the end of that date. The balance of a date is always derived from the day-balance
// record of the latest earlier date, so postings are entered only on a client's latest posting
// date or later, and every change rewrites the day-balance record of the date it was made on.
//
// The functions work on the criteria Cliente1 (a client code as typed) and Data1 (a day number)
// over an open CADMOV1; the write warnings go through the message service.
#include "data/decimal.h"
#include "data/file_routines.h"
#include "data/result.h"

#include <cstdint>
#include <optional>
#include <string>

namespace saldora::ledger {

// The day's credits and debits as the posting browse adds them: in 8-byte floating point, tested
// for exactly zero in that form.
struct DaySums {
    double credit = 0, debit = 0;
    bool empty() const { return credit == 0.0 && debit == 0.0; }
};

// Whether a stored client code is Cliente1: compared without regard to case (the keys' order)
// and, for the day's postings, also exactly; trailing blanks never count.
bool sameClient(const std::string& storedCode, const std::string& cliente1);
bool isPostingOf(const store::Record& cadmov1, const std::string& cliente1, int32_t data1);

// SomaTotaisDoDia: the credit and debit sums of the client's postings of the date.
Result<DaySums> SomaTotaisDoDia(store::Database& cadmov1, const std::string& cliente1,
                                int32_t data1);

// CalculaSaldoAnterior: the end-of-day balance of the latest date before Data1 that has a
// day-balance record, 0 for a client without one.
Result<Decimal> CalculaSaldoAnterior(store::Database& cadmov1, const std::string& cliente1,
                                     int32_t data1);

// VerificaLancamentoPosterior: the date of the client's latest posting when it is later than
// Data1.
Result<std::optional<int32_t>> VerificaLancamentoPosterior(store::Database& cadmov1,
                                                           const std::string& cliente1,
                                                           int32_t data1);

// The day balance from the sums and the balance brought forward: the difference of the sums
// kept to two places, then the balance brought forward added. Fails when it leaves DECIMAL(11,2).
Result<Decimal> dayBalance(const DaySums& sums, Decimal saldoAnterior);

// The day-balance record of a client and date, looked up by MOV1:KEY_CADMOV_1.
Result<std::optional<store::Record>> findDayBalance(store::Database& cadmov1,
                                                    const std::string& cliente1, int32_t data1);

// GravaSaldoDoDia: removes the day-balance record of a day without amounts; otherwise, when the
// write is allowed, adds it or writes the balance over it. False when the user gave up removing
// it, which closes the posting browse.
bool GravaSaldoDoDia(DataFile& cadmov1, const std::string& cliente1, int32_t data1,
                     const DaySums& sums, Decimal saldo, bool balanceWriteAllowed);

// The refusal of a date before the client's latest posting.
Message laterPostingMessage(int32_t laterDate);

} // namespace saldora::ledger
