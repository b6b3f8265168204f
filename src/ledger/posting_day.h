#pragma once
// The day figures of the posting browse for one client and date, and the order in which the
// browse runs the balance rules: at opening (a day without amounts loses its day-balance record,
// then the figures, then the refusal of a date before the client's latest posting), and after
// every return from the posting form or refill of the list (the day-balance record rewritten or
// removed from the postings on file).
#include "ledger/day_balance.h"

namespace saldora::ledger {

class PostingDay {
  public:
    // `cadmov1` must be open while the day is in use.
    PostingDay(DataFile& cadmov1, std::string cliente1, int32_t data1);

    enum class Outcome {
        Open,         // the browse goes on
        LaterPosting, // the client has a later posting: the browse shows why and closes
        ReadFailed,   // CADMOV1 could not be read: warning 35, the browse closes
        Closed,       // the user gave up removing the day-balance record: the browse closes
    };
    struct Step {
        Outcome outcome = Outcome::Open;
        int32_t laterDate = 0; // LaterPosting
        Error error;           // ReadFailed
    };

    Step open();
    Step refresh();

    const std::string& cliente1() const { return cliente1_; }
    int32_t data1() const { return data1_; }

    // LOC:Credito, LOC:Debito, LOC:SaldoAnterior, LOC:Saldo.
    Decimal credito, debito, saldoAnterior, saldo;
    bool balanceWriteAllowed = false;

  private:
    Step writeDayBalance(); // the sums, the day balance, GravaSaldoDoDia, the figures
    Step takeSums();        // the sums read into the figures
    void showSums(const DaySums& sums);

    DataFile& cadmov1_;
    std::string cliente1_;
    int32_t data1_;
};

} // namespace saldora::ledger
