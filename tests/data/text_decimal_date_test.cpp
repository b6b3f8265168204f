#include "data/date_time.h"
#include "data/decimal.h"
#include "data/text.h"

#include <gtest/gtest.h>

using namespace saldora;

TEST(Cp1252, RoundTripsEveryByteAndRefusesWhatItCannotHold) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    auto back = cp1252::fromUtf8(cp1252::toUtf8(all));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(*back, all);

    EXPECT_EQ(*cp1252::fromUtf8("Ação €"), std::string("A\xE7\xE3o \x80"));
    auto refused = cp1252::fromUtf8("Preço ≥ 10");
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().text.find("≥"), std::string::npos);
    EXPECT_NE(refused.error().text.find("posição 7"), std::string::npos);
    EXPECT_FALSE(cp1252::fromUtf8("\xC3").ok()); // truncated UTF-8
}

TEST(Cp1252, CaseFoldingComparesAccentedLettersAndIgnoresTrailingBlanks) {
    struct Case { std::string a, b; int noCase, exact; }; // a and b in UTF-8
    const Case cases[] = {
        {"abc", "ABC", 0, 1},
        {"ação", "AÇÃO", 0, 1},
        {"sé   ", "SÉ", 0, 1},
        {"abc", "abd", -1, -1},
        {"ab", "ab ", 0, 0},
        {"ab", "abc", -1, -1},
        {"š", "Š", 0, 1},
        {"ÿ", "Ÿ", 0, 1},
        {"÷", "×", 1, 1}, // not letters
    };
    for (const auto& c : cases) {
        auto a = *cp1252::fromUtf8(c.a), b = *cp1252::fromUtf8(c.b);
        EXPECT_EQ(cp1252::compareNoCase(a, b), c.noCase) << c.a << " / " << c.b;
        EXPECT_EQ(cp1252::compare(a, b), c.exact) << c.a << " / " << c.b;
    }
}

TEST(FixedString, PadsTruncatesAndClips) {
    EXPECT_EQ(fixed::pad("ab", 4), "ab  ");
    EXPECT_EQ(fixed::pad("abcdef", 4), "abcd");
    EXPECT_EQ(fixed::fit("abc   def", 5), "abc");
    EXPECT_EQ(fixed::clip("x  "), "x");
    EXPECT_TRUE(fixed::isBlank("   "));
}

TEST(Decimal, IsExactAndRangeChecked) {
    EXPECT_EQ(Decimal::parse("-1234.5")->cents(), -123450);
    EXPECT_EQ(Decimal::parse("0.07")->cents(), 7);
    EXPECT_EQ(Decimal::parse("999999999.99")->cents(), 99999999999);
    EXPECT_FALSE(Decimal::parse("1000000000.00").ok());
    EXPECT_FALSE(Decimal::parse("1.234").ok());
    EXPECT_FALSE(Decimal::parse("12a").ok());
    EXPECT_FALSE(Decimal::parse("").ok());
    EXPECT_FALSE(Decimal::parse("1000.00", 5).ok());
    EXPECT_EQ(Decimal::parse("999.99", 5)->cents(), 99999);
    EXPECT_EQ(Decimal::fromCents(-5).toString(), "-0.05");

    auto max = Decimal::fromCents(Decimal::maxCents(11));
    EXPECT_FALSE(add(max, Decimal::fromCents(1)).ok());
    EXPECT_FALSE(subtract(Decimal::fromCents(-Decimal::maxCents(11)), Decimal::fromCents(1)).ok());
    EXPECT_EQ(add(Decimal::fromCents(10), Decimal::fromCents(-30))->cents(), -20);

    EXPECT_EQ(Decimal::fromDouble(0.1 + 0.2)->cents(), 30);
}

TEST(Date, DayNumbersBothWays) {
    struct Case { int y, m, d; int32_t n; int weekday; };
    const Case cases[] = {
        {1801, 1, 1, 4, 4},          // a Thursday
        {2023, 11, 22, 81413, 3},    // a Wednesday
        {2000, 2, 29, 72746, 2},
        {1900, 3, 1, 36222, 4},
        {9999, 12, 31, 2994626, 5},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(date::fromYmd(c.y, c.m, c.d), c.n) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(*date::toYmd(c.n), (date::Ymd{c.y, c.m, c.d}));
        EXPECT_EQ(date::weekday(c.n), c.weekday);
    }
    EXPECT_FALSE(date::fromYmd(2024, 2, 30));
    EXPECT_FALSE(date::fromYmd(1900, 2, 29));
    EXPECT_FALSE(date::fromYmd(1800, 12, 31));
    EXPECT_FALSE(date::fromYmd(10000, 1, 1));
    EXPECT_FALSE(date::toYmd(0));
    EXPECT_FALSE(date::toYmd(3));
}

TEST(ClockTime, HundredthsSinceMidnightPlusOne) {
    EXPECT_EQ(clock_time::fromHms(0, 0), 1);
    EXPECT_EQ(clock_time::fromHms(10, 30), 3780001);
    EXPECT_EQ(clock_time::toHms(3780001)->minute, 30);
    EXPECT_FALSE(clock_time::fromHms(24, 0));
    EXPECT_FALSE(clock_time::toHms(0));
}
