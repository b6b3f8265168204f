#include "data/ini.h"

#include "data/file_names.h"
#include "data/text.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace saldora::ini {
namespace {

// A file as its lines, each with the line end it had, so that a write gives back every line it
// did not touch byte for byte. Text is cp1252.
struct Line {
    std::string text;
    std::string end; // "\r\n", "\n", or "" for a last line without one
};
using Lines = std::vector<Line>;

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kNewLine = "\r\n";

std::string_view trim(std::string_view s) {
    size_t b = s.find_first_not_of(kBlanks);
    if (b == std::string_view::npos) return {};
    size_t e = s.find_last_not_of(kBlanks);
    return s.substr(b, e - b + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && cp1252::compareNoCase(a, b) == 0;
}

// The name of a section header line ("[name]", blanks allowed around it), or nothing.
std::optional<std::string_view> headerName(std::string_view line) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    t.remove_prefix(1);
    size_t close = t.find(']');
    return trim(close == std::string_view::npos ? t : t.substr(0, close));
}

// The key of a "key=value" line, or nothing for comments, headers and other lines.
std::optional<std::string_view> keyName(std::string_view line) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view key = trim(t.substr(0, eq));
    if (key.empty()) return std::nullopt;
    return key;
}

// The value of a key line: blanks around it dropped, then one pair of matching quotes.
std::string_view valueOf(std::string_view line) {
    std::string_view v = trim(line.substr(line.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

// Lines [begin, end) of a section's body: from after its header to the next header.
struct Body {
    size_t header, begin, end;
};

std::optional<Body> findSection(const Lines& lines, std::string_view section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        auto name = headerName(lines[i].text);
        if (!name || !sameName(*name, section)) continue;
        size_t end = i + 1;
        while (end < lines.size() && !headerName(lines[end].text))
            ++end;
        return Body{i, i + 1, end};
    }
    return std::nullopt;
}

std::optional<size_t> findKey(const Lines& lines, const Body& body, std::string_view key) {
    for (size_t i = body.begin; i < body.end; ++i) {
        auto name = keyName(lines[i].text);
        if (name && sameName(*name, key)) return i;
    }
    return std::nullopt;
}

Error fileError(const std::string& path, const std::string& what, const std::string& reason) {
    return Error{5, "Não foi possível " + what + " o arquivo " + path + ": " + reason};
}

std::string lastSystemError() {
    return std::strerror(errno ? errno : EIO);
}

// Reads the file's lines; a missing file has none.
Result<Lines> load(const std::string& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return Lines{};
    std::ifstream in(path, std::ios::binary);
    if (!in) return fileError(path, "ler", lastSystemError());
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string content = buffer.str();
    Lines lines;
    size_t pos = 0;
    while (pos < content.size()) {
        size_t nl = content.find('\n', pos);
        if (nl == std::string::npos) {
            lines.push_back({content.substr(pos), ""});
            break;
        }
        bool crlf = nl > pos && content[nl - 1] == '\r';
        lines.push_back({content.substr(pos, nl - pos - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n"});
        pos = nl + 1;
    }
    return lines;
}

// Writes the lines to a new file beside the old one and puts it in its place, so that a reader
// never sees half a file.
Status save(const std::string& path, const Lines& lines) {
    std::string content;
    for (const auto& l : lines)
        content += l.text + l.end;
    const std::string temporary = path + ".~" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return fileError(path, "gravar", lastSystemError());
        out << content;
        out.flush();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return fileError(path, "gravar", lastSystemError());
        }
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return fileError(path, "gravar", ec.message());
    }
    return {};
}

bool hasLineBreak(std::string_view s) {
    return s.find_first_of(kNewLine) != std::string_view::npos;
}

Error refused(std::string text) {
    return Error{22, std::move(text)};
}

// The names and value of a write in cp1252, or why they cannot be written.
struct Entry {
    std::string section, key, value;
};

Result<Entry> encode(std::string_view section, std::string_view key, std::string_view value) {
    if (section.find(']') != std::string_view::npos || hasLineBreak(section))
        return refused("Nome de seção inválido: \"" + std::string(section) + "\".");
    std::string_view k = trim(key);
    if (k.empty() || k.find('=') != std::string_view::npos || k.front() == ';' ||
        k.front() == '[' || hasLineBreak(k))
        return refused("Nome de chave inválido: \"" + std::string(key) + "\".");
    if (hasLineBreak(value))
        return refused("O valor de \"" + std::string(key) + "\" tem quebra de linha.");
    auto s = cp1252::fromUtf8(section);
    if (!s) return s.error();
    auto n = cp1252::fromUtf8(k);
    if (!n) return n.error();
    auto v = cp1252::fromUtf8(value);
    if (!v) return v.error();
    return Entry{*s, *n, *v};
}

// Names to look up, in cp1252; a name cp1252 cannot hold matches nothing.
std::optional<std::string> lookupName(std::string_view utf8) {
    auto r = cp1252::fromUtf8(utf8);
    if (!r) return std::nullopt;
    return std::string(trim(*r));
}

// The key's line of the section when present, with the lines read.
struct Found {
    Lines lines;
    std::optional<Body> body;
    std::optional<size_t> key;
};

Found lookup(std::string_view file, std::string_view section, std::string_view key) {
    Found f;
    auto s = lookupName(section), k = lookupName(key);
    if (!s || !k) return f;
    auto lines = load(locate(file));
    if (!lines) return f;
    f.lines = std::move(*lines);
    f.body = findSection(f.lines, *s);
    if (f.body) f.key = findKey(f.lines, *f.body, *k);
    return f;
}

long parseNumber(std::string_view v) {
    v = trim(v);
    bool negative = false;
    if (!v.empty() && (v.front() == '-' || v.front() == '+')) {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    long long n = 0;
    for (char c : v) {
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
        if (n > 0x7FFFFFFFLL) {
            n = 0x7FFFFFFFLL;
            break;
        }
    }
    return static_cast<long>(negative ? -n : n);
}

} // namespace

std::string locate(std::string_view file) {
    std::string native = file_names::nativeSeparators(file);
    if (native.find('/') == std::string::npos)
        return file_names::resolveIn(file_names::configFolder(), native);
    return file_names::resolve(native);
}

std::string read(std::string_view file, std::string_view section, std::string_view key,
                 std::string_view defaultValue) {
    Found f = lookup(file, section, key);
    if (!f.key) return std::string(defaultValue);
    return cp1252::toUtf8(valueOf(f.lines[*f.key].text));
}

std::string read(std::string_view file, const Setting& s) {
    return read(file, s.section, s.key, s.defaultValue);
}

long readNumber(std::string_view file, std::string_view section, std::string_view key,
                long defaultValue) {
    Found f = lookup(file, section, key);
    if (!f.key) return defaultValue;
    return parseNumber(valueOf(f.lines[*f.key].text));
}

long readNumber(std::string_view file, const Setting& s) {
    return readNumber(file, s.section, s.key, parseNumber(s.defaultValue));
}

namespace {

// Sets one key in the loaded lines.
void put(Lines& lines, const Entry& entry) {
    const std::string sectionName(trim(entry.section));
    auto body = findSection(lines, sectionName);
    if (!body) {
        // A new section follows the last line directly, as the Windows profile functions write it.
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = kNewLine;
        lines.push_back({"[" + sectionName + "]", std::string(kNewLine)});
        lines.push_back({entry.key + "=" + entry.value, std::string(kNewLine)});
        return;
    }
    if (auto at = findKey(lines, *body, entry.key)) {
        // Keep the key as spelt and the spacing around "=": only the value changes.
        std::string& text = lines[*at].text;
        size_t valueStart = text.find('=') + 1;
        while (valueStart < text.size() && (text[valueStart] == ' ' || text[valueStart] == '\t'))
            ++valueStart;
        text = text.substr(0, valueStart) + entry.value;
        return;
    }
    // A new key goes after the section's last line that is not blank.
    size_t at = body->end;
    while (at > body->begin && trim(lines[at - 1].text).empty())
        --at;
    if (lines[at - 1].end.empty()) lines[at - 1].end = kNewLine;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                 {entry.key + "=" + entry.value, std::string(kNewLine)});
}

} // namespace

Status write(std::string_view file, std::string_view section, std::string_view key,
             std::string_view value) {
    return write(file, section, {{key, std::string(value)}});
}

Status write(std::string_view file, std::string_view section,
             const std::vector<std::pair<std::string_view, std::string>>& keys) {
    std::vector<Entry> entries;
    for (const auto& [key, value] : keys) {
        auto entry = encode(section, key, value);
        if (!entry) return entry.error();
        entries.push_back(std::move(*entry));
    }
    const std::string path = locate(file);
    auto loaded = load(path);
    if (!loaded) return loaded.error();
    for (const Entry& e : entries) put(*loaded, e);
    return save(path, *loaded);
}

Status write(std::string_view file, const Setting& s, std::string_view value) {
    return write(file, s.section, s.key, value);
}

Status remove(std::string_view file, std::string_view section, std::string_view key) {
    Found f = lookup(file, section, key);
    if (!f.key) return {};
    f.lines.erase(f.lines.begin() + static_cast<std::ptrdiff_t>(*f.key));
    return save(locate(file), f.lines);
}

std::vector<std::pair<std::string, std::string>> section(std::string_view file,
                                                         std::string_view sectionName) {
    std::vector<std::pair<std::string, std::string>> keys;
    auto s = lookupName(sectionName);
    if (!s) return keys;
    auto lines = load(locate(file));
    if (!lines) return keys;
    auto body = findSection(*lines, *s);
    if (!body) return keys;
    std::vector<std::string_view> seen;
    for (size_t i = body->begin; i < body->end; ++i) {
        auto name = keyName((*lines)[i].text);
        if (!name) continue;
        bool duplicate = false;
        for (auto n : seen)
            duplicate = duplicate || sameName(n, *name);
        if (duplicate) continue;
        seen.push_back(*name);
        keys.emplace_back(cp1252::toUtf8(*name), cp1252::toUtf8(valueOf((*lines)[i].text)));
    }
    return keys;
}

} // namespace saldora::ini
