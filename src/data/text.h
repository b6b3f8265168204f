#pragma once
// Record files hold fixed-width Windows Latin-1 (cp1252) text. Strings in records are cp1252 bytes
// kept without their trailing blanks; they are padded to their width only at the edges (display,
// export). The interface speaks UTF-8; conversion refuses what cp1252 cannot hold.
#include "data/result.h"

#include <string>
#include <string_view>

namespace saldora::cp1252 {

// Unicode code point of a cp1252 byte. The five bytes Windows leaves undefined map to the C1
// controls of the same value, as the Windows conversion does, so that every byte round-trips.
char32_t toUnicode(unsigned char byte);

std::string toUtf8(std::string_view cp1252);

// Converts UTF-8 text to cp1252. A character cp1252 cannot hold, or bytes that are not UTF-8,
// give an error naming the character and its position.
Result<std::string> fromUtf8(std::string_view utf8);

// Upper-case counterpart of a cp1252 letter (a/A, á/Á, ç/Ç, š/Š, ÿ/Ÿ, ...); other bytes unchanged.
unsigned char foldCase(unsigned char byte);
std::string upper(std::string_view cp1252);

// Comparisons that ignore trailing blanks; the NoCase form folds letters with foldCase.
int compare(std::string_view a, std::string_view b);
int compareNoCase(std::string_view a, std::string_view b);

} // namespace saldora::cp1252

namespace saldora::fixed {

// STRING(n) semantics on cp1252 bytes.
std::string_view clip(std::string_view s);         // without trailing blanks
std::string fit(std::string_view s, size_t width); // truncated at width, then clipped
std::string pad(std::string_view s, size_t width); // truncated or blank-padded to exactly width
bool isBlank(std::string_view s);

} // namespace saldora::fixed
