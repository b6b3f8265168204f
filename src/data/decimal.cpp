#include "data/decimal.h"

#include <cmath>

namespace saldora {
namespace {
Error overflow(int digits) {
    return Error{1, "Valor fora do limite de " + std::to_string(digits - Decimal::kPlaces) +
                        " dígitos inteiros."};
}
} // namespace

int64_t Decimal::maxCents(int digits) {
    int64_t m = 1;
    for (int i = 0; i < digits; ++i) m *= 10;
    return m - 1;
}

bool Decimal::fits(int digits) const {
    int64_t m = maxCents(digits);
    return cents_ >= -m && cents_ <= m;
}

Result<Decimal> Decimal::fromDouble(double value, int digits) {
    if (!std::isfinite(value)) return overflow(digits);
    double scaled = std::round(value * 100.0);
    if (std::fabs(scaled) > static_cast<double>(maxCents(digits))) return overflow(digits);
    return Decimal(static_cast<int64_t>(scaled));
}

Result<Decimal> Decimal::parse(std::string_view t, int digits) {
    Error bad{2, "Valor numérico inválido: \"" + std::string(t) + "\"."};
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    int64_t whole = 0;
    int wholeDigits = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, ++wholeDigits) {
        if (whole > maxCents(digits)) return overflow(digits);
        whole = whole * 10 + (t[i] - '0');
    }
    int64_t frac = 0;
    int fracDigits = 0;
    if (i < t.size() && t[i] == '.') {
        for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, ++fracDigits) {
            if (fracDigits >= kPlaces) return bad;
            frac = frac * 10 + (t[i] - '0');
        }
    }
    if (i != t.size() || wholeDigits + fracDigits == 0) return bad;
    if (fracDigits == 1) frac *= 10;
    if (whole > maxCents(digits) / 100) return overflow(digits);
    Decimal d(whole * 100 + frac);
    if (negative) d.cents_ = -d.cents_;
    if (!d.fits(digits)) return overflow(digits);
    return d;
}

std::string Decimal::toString() const {
    int64_t a = cents_ < 0 ? -cents_ : cents_;
    std::string frac = std::to_string(a % 100);
    if (frac.size() < 2) frac.insert(0, "0");
    return (cents_ < 0 ? "-" : "") + std::to_string(a / 100) + "." + frac;
}

Result<Decimal> add(Decimal a, Decimal b, int digits) {
    Decimal r = Decimal::fromCents(a.cents() + b.cents()); // |cents| < 10^18: no wrap in int64
    if (!r.fits(digits)) return overflow(digits);
    return r;
}

Result<Decimal> subtract(Decimal a, Decimal b, int digits) {
    return add(a, Decimal::fromCents(-b.cents()), digits);
}

} // namespace saldora
