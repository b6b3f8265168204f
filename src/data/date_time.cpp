#include "data/date_time.h"

#include <chrono>
#include <ctime>

namespace saldora::date {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's civil-date algorithm).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

Ymd civilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return Ymd{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

const int64_t kEpoch = daysFromCivil(1800, 12, 28); // day number 0

} // namespace

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<int32_t> fromYmd(int year, int month, int day) {
    if (year < kFirstYear || year > kLastYear || day < 1 || day > daysInMonth(year, month))
        return std::nullopt;
    return static_cast<int32_t>(daysFromCivil(year, month, day) - kEpoch);
}

std::optional<Ymd> toYmd(int32_t n) {
    static const int32_t first = *fromYmd(kFirstYear, 1, 1);
    static const int32_t last = *fromYmd(kLastYear, 12, 31);
    if (n < first || n > last) return std::nullopt;
    return civilFromDays(n + kEpoch);
}

int weekday(int32_t n) { return ((n % 7) + 7) % 7; }

int32_t today() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return *fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

} // namespace saldora::date

namespace saldora::clock_time {

std::optional<int32_t> fromHms(int h, int m, int s, int cs) {
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59 || cs < 0 || cs > 99)
        return std::nullopt;
    return ((h * 60 + m) * 60 + s) * 100 + cs + 1;
}

std::optional<Hms> toHms(int32_t t) {
    if (t < 1 || t > kPerDay) return std::nullopt;
    int v = t - 1;
    return Hms{v / 360000, v / 6000 % 60, v / 100 % 60, v % 100};
}

int32_t now() {
    auto since = std::chrono::system_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
    std::time_t t = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    localtime_r(&t, &local);
    return *fromHms(local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms % 1000 / 10));
}

} // namespace saldora::clock_time
