#include "data/text.h"

#include <array>

namespace saldora::cp1252 {
namespace {

// 0x80..0x9F; undefined positions hold their own value (C1 control).
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int fromUnicode(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

Error invalidEncoding(size_t position) {
    return Error{1, "Texto com codificação inválida na posição " + std::to_string(position + 1) + "."};
}

} // namespace

char32_t toUnicode(unsigned char byte) {
    return (byte >= 0x80 && byte < 0xA0) ? kHigh[byte - 0x80] : byte;
}

std::string toUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (unsigned char b : s) appendUtf8(out, toUnicode(b));
    return out;
}

Result<std::string> fromUtf8(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    size_t position = 0; // characters, for the message
    for (size_t i = 0; i < in.size(); ++position) {
        unsigned char b = static_cast<unsigned char>(in[i]);
        char32_t c;
        int extra;
        if (b < 0x80) { c = b; extra = 0; }
        else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; extra = 1; }
        else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; extra = 2; }
        else if ((b & 0xF8) == 0xF0) { c = b & 0x07; extra = 3; }
        else return invalidEncoding(position);
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= in.size() || (static_cast<unsigned char>(in[i + k]) & 0xC0) != 0x80)
                return invalidEncoding(position);
            c = (c << 6) | (static_cast<unsigned char>(in[i + k]) & 0x3F);
        }
        int byte = fromUnicode(c);
        if (byte < 0) {
            std::string shown(in.substr(i, extra + 1));
            return Error{2, "O caractere \"" + shown + "\" (posição " + std::to_string(position + 1) +
                                ") não pode ser gravado. Use apenas letras, números e sinais do "
                                "português."};
        }
        out += static_cast<char>(byte);
        i += extra + 1;
    }
    return out;
}

unsigned char foldCase(unsigned char b) {
    if (b >= 'a' && b <= 'z') return b - 0x20;
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return b - 0x20;
    switch (b) {
    case 0x9A: return 0x8A; // š Š
    case 0x9C: return 0x8C; // œ Œ
    case 0x9E: return 0x8E; // ž Ž
    case 0xFF: return 0x9F; // ÿ Ÿ
    default: return b;
    }
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (auto& ch : out) ch = static_cast<char>(foldCase(static_cast<unsigned char>(ch)));
    return out;
}

namespace {
template <class Map> int compareWith(std::string_view a, std::string_view b, Map map) {
    a = fixed::clip(a);
    b = fixed::clip(b);
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int x = map(static_cast<unsigned char>(a[i]));
        int y = map(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
} // namespace

int compare(std::string_view a, std::string_view b) {
    return compareWith(a, b, [](unsigned char c) { return int(c); });
}

int compareNoCase(std::string_view a, std::string_view b) {
    return compareWith(a, b, [](unsigned char c) { return int(foldCase(c)); });
}

} // namespace saldora::cp1252

namespace saldora::fixed {

std::string_view clip(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    return s.substr(0, n);
}

std::string fit(std::string_view s, size_t width) {
    return std::string(clip(s.substr(0, std::min(width, s.size()))));
}

std::string pad(std::string_view s, size_t width) {
    std::string out(s.substr(0, std::min(width, s.size())));
    out.resize(width, ' ');
    return out;
}

bool isBlank(std::string_view s) { return clip(s).empty(); }

} // namespace saldora::fixed
