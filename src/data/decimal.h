#pragma once
// DECIMAL(n,2) of the record files: an exact count of hundredths. DECIMAL(11,2) holds
// ±999.999.999,99, DECIMAL(5,2) ±999,99. Arithmetic reports overflow instead of wrapping.
#include "data/result.h"

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace saldora {

class Decimal {
public:
    static constexpr int kPlaces = 2;
    static constexpr int kMoneyDigits = 11;

    constexpr Decimal() = default;
    static constexpr Decimal fromCents(int64_t cents) { return Decimal(cents); }
    // Rounds half away from zero to hundredths; fails when the value does not fit `digits`.
    static Result<Decimal> fromDouble(double value, int digits = kMoneyDigits);
    // Plain text as the data tool writes it: optional minus, digits, optional "." and up to two
    // decimals ("-1234.5", "0.07", "12").
    static Result<Decimal> parse(std::string_view text, int digits = kMoneyDigits);

    constexpr int64_t cents() const { return cents_; }
    double toDouble() const { return static_cast<double>(cents_) / 100.0; }
    std::string toString() const; // "-1234.50"
    constexpr bool isZero() const { return cents_ == 0; }
    bool fits(int digits = kMoneyDigits) const;
    static int64_t maxCents(int digits);

    constexpr auto operator<=>(const Decimal&) const = default;

private:
    constexpr explicit Decimal(int64_t cents) : cents_(cents) {}
    int64_t cents_ = 0;
};

Result<Decimal> add(Decimal a, Decimal b, int digits = Decimal::kMoneyDigits);
Result<Decimal> subtract(Decimal a, Decimal b, int digits = Decimal::kMoneyDigits);

} // namespace saldora
