#include "ui/list_format.h"

#include "data/ini.h"
#include "data/settings_keys.h"

#include <cctype>

namespace saldora::ui {
namespace {

bool isAlignment(char c) { return c == 'L' || c == 'R' || c == 'C' || c == 'D'; }

struct Reader {
    std::string_view s;
    size_t i = 0;
    bool end() const { return i >= s.size(); }
    char peek() const { return end() ? '\0' : s[i]; }
    bool take(char c) {
        if (peek() != c) return false;
        ++i;
        return true;
    }
    std::optional<long> number() {
        size_t start = i;
        long n = 0;
        while (!end() && std::isdigit(static_cast<unsigned char>(s[i]))) n = n * 10 + (s[i++] - '0');
        if (i == start) return std::nullopt;
        return n;
    }
    // Up to the closing character, which is consumed.
    std::optional<std::string> until(char close) {
        size_t at = s.find(close, i);
        if (at == std::string_view::npos) return std::nullopt;
        std::string out(s.substr(i, at - i));
        i = at + 1;
        return out;
    }
};

long colour(std::string_view t) {
    if (t.empty()) return -1;
    bool hex = t.back() == 'H' || t.back() == 'h';
    std::string digits(hex ? t.substr(0, t.size() - 1) : t);
    try {
        return std::stol(digits, nullptr, hex ? 16 : 10);
    } catch (...) {
        return -1;
    }
}

std::string colourText(long c) {
    if (c < 0) return "";
    char buf[32];
    std::snprintf(buf, sizeof buf, "0%lXH", c);
    return buf;
}

} // namespace

Result<std::vector<ListColumnFormat>> parseListFormat(std::string_view format) {
    std::vector<ListColumnFormat> out;
    Reader r{format};
    auto bad = [&] {
        return Error{1, "Formato de lista inválido na posição " + std::to_string(r.i + 1) + ": " +
                            std::string(format)};
    };
    while (!r.end()) {
        ListColumnFormat c;
        auto width = r.number();
        if (!width || !isAlignment(r.peek())) return bad();
        c.width = static_cast<int>(*width);
        c.alignment = r.s[r.i++];
        if (r.take('(')) {
            auto indent = r.number();
            if (!indent || !r.take(')')) return bad();
            c.indent = static_cast<int>(*indent);
        }
        for (bool more = true; more && !r.end();) {
            switch (r.peek()) {
            case '|': c.rightBorder = true; ++r.i; break;
            case '_': c.underline = true; ++r.i; break;
            case 'M': c.resizable = true; ++r.i; break;
            case '*': c.cellColors = true; ++r.i; break;
            default: more = false;
            }
        }
        if (r.take('~')) {
            auto header = r.until('~');
            if (!header) return bad();
            c.header = *header;
            if (isAlignment(r.peek())) {
                c.headerAlignment = r.s[r.i++];
                if (r.take('(')) {
                    auto indent = r.number();
                    if (!indent || !r.take(')')) return bad();
                    c.headerIndent = static_cast<int>(*indent);
                }
            }
        }
        if (!r.take('@')) return bad();
        auto picture = r.until('@');
        if (!picture) return bad();
        c.picture = "@" + *picture;
        if (r.peek() == 'E' && r.i + 1 < r.s.size() && r.s[r.i + 1] == '(') {
            r.i += 2;
            auto colours = r.until(')');
            if (!colours) return bad();
            std::vector<std::string> parts{""};
            for (char ch : *colours) {
                if (ch == ',') parts.emplace_back();
                else parts.back() += ch;
            }
            parts.resize(4);
            c.foreground = colour(parts[0]);
            c.background = colour(parts[1]);
            c.selectedForeground = colour(parts[2]);
            c.selectedBackground = colour(parts[3]);
        }
        out.push_back(std::move(c));
    }
    if (out.empty()) return Error{1, "Formato de lista vazio."};
    return out;
}

std::string writeListFormat(const std::vector<ListColumnFormat>& columns) {
    std::string s;
    for (const auto& c : columns) {
        s += std::to_string(c.width) + c.alignment;
        if (c.indent) s += "(" + std::to_string(c.indent) + ")";
        if (c.rightBorder) s += '|';
        if (c.underline) s += '_';
        if (c.resizable) s += 'M';
        if (c.cellColors) s += '*';
        s += "~" + c.header + "~";
        if (c.headerAlignment) {
            s += c.headerAlignment;
            if (c.headerIndent) s += "(" + std::to_string(c.headerIndent) + ")";
        }
        s += c.picture + "@";
        if (c.foreground >= 0 || c.background >= 0 || c.selectedForeground >= 0 ||
            c.selectedBackground >= 0)
            s += "E(" + colourText(c.foreground) + "," + colourText(c.background) + "," +
                 colourText(c.selectedForeground) + "," + colourText(c.selectedBackground) + ")";
    }
    return s;
}

std::string restoreListFormat(std::string_view key, std::string_view design) {
    std::string format = peekListFormat(key, design);
    std::string defaultKey = std::string(key) + std::string(settings::preferences::layoutDefaultSuffix);
    if (ini::read(settings::kvelt::file, settings::preferences::section, defaultKey, "") != design)
        (void)ini::write(settings::kvelt::file, settings::preferences::section, defaultKey, design);
    return format;
}

std::string peekListFormat(std::string_view key, std::string_view design) {
    const auto& file = settings::kvelt::file;
    const auto section = settings::preferences::section;
    std::string defaultKey = std::string(key) + std::string(settings::preferences::layoutDefaultSuffix);
    if (ini::read(file, section, defaultKey, "") != design) return std::string(design);
    std::string saved = ini::read(file, section, key, "");
    if (saved.empty() || !parseListFormat(saved)) return std::string(design);
    return saved;
}

void saveListFormat(std::string_view key, std::string_view format, std::string_view design) {
    const auto& file = settings::kvelt::file;
    const auto section = settings::preferences::section;
    (void)ini::write(file, section, key, format);
    if (!design.empty())
        (void)ini::write(file, section,
                         std::string(key) + std::string(settings::preferences::layoutDefaultSuffix),
                         design);
}

} // namespace saldora::ui
