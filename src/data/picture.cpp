#include "data/picture.h"

#include "data/text.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace saldora::picture {
namespace {

constexpr auto npos = std::string_view::npos;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool allDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), isDigit);
}
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view trim(std::string_view s) {
    size_t first = s.find_first_not_of(' ');
    if (first == npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

int toInt(std::string_view digits) { // at most a few digits, already checked
    int v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

std::string twoDigits(int v) {
    return {static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
}

std::string quoted(std::string_view cp1252Text) {
    return "\"" + cp1252::toUtf8(cp1252Text) + "\"";
}

Error badPicture(std::string_view what, std::string_view pictureText) {
    return Error{kBadPicture, std::string(what) + ": " + quoted(pictureText) + "."};
}

Error refused(std::string text) {
    return Error{kRefused, std::move(text)};
}

std::string hashes(const Picture& p) {
    return std::string(p.width, '#');
}
std::string blanks(const Picture& p) {
    return std::string(p.width, ' ');
}

// An optional minus and digits; blank text is 0.
std::optional<int64_t> plainInteger(std::string_view plain) {
    std::string_view s = trim(plain);
    if (s.empty()) return 0;
    int64_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || end != s.data() + s.size() || s[0] == '+') return std::nullopt;
    return v;
}

// ---------------------------------------------------------------------------------------------
// Reading the picture text

struct Cursor {
    std::string_view s;
    size_t i = 0;

    bool done() const { return i >= s.size(); }
    char peek(size_t ahead = 0) const { return i + ahead < s.size() ? s[i + ahead] : '\0'; }
    bool takeIf(bool matches) {
        if (matches) ++i;
        return matches;
    }
    bool take(char c) { return takeIf(!done() && peek() == c); }
    bool takeLetter(char c) { return takeIf(!done() && lower(peek()) == c); }
    // A leading "0" that is followed by more digits: a zero fill or a zero-filled element.
    bool takeLeadingZero() { return takeIf(peek() == '0' && isDigit(peek(1))); }
    // Digits as a number, -1 when there are none; a number above kMaxWidth reads kMaxWidth + 1.
    int number() {
        if (!isDigit(peek())) return -1;
        int v = 0;
        for (; isDigit(peek()); ++i)
            v = std::min(v * 10 + (peek() - '0'), kMaxWidth + 1);
        return v;
    }
};

Status checkWidth(int width, std::string_view pictureText) {
    if (width < 0) return badPicture("Formato sem largura", pictureText);
    if (width < 1 || width > kMaxWidth)
        return badPicture("Largura do formato deve ser de 1 a " + std::to_string(kMaxWidth),
                          pictureText);
    return {};
}

Status readText(Cursor& c, Picture& p) {
    p.width = c.number();
    return checkWidth(p.width, c.s);
}

Status readNumber(Cursor& c, Picture& p) {
    p.minus = c.take('-');
    bool filled = true;
    if (c.takeLeadingZero())
        p.fill = '0';
    else if (c.take('*'))
        p.fill = '*';
    else if (!c.take('_'))
        filled = false;
    p.width = c.number();
    if (Status s = checkWidth(p.width, c.s); !s) return s;

    p.grouping = filled ? 0 : ',';
    // "." right after the width groups thousands unless a digit follows: then it is the point.
    char grouping = 0;
    if (c.take('_'))
        grouping = ' ';
    else if (c.takeIf(c.peek() == '.' && !isDigit(c.peek(1))))
        grouping = '.';
    if (grouping) {
        if (filled)
            return badPicture("Formato numérico com preenchimento não aceita separador de milhar",
                              c.s);
        p.grouping = grouping;
    }
    if (c.peek() == '.' || c.peek() == '`') {
        p.decimal = c.peek() == '.' ? '.' : ',';
        ++c.i;
        p.places = c.number();
        if (p.places < 0) return badPicture("Formato numérico sem o número de casas decimais", c.s);
        if (p.places > 0 && p.places + 2 > p.width)
            return badPicture("Formato numérico sem espaço para as casas decimais", c.s);
    }
    p.blankZero = c.takeLetter('b');
    return {};
}

// Dates and times share one shape: [0] style [separator] [b].
Status readDateOrTime(Cursor& c, Picture& p) {
    bool isDate = p.kind == Kind::Date;
    p.zeroFilled = c.takeLeadingZero();
    p.style = c.number();
    if (isDate && p.style != 5 && p.style != 6)
        return badPicture("Formato de data não suportado (use @d06 ou @d05)", c.s);
    if (!isDate && p.style != 1)
        return badPicture("Formato de hora não suportado (use @t01 ou @t1)", c.s);
    p.width = isDate ? (p.style == 6 ? 10 : 8) : 5;
    p.separator = isDate ? '/' : ':';
    // Another separator: "." periods, "`" commas, "-" hyphens, "_" blanks.
    constexpr std::string_view letters = ".`-_", separators = ".,- ";
    if (size_t k = letters.find(c.peek()); k != npos) {
        p.separator = separators[k];
        ++c.i;
    }
    p.blankZero = c.takeLetter('b');
    return {};
}

bool isPosition(char c) {
    return c == '#' || c == '<';
}

int digitPositions(std::string_view pattern) {
    return static_cast<int>(std::count_if(pattern.begin(), pattern.end(), isPosition));
}

Status readPattern(Cursor& c, Picture& p) {
    size_t close = c.s.find_first_of("Pp", c.i);
    if (close == npos) return badPicture("Formato de máscara sem o P final", c.s);
    p.pattern = std::string(c.s.substr(c.i, close - c.i));
    c.i = close + 1;
    if (digitPositions(p.pattern) == 0)
        return badPicture("Formato de máscara sem posições de dígito (# ou <)", c.s);
    p.width = static_cast<int>(p.pattern.size());
    if (Status s = checkWidth(p.width, c.s); !s) return s;
    p.blankZero = c.takeLetter('b');
    return {};
}

// ---------------------------------------------------------------------------------------------
// Numbers: a sign and decimal digits, so that any width and any value are exact.

struct Number {
    bool negative = false;
    std::string whole; // without leading zeros, empty for zero
    std::string frac;  // exactly the picture's places

    bool isZero() const { return whole.empty() && frac.find_first_not_of('0') == npos; }
};

// whole.frac rounded half away from zero to `places`.
Number rounded(bool negative, std::string_view whole, std::string_view frac, int places) {
    const size_t n = static_cast<size_t>(places);
    std::string digits(whole);
    digits += frac.substr(0, n);
    digits.append(n - std::min(frac.size(), n), '0');
    if (frac.size() > n && frac[n] >= '5') {
        size_t k = digits.size();
        while (k > 0 && digits[k - 1] == '9')
            digits[--k] = '0';
        if (k == 0)
            digits.insert(0, "1");
        else
            ++digits[k - 1];
    }
    Number r;
    r.frac = digits.substr(digits.size() - n);
    std::string_view w = std::string_view(digits).substr(0, digits.size() - n);
    size_t first = w.find_first_not_of('0');
    if (first != npos) r.whole = std::string(w.substr(first));
    r.negative = negative && !r.isZero();
    return r;
}

// Plain number text: optional minus, digits, optional "." and digits ("-1234.5"); blank is 0.
std::optional<Number> plainNumber(std::string_view plain, int places) {
    std::string_view s = trim(plain);
    bool negative = !s.empty() && s[0] == '-';
    if (negative) s.remove_prefix(1);
    size_t point = s.find('.');
    std::string_view whole = s.substr(0, point);
    std::string_view frac = point == npos ? std::string_view() : s.substr(point + 1);
    if (!allDigits(whole) || !allDigits(frac) || (negative && whole.empty() && frac.empty()))
        return std::nullopt;
    return rounded(negative, whole, frac, places);
}

std::string plainText(const Number& n) {
    std::string s = (n.negative ? "-" : "") + (n.whole.empty() ? "0" : n.whole);
    if (!n.frac.empty()) s += "." + n.frac;
    return s;
}

// The number in the picture's width, or nothing when it does not fit.
std::optional<std::string> layoutNumber(const Picture& p, const Number& n) {
    if (n.isZero() && p.blankZero) return blanks(p);
    std::string body = n.whole.empty() ? "0" : n.whole;
    if (p.grouping)
        for (size_t k = body.size(); k > 3; k -= 3)
            body.insert(k - 3, 1, p.grouping);
    if (p.places > 0) body += p.decimal + n.frac;
    std::string sign = n.negative ? "-" : "";
    size_t used = sign.size() + body.size();
    if (used > static_cast<size_t>(p.width)) return std::nullopt;
    std::string pad(p.width - used, p.fill);
    return p.fill == ' ' ? pad + sign + body : sign + pad + body;
}

// Digits grouped by `g` ("1.234.567") or not grouped at all.
std::optional<std::string> ungrouped(std::string_view whole, char g) {
    if (!g || whole.find(g) == npos)
        return allDigits(whole) ? std::optional<std::string>(whole) : std::nullopt;
    std::string digits;
    for (size_t start = 0, group = 0;; ++group) {
        size_t end = whole.find(g, start);
        std::string_view part = whole.substr(start, end == npos ? npos : end - start);
        bool sized = group == 0 ? !part.empty() && part.size() <= 3 : part.size() == 3;
        if (!sized || !allDigits(part)) return std::nullopt;
        digits += part;
        if (end == npos) return digits;
        start = end + 1;
    }
}

Result<Number> typedNumber(const Picture& p, std::string_view typed) {
    const Error invalid = refused("Valor numérico inválido: " + quoted(typed) + ".");
    std::string_view s = trim(typed);
    bool negative = !s.empty() && s[0] == '-';
    if (negative) {
        if (!p.minus)
            return refused("O formato " + quoted(p.text) + " não aceita valores negativos.");
        s.remove_prefix(1);
        if (s.empty()) return invalid;
    }
    if (p.fill == '*') s.remove_prefix(std::min(s.find_first_not_of('*'), s.size()));

    size_t point = npos;
    if (p.places > 0) {
        if (p.grouping == p.decimal) {
            size_t last = s.rfind(p.decimal);
            if (last != npos && s.size() - last - 1 <= static_cast<size_t>(p.places)) point = last;
        } else {
            point = s.find(p.decimal);
        }
    }
    std::string_view frac = point == npos ? std::string_view() : s.substr(point + 1);
    auto whole = ungrouped(s.substr(0, point), p.grouping);
    if (!whole || !allDigits(frac) || (point != npos && whole->empty() && frac.empty()))
        return invalid;
    if (frac.size() > static_cast<size_t>(p.places) &&
        frac.find_first_not_of('0', p.places) != npos)
        return refused("O formato " + quoted(p.text) + " aceita " + std::to_string(p.places) +
                       " casas decimais: " + quoted(typed) + ".");
    Number n = rounded(negative, *whole, frac, p.places);
    if (!layoutNumber(p, n))
        return refused("Valor grande demais para o formato " + quoted(p.text) + ": " +
                       quoted(typed) + ".");
    return n;
}

// ---------------------------------------------------------------------------------------------
// Dates and times

std::optional<std::string> showDate(const Picture& p, std::string_view plain) {
    auto n = plainInteger(plain);
    if (!n) return std::nullopt;
    if (*n == date::kNone) return blanks(p);
    auto ymd = *n > 0 && *n <= INT32_MAX ? date::toYmd(static_cast<int32_t>(*n)) : std::nullopt;
    if (!ymd) return hashes(p);
    std::string day = twoDigits(ymd->day);
    if (!p.zeroFilled && day[0] == '0') day[0] = ' ';
    std::string year =
        p.style == 6 ? twoDigits(ymd->year / 100) + twoDigits(ymd->year) : twoDigits(ymd->year);
    return day + p.separator + twoDigits(ymd->month) + p.separator + year;
}

// A two-digit year within the 80 years before and the 19 years after today's year.
int fullYear(int yy, int32_t today) {
    auto t = date::toYmd(today != date::kNone ? today : date::today());
    if (!t) t = date::toYmd(date::today());
    int first = t->year - 80;
    return first + ((yy - first) % 100 + 100) % 100;
}

Result<int32_t> typedDate(const Picture& p, std::string_view typed, int32_t today) {
    std::string_view s = trim(typed);
    if (s.empty()) return date::kNone;
    std::string form = p.style == 6 ? "dd/mm/aaaa" : "dd/mm/aa";
    std::replace(form.begin(), form.end(), '/', p.separator);
    const Error invalid = refused("Data inválida: " + quoted(typed) + " (use " + form + ").");

    std::string_view day, month, year;
    if (allDigits(s)) {
        if (s.size() != 6 && s.size() != 8) return invalid;
        day = s.substr(0, 2), month = s.substr(2, 2), year = s.substr(4);
    } else {
        size_t a = s.find(p.separator), b = a == npos ? npos : s.find(p.separator, a + 1);
        if (b == npos) return invalid;
        day = s.substr(0, a), month = s.substr(a + 1, b - a - 1), year = s.substr(b + 1);
        if (day.empty() || day.size() > 2 || month.empty() || month.size() > 2 ||
            (year.size() != 2 && year.size() != 4) || !allDigits(day) || !allDigits(month) ||
            !allDigits(year))
            return invalid;
    }
    int y = year.size() == 2 ? fullYear(toInt(year), today) : toInt(year);
    if (y < date::kFirstYear)
        return refused("Data anterior a 1801 não é aceita: " + quoted(typed) + ".");
    auto n = date::fromYmd(y, toInt(month), toInt(day));
    if (!n) return refused("Data inexistente: " + quoted(typed) + ".");
    return *n;
}

std::optional<std::string> showTime(const Picture& p, std::string_view plain) {
    auto n = plainInteger(plain);
    if (!n) return std::nullopt;
    if (*n == clock_time::kNone) return blanks(p);
    auto hms = *n > 0 && *n <= clock_time::kPerDay ? clock_time::toHms(static_cast<int32_t>(*n))
                                                   : std::nullopt;
    if (!hms) return hashes(p);
    std::string hours = twoDigits(hms->hour);
    if (!p.zeroFilled && hours[0] == '0') hours[0] = ' ';
    return hours + p.separator + twoDigits(hms->minute);
}

Result<int32_t> typedTime(const Picture& p, std::string_view typed) {
    std::string_view s = trim(typed);
    if (s.empty()) return clock_time::kNone;
    const Error invalid = refused("Hora inválida: " + quoted(typed) + " (use hh" +
                                  std::string(1, p.separator) + "mm).");
    std::string_view hours, minutes;
    if (allDigits(s)) {
        if (s.size() != 3 && s.size() != 4) return invalid;
        hours = s.substr(0, s.size() - 2), minutes = s.substr(s.size() - 2);
    } else {
        size_t sep = s.find(p.separator);
        if (sep == npos) return invalid;
        hours = s.substr(0, sep), minutes = s.substr(sep + 1);
        if (hours.empty() || hours.size() > 2 || minutes.size() != 2 || !allDigits(hours) ||
            !allDigits(minutes))
            return invalid;
    }
    auto t = clock_time::fromHms(toInt(hours), toInt(minutes));
    if (!t) return refused("Hora inexistente: " + quoted(typed) + ".");
    return *t;
}

// ---------------------------------------------------------------------------------------------
// Patterns

std::optional<std::string> showPattern(const Picture& p, std::string_view plain) {
    std::string_view s = trim(plain);
    if (s.empty() && p.blankZero) return blanks(p);
    if (!allDigits(s)) return std::nullopt;
    const size_t positions = static_cast<size_t>(digitPositions(p.pattern));
    std::string digits;
    if (!s.empty()) { // a number: leading zeros added or dropped to fit the positions
        if (s.size() > positions) {
            if (s.find_first_not_of('0') < s.size() - positions) return hashes(p);
            s.remove_prefix(s.size() - positions);
        }
        digits = std::string(positions - s.size(), '0') + std::string(s);
    }
    std::string out;
    size_t k = 0;
    bool leading = true;
    for (char c : p.pattern) {
        if (c != '#' && c != '<') {
            out += c;
        } else if (digits.empty()) {
            out += ' ';
        } else {
            char d = digits[k++];
            leading = leading && d == '0';
            out += c == '<' && leading ? ' ' : d;
        }
    }
    return out;
}

// Typed as the pattern shows it: its literals in their places, a digit or a blank in each
// position. Only then can literal digits of the pattern be told from the value's digits.
bool asShown(std::string_view pattern, std::string_view typed) {
    if (typed.size() != pattern.size()) return false;
    for (size_t i = 0; i < typed.size(); ++i) {
        bool fits =
            isPosition(pattern[i]) ? isDigit(typed[i]) || typed[i] == ' ' : typed[i] == pattern[i];
        if (!fits) return false;
    }
    return true;
}

// The digits typed, either as the pattern shows them or bare with any of the pattern's literals
// among them; the leading zeros of "<" positions may be left out.
Result<std::string> typedPattern(const Picture& p, std::string_view typed) {
    std::string digits;
    const bool shown = asShown(p.pattern, typed);
    for (size_t i = 0; i < typed.size(); ++i) {
        char c = typed[i];
        if (isDigit(c) && (!shown || isPosition(p.pattern[i])))
            digits += c;
        else if (!shown && c != ' ' && (isPosition(c) || p.pattern.find(c) == npos))
            return refused("Caractere não aceito pelo formato " + quoted(p.text) + ": " +
                           quoted(typed) + ".");
    }
    if (digits.empty()) return digits;
    const size_t positions = static_cast<size_t>(digitPositions(p.pattern));
    const size_t blankable =
        static_cast<size_t>(std::count(p.pattern.begin(), p.pattern.end(), '<'));
    if (digits.size() > positions || digits.size() + blankable < positions)
        return refused("O formato " + quoted(p.text) + " pede " + std::to_string(positions) +
                       " dígitos: " + quoted(typed) + ".");
    return std::string(positions - digits.size(), '0') + digits;
}

// ---------------------------------------------------------------------------------------------

std::string plainOf(const Value& v) {
    struct {
        std::string operator()(int64_t n) const { return std::to_string(n); }
        std::string operator()(const Decimal& d) const { return d.toString(); }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(double d) const {
            char buf[400]; // the longest fixed form of a double is about 330 characters
            auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed);
            return r.ec == std::errc{} ? std::string(buf, r.ptr) : "nan";
        }
    } visitor;
    return std::visit(visitor, v);
}

// The plain value in the picture; nothing when it is no value of the picture's kind.
std::optional<std::string> show(const Picture& p, std::string_view plain) {
    switch (p.kind) {
    case Kind::Text:
        return fixed::pad(plain, p.width);
    case Kind::Number: {
        auto n = plainNumber(plain, p.places);
        if (!n) return std::nullopt;
        return layoutNumber(p, *n).value_or(hashes(p));
    }
    case Kind::Date:
        return showDate(p, plain);
    case Kind::Time:
        return showTime(p, plain);
    case Kind::Pattern:
        return showPattern(p, plain);
    }
    return std::nullopt;
}

Result<std::string> typedPlain(const Picture& p, std::string_view typed, int32_t today) {
    switch (p.kind) {
    case Kind::Text: {
        std::string_view s = fixed::clip(typed);
        if (s.size() > static_cast<size_t>(p.width))
            return refused("Texto com mais de " + std::to_string(p.width) + " caracteres.");
        return std::string(s);
    }
    case Kind::Number: {
        auto n = typedNumber(p, typed);
        if (!n) return n.error();
        return plainText(*n);
    }
    case Kind::Date: {
        auto d = typedDate(p, typed, today);
        if (!d) return d.error();
        return std::to_string(*d);
    }
    case Kind::Time: {
        auto t = typedTime(p, typed);
        if (!t) return t.error();
        return std::to_string(*t);
    }
    case Kind::Pattern:
        return typedPattern(p, typed);
    }
    return refused("Formato inválido.");
}

Error notNumeric(std::string_view plain) {
    return refused("Valor numérico inválido: " + quoted(plain) + ".");
}

// Plain number text as a whole number: decimals, if any, must be zeros.
Result<int64_t> wholeOf(std::string_view plain) {
    std::string_view s = trim(plain);
    size_t point = s.find('.');
    std::string_view frac = point == npos ? std::string_view() : s.substr(point + 1);
    auto n = plainNumber(s.substr(0, point), 0);
    if (!n || !allDigits(frac)) return notNumeric(plain);
    if (frac.find_first_not_of('0') != npos)
        return refused("Valor deve ser inteiro: " + quoted(plain) + ".");
    auto v = plainInteger(plainText(*n));
    if (!v) return refused("Valor fora do limite: " + quoted(plain) + ".");
    return *v;
}

} // namespace

Result<Picture> parse(std::string_view pictureText) {
    std::string_view t = trim(pictureText);
    if (t.empty()) return Error{kBadPicture, "Formato vazio."};
    if (t[0] != '@') return badPicture("Formato deve começar com \"@\"", t);
    if (t.size() == 1) return badPicture("Formato incompleto", t);
    Picture p;
    p.text = std::string(t);
    Cursor c{t, 2};
    Status status;
    switch (lower(t[1])) {
    case 's':
        p.kind = Kind::Text;
        status = readText(c, p);
        break;
    case 'n':
        p.kind = Kind::Number;
        status = readNumber(c, p);
        break;
    case 'd':
        p.kind = Kind::Date;
        status = readDateOrTime(c, p);
        break;
    case 't':
        p.kind = Kind::Time;
        status = readDateOrTime(c, p);
        break;
    case 'p':
        p.kind = Kind::Pattern;
        status = readPattern(c, p);
        break;
    default:
        return badPicture("Formato desconhecido", t);
    }
    if (!status) return status.error();
    if (!c.done()) return badPicture("Formato inválido", t);
    return p;
}

Result<int> width(std::string_view pictureText) {
    auto p = parse(pictureText);
    if (!p) return p.error();
    return p->width;
}

std::string format(const Picture& p, const Value& value) {
    return show(p, plainOf(value)).value_or(hashes(p));
}

Result<std::string> format(std::string_view pictureText, const Value& value) {
    auto p = parse(pictureText);
    if (!p) return p.error();
    return format(*p, value);
}

Result<std::string> formatPlain(std::string_view pictureText, std::string_view plain) {
    auto p = parse(pictureText);
    if (!p) return p.error();
    auto shown = show(*p, plain);
    if (!shown)
        return refused("Valor " + quoted(plain) + " não serve para o formato " + quoted(p->text) +
                       ".");
    return *shown;
}

template <class T> Result<T> read(const Picture& p, std::string_view typed, int32_t today) {
    auto plain = typedPlain(p, typed, today);
    if (!plain) return plain.error();
    if constexpr (std::is_same_v<T, std::string>) {
        return plain;
    } else if constexpr (std::is_same_v<T, int64_t>) {
        return wholeOf(*plain);
    } else if constexpr (std::is_same_v<T, double>) {
        std::string_view s = trim(*plain);
        if (s.empty()) return 0.0;
        double v = 0;
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        if (ec != std::errc{} || end != s.data() + s.size()) return notNumeric(*plain);
        return v;
    } else {
        static_assert(std::is_same_v<T, Decimal>);
        std::string s(trim(*plain));
        if (s.find('.') != npos) { // "20.50" and "12.500" are hundredths; Decimal wants at most 2
            s.erase(s.find_last_not_of('0') + 1);
            if (s.back() == '.') s.pop_back();
        }
        if (s.empty()) return Decimal();
        return Decimal::parse(s);
    }
}

template Result<std::string> read<std::string>(const Picture&, std::string_view, int32_t);
template Result<int64_t> read<int64_t>(const Picture&, std::string_view, int32_t);
template Result<double> read<double>(const Picture&, std::string_view, int32_t);
template Result<Decimal> read<Decimal>(const Picture&, std::string_view, int32_t);

Result<std::string> readPlain(std::string_view pictureText, std::string_view typed, int32_t today) {
    auto p = parse(pictureText);
    if (!p) return p.error();
    return read<std::string>(*p, typed, today);
}

} // namespace saldora::picture
