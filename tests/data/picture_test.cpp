#include "data/picture.h"

#include <gtest/gtest.h>

using namespace saldora;
using picture::Value;

namespace {

std::string shown(std::string_view pictureText, const Value& v) {
    auto r = picture::format(pictureText, v);
    return r ? *r : "error: " + r.error().text;
}

// The stored value as plain text, or "error: ..." with the message.
std::string typedIn(std::string_view pictureText, std::string_view typed, int32_t today = 0) {
    auto r = picture::readPlain(pictureText, typed, today);
    return r ? *r : "error: " + r.error().text;
}

const int32_t k22Nov2023 = 81413;

// A refusal is matched by the start of its message, a value exactly.
void expectTyped(const std::string& got, std::string_view expected) {
    if (expected.starts_with("error: "))
        EXPECT_TRUE(got.starts_with(expected)) << got;
    else
        EXPECT_EQ(got, expected);
}

} // namespace

TEST(PictureFormat, Numbers) {
    struct Case {
        const char* picture;
        Value value;
        const char* expected;
    };
    const Case cases[] = {
        {"@N9", int64_t{4550000}, "4,550,000"},
        {"@N09", int64_t{4550000}, "004550000"},
        {"@N9.", int64_t{4550000}, "4.550.000"},
        {"@N9_", int64_t{4550000}, "4 550 000"},
        {"@N9.2", 4550.75, " 4,550.75"},
        {"@N_9`2", 4550.75, "  4550,75"},
        {"@N9.`2", 4550.75, " 4.550,75"},
        {"@N*9.2", 4550.75, "**4550.75"},
        {"@N-9.2B", -2347.25, "-2,347.25"},
        {"@N-9.2B", 0.0, "         "},
        {"@n-14.`2", Decimal::fromCents(-123456750), " -1.234.567,50"},
        {"@n-14.`2", Decimal(), "          0,00"},
        {"@n-14.`2b", Decimal(), "              "},
        {"@n-14..2", Decimal::fromCents(-123456750), " -1.234.567.50"},
        {"@n10.2", 0.0, "      0.00"},
        {"@N3", int64_t{45}, " 45"},
        {"@n03", 5, "005"},
        {"@n04", 10, "0010"},
        {"@n02", 1, "01"},
        {"@N-06", -42, "-00042"},
        // Rounding half away from zero, also from the plain text of a double.
        {"@N9.1", 2.25, "      2.3"},
        {"@N9.1", -2.25, "     -2.3"},
        {"@N9", Decimal::fromCents(-150), "       -2"},
        {"@N9.2", -0.004, "     0.00"},
        {"@N9.4", Decimal::fromCents(1), "   0.0100"},
        {"@N5", 99999.5, "#####"},
        // Negative values show with their sign even where entries refuse them.
        {"@n10.2", -1234.5, " -1,234.50"},
        // Too wide, impossible, or not a number: hashes over the width.
        {"@N3", int64_t{1000}, "###"},
        {"@N-4", -1000, "####"},
        {"@n-14.`2", Decimal::fromCents(-99999999999), "##############"}, // 15 characters
        {"@N6", std::numeric_limits<double>::quiet_NaN(), "######"},
        {"@N6", std::string("12a"), "######"},
        {"@N6", std::string(" 12 "), "    12"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shown(c.picture, c.value), c.expected) << c.picture;
}

TEST(PictureFormat, DatesTimesPatternsAndText) {
    struct Case {
        const char* picture;
        Value value;
        const char* expected;
    };
    const Case cases[] = {
        {"@d06", k22Nov2023, "22/11/2023"},
        {"@D06", 4, "01/01/1801"},
        {"@d6", 4, " 1/01/1801"},
        {"@d05", k22Nov2023, "22/11/23"},
        {"@d06.", k22Nov2023, "22.11.2023"},
        {"@d06`", k22Nov2023, "22,11,2023"},
        {"@d06-", k22Nov2023, "22-11-2023"},
        {"@d06_", k22Nov2023, "22 11 2023"},
        {"@d06", 0, "          "},
        {"@d06b", 0, "          "},
        {"@d06", -5, "##########"},
        {"@d06", 3000000, "##########"},
        {"@t01", *clock_time::fromHms(9, 5, 59), "09:05"},
        {"@t1", *clock_time::fromHms(9, 5), " 9:05"},
        {"@t01", *clock_time::fromHms(0, 0), "00:00"},
        {"@t01", 0, "     "},
        {"@t01", clock_time::kPerDay + 1, "#####"},
        {"@P#####-###P", std::string("01310100"), "01310-100"},
        {"@P#####-###P", int64_t{1310100}, "01310-100"},
        {"@P##.###.###/####-##P", std::string("12345678000195"), "12.345.678/0001-95"},
        {"@p##.###.###p", std::string("12345678"), "12.345.678"},
        {"@P<#:##P", 930, " 9:30"},
        {"@P<#:##P", 5, " 0:05"},
        {"@P<<#P", 105, "105"},
        {"@P#####-###P", std::string(""), "     -   "},
        {"@P#####-###Pb", std::string(""), "         "},
        {"@P#####-###Pb", std::string("00000000"), "00000-000"},
        {"@P#####-###P", std::string("123456789"), "#########"},
        {"@P#####-###P", std::string("0013101000"), "13101-000"},
        {"@P#####-###P", std::string("01310-100"), "#########"},
        {"@P#####-###P", -5, "#########"},
        {"@s5", std::string("abc"), "abc  "},
        {"@S3", std::string("abcdef"), "abc"},
        {"@s8", Decimal::fromCents(-5), "-0.05   "},
        {"@s6", 4550.75, "4550.7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shown(c.picture, c.value), c.expected) << c.picture;
}

TEST(PictureParse, WidthsAndMalformedPictures) {
    EXPECT_EQ(*picture::width("@n-14.`2b"), 14);
    EXPECT_EQ(*picture::width("  @d06   "), 10); // formats are kept blank-padded
    EXPECT_EQ(*picture::width("@d05"), 8);
    EXPECT_EQ(*picture::width("@t1"), 5);
    EXPECT_EQ(*picture::width("@P##.###.###/####-##P"), 18);
    EXPECT_EQ(*picture::width("@s255"), 255);

    struct Case {
        const char* picture;
        const char* message;
    };
    const Case cases[] = {
        {"", "Formato vazio."},
        {"   ", "Formato vazio."},
        {"s30", "Formato deve começar com \"@\": \"s30\"."},
        {"@", "Formato incompleto: \"@\"."},
        {"@x5", "Formato desconhecido: \"@x5\"."},
        {"@N", "Formato sem largura: \"@N\"."},
        {"@N-", "Formato sem largura: \"@N-\"."},
        {"@Nx", "Formato sem largura: \"@Nx\"."},
        {"@N9x", "Formato inválido: \"@N9x\"."},
        {"@N9.2-", "Formato inválido: \"@N9.2-\"."},
        {"@N9`", "Formato numérico sem o número de casas decimais: \"@N9`\"."},
        {"@N3.2", "Formato numérico sem espaço para as casas decimais: \"@N3.2\"."},
        {"@N09.", "Formato numérico com preenchimento não aceita separador de milhar: \"@N09.\"."},
        {"@N0", "Largura do formato deve ser de 1 a 255: \"@N0\"."},
        {"@s0", "Largura do formato deve ser de 1 a 255: \"@s0\"."},
        {"@s256", "Largura do formato deve ser de 1 a 255: \"@s256\"."},
        {"@s99999999999999999999", "Largura do formato deve ser de 1 a 255"},
        {"@n-99999999999.`2", "Largura do formato deve ser de 1 a 255"},
        {"@N20.99999999999", "sem espaço para as casas decimais"},
        {"@s-1", "Formato sem largura: \"@s-1\"."},
        {"@s30x", "Formato inválido: \"@s30x\"."},
        {"@d99", "Formato de data não suportado (use @d06 ou @d05): \"@d99\"."},
        {"@d17", "Formato de data não suportado"},
        {"@d", "Formato de data não suportado"},
        {"@d06x", "Formato inválido: \"@d06x\"."},
        {"@t4", "Formato de hora não suportado (use @t01 ou @t1): \"@t4\"."},
        {"@P##", "Formato de máscara sem o P final: \"@P##\"."},
        {"@PP", "Formato de máscara sem posições de dígito (# ou <): \"@PP\"."},
        {"@P-/-P", "Formato de máscara sem posições de dígito"},
        {"@P##P#", "Formato inválido: \"@P##P#\"."},
    };
    for (const auto& c : cases) {
        auto p = picture::parse(c.picture);
        ASSERT_FALSE(p.ok()) << c.picture;
        EXPECT_EQ(p.error().code, picture::kBadPicture);
        EXPECT_NE(p.error().text.find(c.message), std::string::npos)
            << c.picture << ": " << p.error().text;
        auto f = picture::format(c.picture, int64_t{1});
        EXPECT_FALSE(f.ok());
    }
    EXPECT_EQ(picture::parse(std::string(300, '#')).error().code, picture::kBadPicture);
    EXPECT_FALSE(picture::parse("@P" + std::string(300, '#') + "P").ok());
}

TEST(PictureRead, TypedNumbers) {
    struct Case {
        const char* picture;
        const char* typed;
        const char* expected;
    };
    const Case cases[] = {
        {"@n-14.`2", "1.234,56", "1234.56"},
        {"@n-14.`2", "1234,56", "1234.56"},
        {"@n-14.`2", "  -20  ", "-20.00"},
        {"@n-14.`2", "20,5", "20.50"},
        {"@n-14.`2", ",5", "0.50"},
        {"@n-14.`2", "20,500", "20.50"},
        {"@n-14.`2", "", "0.00"},
        {"@n-14.`2", "-0", "0.00"},
        {"@n-14.`2", " -1.234.567,50", "-1234567.50"},
        {"@n-14.`2", "999.999.999,99", "999999999.99"},
        {"@n-14..2", "1.234.567.5", "1234567.50"},
        {"@n-14..2", "1.234", "1234.00"},
        {"@n-14..2", "1.23", "1.23"},
        {"@N9", "4,550,000", "4550000"},
        {"@N9_", "4 550 000", "4550000"},
        {"@N09", "004550000", "4550000"},
        {"@N*9.2", "**4550.75", "4550.75"},
        {"@N3", "45", "45"},
        // Refused: garbage, misplaced grouping, extra decimals, negatives, too wide.
        {"@n-14.`2", "abc", "error: Valor numérico inválido: \"abc\"."},
        {"@n-14.`2", "20.5", "error: Valor numérico inválido: \"20.5\"."},
        {"@n-14.`2", "1.23.456", "error: Valor numérico inválido: \"1.23.456\"."},
        {"@n-14.`2", "1,2,3", "error: Valor numérico inválido: \"1,2,3\"."},
        {"@n-14.`2", "-", "error: Valor numérico inválido: \"-\"."},
        {"@n-14.`2", ",", "error: Valor numérico inválido: \",\"."},
        {"@n-14.`2", "--5", "error: Valor numérico inválido: \"--5\"."},
        {"@n-14.`2", "1,234", "error: O formato \"@n-14.`2\" aceita 2 casas decimais: \"1,234\"."},
        {"@N9", "4550.5", "error: Valor numérico inválido: \"4550.5\"."},
        {"@N9", "-5", "error: O formato \"@N9\" não aceita valores negativos."},
        {"@N3", "1000", "error: Valor grande demais para o formato \"@N3\": \"1000\"."},
        {"@n-14.`2", "9.999.999.999,99", "error: Valor grande demais para o formato"},
        {"@N-4", "-1000", "error: Valor grande demais"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.picture) + " <- " + c.typed);
        expectTyped(typedIn(c.picture, c.typed), c.expected);
    }
}

TEST(PictureRead, TypedDatesTimesPatternsAndText) {
    struct Case {
        const char* picture;
        const char* typed;
        const char* expected;
    };
    const Case cases[] = {
        {"@d06", "22/11/2023", "81413"},
        {"@d06", "22112023", "81413"},
        {"@d06", "1/1/1801", "4"},
        {"@d06", "29/02/2024", "81512"},
        {"@d06", "  ", "0"},
        {"@d05", "221123", "81413"},
        {"@d05", "22/11/23", "81413"},
        {"@d06.", "22.11.2023", "81413"},
        {"@d06", "31/02/2024", "error: Data inexistente: \"31/02/2024\"."},
        {"@d06", "29/02/2023", "error: Data inexistente"},
        {"@d06", "00/01/2023", "error: Data inexistente"},
        {"@d06", "31/12/1800", "error: Data anterior a 1801 não é aceita: \"31/12/1800\"."},
        {"@d06", "22-11-2023", "error: Data inválida: \"22-11-2023\" (use dd/mm/aaaa)."},
        {"@d05.", "22/11/23", "error: Data inválida: \"22/11/23\" (use dd.mm.aa)."},
        {"@d06", "22/11/202", "error: Data inválida"},
        {"@d06", "2211202", "error: Data inválida"},
        {"@d06", "22/11", "error: Data inválida"},
        {"@d06", "22/11/2023/1", "error: Data inválida"},
        {"@d06", "a2/11/2023", "error: Data inválida"},
        {"@t01", "09:30", "3420001"},
        {"@t1", "9:30", "3420001"},
        {"@t01", "0930", "3420001"},
        {"@t01", "00:00", "1"},
        {"@t01", "", "0"},
        {"@t01", "24:00", "error: Hora inexistente: \"24:00\"."},
        {"@t01", "9:5", "error: Hora inválida: \"9:5\" (use hh:mm)."},
        {"@P#####-###P", "01310-100", "01310100"},
        {"@P#####-###P", "01310100", "01310100"},
        {"@P#####-###P", "", ""},
        {"@P#####-###P", "     -   ", ""},
        {"@P##.###.###/####-##P", "12.345.678/0001-95", "12345678000195"},
        {"@P<#:##P", " 9:30", "0930"},
        {"@P(11) ####-####P", "(11) 3456-7890", "34567890"},
        {"@P(11) ####-####P", "34567890", "34567890"},
        {"@P(11) ####-####P", "(11) 345 -7890", "error: O formato \"@P(11) ####-####P\" pede 8"},
        {"@P#####-###P", "0131010",
         "error: O formato \"@P#####-###P\" pede 8 dígitos: \"0131010\"."},
        {"@P#####-###P", "013101000", "error: O formato \"@P#####-###P\" pede 8 dígitos"},
        {"@P#####-###P", "0131a-100", "error: Caractere não aceito pelo formato \"@P#####-###P\""},
        {"@P#####-###P", "01310/100", "error: Caractere não aceito"},
        {"@s5", "abc  ", "abc"},
        {"@s5", "  abcde   ", "error: Texto com mais de 5 caracteres."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.picture) + " <- " + c.typed);
        expectTyped(typedIn(c.picture, c.typed, k22Nov2023), c.expected);
    }
}

TEST(PictureRead, TwoDigitYearsFallWithinEightyYearsBackAndNineteenAhead) {
    const int32_t mid2024 = *date::fromYmd(2024, 6, 15);
    auto year = [&](const char* typed) {
        return date::toYmd(std::stoi(typedIn("@d05", typed, mid2024)))->year;
    };
    EXPECT_EQ(year("01/01/43"), 2043);
    EXPECT_EQ(year("01/01/44"), 1944);
    EXPECT_EQ(year("01/01/00"), 2000);
    EXPECT_EQ(year("01/01/99"), 1999);
    EXPECT_NE(typedIn("@d05", "01/01/75", *date::fromYmd(1850, 1, 1)).find("anterior a 1801"),
              std::string::npos);
    // Without a given day the clock's is used.
    EXPECT_TRUE(picture::readPlain("@d05", "01/01/30").ok());
}

TEST(PictureRead, WhatIsShownReadsBackToTheSameValue) {
    struct Case {
        const char* picture;
        const char* plain;
    };
    const Case cases[] = {
        {"@n-14.`2", "-1234567.50"},
        {"@n-14.`2b", "0.00"},
        {"@n-14..2", "1234.56"},
        {"@n-14..2", "-1.05"},
        {"@N9", "4550000"},
        {"@N_9`2", "4550.75"},
        {"@N*9.2", "4550.75"},
        {"@N-09", "-42"},
        {"@N9_", "4550000"},
        {"@d06", "81413"},
        {"@d6.", "4"},
        {"@d05", "81413"},
        {"@d06", "0"},
        {"@t01", "3420001"},
        {"@t1", "1"},
        {"@P#####-###P", "01310100"},
        {"@P<#:##P", "0930"},
        {"@P#####-###Pb", ""},
        {"@s10", "A\xE7\xE3o"},
    };
    for (const auto& c : cases) {
        auto p = *picture::parse(c.picture);
        std::string text = *picture::formatPlain(c.picture, c.plain);
        EXPECT_EQ(text.size(), static_cast<size_t>(p.width)) << c.picture;
        EXPECT_EQ(typedIn(c.picture, text, k22Nov2023), c.plain) << c.picture << " " << text;
    }
}

TEST(PictureRead, TypedTextAsFieldValues) {
    auto money = *picture::parse("@n-14.`2");
    EXPECT_EQ(picture::read<Decimal>(money, "1.234,56")->cents(), 123456);
    EXPECT_EQ(picture::read<Decimal>(*picture::parse("@n10.3"), "12.500")->cents(), 1250);
    EXPECT_FALSE(picture::read<Decimal>(*picture::parse("@n10.3"), "12.505").ok());
    EXPECT_EQ(picture::read<Decimal>(money, "")->cents(), 0);
    EXPECT_DOUBLE_EQ(*picture::read<double>(money, "-20,5"), -20.5);
    EXPECT_EQ(*picture::read<int64_t>(*picture::parse("@d06"), "22/11/2023"), k22Nov2023);
    EXPECT_EQ(*picture::read<int64_t>(*picture::parse("@P#####-###P"), "01310-100"), 1310100);
    EXPECT_EQ(*picture::read<int64_t>(*picture::parse("@P#####-###P"), ""), 0);
    EXPECT_EQ(*picture::read<int64_t>(money, "20,00"), 20);
    EXPECT_EQ(picture::read<int64_t>(money, "20,50").error().text,
              "Valor deve ser inteiro: \"20.50\".");
    auto text = *picture::parse("@s30");
    EXPECT_EQ(picture::read<Decimal>(text, "12.5")->cents(), 1250);
    EXPECT_FALSE(picture::read<Decimal>(text, "abc").ok());
    EXPECT_FALSE(picture::read<double>(text, "-").ok());
    EXPECT_FALSE(picture::read<int64_t>(text, "-").ok());
    EXPECT_EQ(picture::read<int64_t>(text, "99999999999999999999").error().text,
              "Valor fora do limite: \"99999999999999999999\".");
    EXPECT_EQ(picture::read<int64_t>(*picture::parse("@N9"), "-5").error().code, picture::kRefused);
}

TEST(PictureFormat, PlainValuesFromTheDataTool) {
    EXPECT_EQ(*picture::formatPlain("@n-14.`2", "4550.75"), "      4.550,75");
    EXPECT_EQ(*picture::formatPlain("@d06", "81413"), "22/11/2023");
    EXPECT_EQ(*picture::formatPlain("@P#####-###P", "01310100"), "01310-100");
    EXPECT_EQ(*picture::formatPlain("@N3", "1000"), "###");
    EXPECT_EQ(picture::formatPlain("@d06", "22/11/2023").error().text,
              "Valor \"22/11/2023\" não serve para o formato \"@d06\".");
    EXPECT_FALSE(picture::formatPlain("@n9", "1e5").ok());
    EXPECT_FALSE(picture::formatPlain("@n9", "-").ok());
    EXPECT_FALSE(picture::formatPlain("@N", "1").ok());
    EXPECT_EQ(picture::readPlain("@Nx", "1").error().code, picture::kBadPicture);
}
