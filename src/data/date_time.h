#pragma once
// Dates are LONG day numbers: days since 28 December 1800 (1 January 1801 is day 4), 0 meaning no
// date; the weekday is the number modulo 7 with 0 for Sunday. Valid for 1801 to 9999.
// Times are hundredths of a second since midnight plus 1, 0 meaning no time.
#include <cstdint>
#include <optional>

namespace saldora::date {

struct Ymd {
    int year = 0, month = 0, day = 0;
    bool operator==(const Ymd&) const = default;
};

constexpr int32_t kNone = 0;
constexpr int kFirstYear = 1801;
constexpr int kLastYear = 9999;

bool isLeapYear(int year);
int daysInMonth(int year, int month);
// Empty for an impossible date or a year outside 1801..9999.
std::optional<int32_t> fromYmd(int year, int month, int day);
// Day numbers outside the valid range give an empty result.
std::optional<Ymd> toYmd(int32_t dayNumber);
int weekday(int32_t dayNumber); // 0 Sunday .. 6 Saturday
int32_t today();

} // namespace saldora::date

namespace saldora::clock_time {

struct Hms {
    int hour = 0, minute = 0, second = 0, hundredths = 0;
};

constexpr int32_t kNone = 0;
constexpr int32_t kPerDay = 24 * 60 * 60 * 100;

std::optional<int32_t> fromHms(int hour, int minute, int second = 0, int hundredths = 0);
std::optional<Hms> toHms(int32_t time);
int32_t now();

} // namespace saldora::clock_time
