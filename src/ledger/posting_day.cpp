#include "ledger/posting_day.h"

namespace saldora::ledger {

PostingDay::PostingDay(DataFile& cadmov1, std::string cliente1, int32_t data1)
    : cadmov1_(cadmov1), cliente1_(std::move(cliente1)), data1_(data1) {}

PostingDay::Step PostingDay::takeSums() {
    auto sums = SomaTotaisDoDia(cadmov1_.db(), cliente1_, data1_);
    if (!sums) return {Outcome::ReadFailed, 0, sums.error()};
    showSums(*sums);
    return {};
}

void PostingDay::showSums(const DaySums& sums) {
    // Added in floating point, kept to two places.
    if (auto c = Decimal::fromDouble(sums.credit)) credito = *c;
    if (auto d = Decimal::fromDouble(sums.debit)) debito = *d;
}

PostingDay::Step PostingDay::writeDayBalance() {
    auto sums = SomaTotaisDoDia(cadmov1_.db(), cliente1_, data1_);
    if (!sums) return {Outcome::ReadFailed, 0, sums.error()};
    auto balance = dayBalance(*sums, saldoAnterior);
    if (!balance) {
        // A balance beyond DECIMAL(11,2) is never stored in place of the right one.
        messages().show(Message{"O saldo do dia ultrapassa o limite de 999.999.999,99 e não foi "
                                "gravado.",
                                "Aviso", Icon::None, "", 0});
        showSums(*sums);
        return {};
    }
    saldo = *balance;
    if (!GravaSaldoDoDia(cadmov1_, cliente1_, data1_, *sums, saldo, balanceWriteAllowed))
        return {Outcome::Closed, 0, {}};
    showSums(*sums);
    return {};
}

PostingDay::Step PostingDay::open() {
    // A date opened without postings loses a day-balance record left on it; nothing else can be
    // written yet.
    balanceWriteAllowed = false;
    saldoAnterior = Decimal{};
    if (Step s = writeDayBalance(); s.outcome != Outcome::Open) return s;

    if (Step s = takeSums(); s.outcome != Outcome::Open) return s;
    auto before = CalculaSaldoAnterior(cadmov1_.db(), cliente1_, data1_);
    if (!before) return {Outcome::ReadFailed, 0, before.error()};
    saldoAnterior = *before;
    auto total = add(credito, saldoAnterior);
    auto balance = total ? subtract(*total, debito) : total;
    if (balance) saldo = *balance;
    balanceWriteAllowed = true;

    auto later = VerificaLancamentoPosterior(cadmov1_.db(), cliente1_, data1_);
    if (!later) return {Outcome::ReadFailed, 0, later.error()};
    if (*later) {
        balanceWriteAllowed = false;
        return {Outcome::LaterPosting, **later, {}};
    }
    return takeSums();
}

PostingDay::Step PostingDay::refresh() { return writeDayBalance(); }

} // namespace saldora::ledger
