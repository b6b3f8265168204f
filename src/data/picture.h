#pragma once
// Display pictures: how a value is shown in lists, entries, reports and the export, and how typed
// text is read back into a value. A picture is written "@" + letter (any case) + its options:
//
//   @s30                text, 30 characters, blank-padded or cut
//   @n-14.`2b           number: [-] [fill 0 _ *] width [grouping . _] [places: . or ` then digits]
//   [b]
//   @d06  @d05.         date dd/mm/yyyy or dd/mm/yy: [0] style [separator . ` - _] [b]
//   @t01  @t1           time hh:mm, hours zero-filled or blank-padded: [0] 1 [separator] [b]
//   @P##.###-##Pb       pattern: '#' digit, '<' digit left blank while it is a leading zero,
//                       any other character printed as it stands; the value holds the digits only
//
// Numbers. Width counts sign, separators and decimals; the value is right-aligned. Grouping is ","
// unless a fill is given (then none) or a grouping letter follows the width. A "." after the width
// is the decimal point when a digit follows it, else the grouping letter: "@N9." groups with
// periods, "@N9.2" has two decimals, "@n-14..2" groups with periods and has two decimals. A value
// is rounded half away from zero to the picture's places. A negative value always shows with its
// minus sign, never as its absolute value; the "-" of the picture says that an entry accepts
// negative values. Typed numbers may leave out the grouping letter; where it is typed it must sit
// between groups of three digits. Typed decimals beyond the picture's places are refused unless
// they are zeros. When grouping and decimal point are the same letter, the last one is the decimal
// point only if at most `places` digits follow it ("1.234" is 1234, "1.23" is 1.23).
//
// Dates, times and patterns. A date or time of 0 always shows blank, with or without "b". Typed
// dates are d/m/yyyy or d/m/yy with the picture's separator, or ddmmyyyy or ddmmyy; a two-digit
// year falls within the 80 years before and the 19 years after today. A pattern value with fewer
// digits than positions is taken as a number (leading zeros added); an empty value shows only the
// literal characters, or nothing with "b". Typed pattern text is read either as the pattern shows
// it (literals in their places) or as bare digits among which the pattern's literals may appear;
// every "#" position needs its digit, the leading zeros of "<" positions may be left out.
//
// Everywhere: what a picture cannot show (too wide, a date out of range, a text that is no number
// for a number picture) shows as "#" over the whole width; entries refuse it. Values and results
// are cp1252 bytes; error texts are UTF-8.
#include "data/date_time.h"
#include "data/decimal.h"
#include "data/result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace saldora::picture {

constexpr int kMaxWidth = 255; // the widest text field of the record files
constexpr int kBadPicture = 1; // Error codes
constexpr int kRefused = 2;

enum class Kind { Text, Number, Date, Time, Pattern };

struct Picture {
    Kind kind = Kind::Text;
    int width = 0;
    bool blankZero = false; // final "b": zero or an empty pattern shows blank
    // Numbers
    bool minus = false; // entries accept negative values
    char fill = ' ';    // ' ', '0' or '*'
    char grouping = 0;  // ',', '.', ' ', or 0 for none
    char decimal = '.'; // '.' or ','
    int places = 0;
    // Dates (style 5 dd/mm/yy, 6 dd/mm/yyyy) and times (style 1 hh:mm)
    int style = 0;
    bool zeroFilled = false; // the first element keeps its leading zero
    char separator = 0;
    // Patterns: the characters between the letters
    std::string pattern;
    std::string text; // the picture as written, for messages
};

Result<Picture> parse(std::string_view pictureText);
Result<int> width(std::string_view pictureText);

// A field's value: whole numbers (LONG and the like, day numbers, clock times, pattern digits),
// REAL, DECIMAL, or text.
using Value = std::variant<int64_t, double, Decimal, std::string>;

// Exactly p.width bytes.
std::string format(const Picture& p, const Value& value);
Result<std::string> format(std::string_view pictureText, const Value& value);
// A value given as plain text ("4550.75", "81413", "01310100", a text): fails when the picture is
// malformed or the text is no value of the picture's kind.
Result<std::string> formatPlain(std::string_view pictureText, std::string_view plain);

// Typed text back to the stored value, refusing what does not fit. As plain text (std::string):
// numbers "-1234.50" with the picture's places, dates the day number, times the clock time,
// patterns the digits ("" when none were typed), text without its trailing blanks. Also as
// int64_t, double or Decimal. `today` (a day number) places two-digit years; 0 means the clock's.
template <class T>
Result<T> read(const Picture& p, std::string_view typed, int32_t today = date::kNone);
Result<std::string> readPlain(std::string_view pictureText, std::string_view typed,
                              int32_t today = date::kNone);

} // namespace saldora::picture
