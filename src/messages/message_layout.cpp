#include "messages/message_layout.h"

#include <algorithm>
#include <cctype>

namespace saldora::message_box {
namespace {

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Bytes of the UTF-8 character that starts at `at`.
size_t charLength(std::string_view s, size_t at) {
    size_t n = 1;
    while (at + n < s.size() && isContinuation(s[at + n]))
        ++n;
    return n;
}

// The first `count` characters.
std::string_view firstCharacters(std::string_view s, size_t count) {
    size_t at = 0;
    for (size_t i = 0; i < count && at < s.size(); ++i)
        at += charLength(s, at);
    return s.substr(0, at);
}

char upperAscii(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool startsWithNoCase(std::string_view s, std::string_view word) {
    if (s.size() < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (upperAscii(s[i]) != upperAscii(word[i])) return false;
    return true;
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

bool isNumber(std::string_view s) {
    s = trimBlanks(s);
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The leading digits of a text as a number, blanks before them allowed; 0 without digits.
int leadingNumber(std::string_view s) {
    s = trimBlanks(s);
    long long n = 0;
    for (char c : s) {
        if (c < '0' || c > '9') break;
        n = std::min(n * 10 + (c - '0'), 1000000000LL);
    }
    return static_cast<int>(n);
}

// The flags of a numeric buttons text; only the eight low bits name buttons, and they are
// exact even for a number too long for any integer.
unsigned flagBits(std::string_view s) {
    unsigned bits = 0;
    for (char c : trimBlanks(s))
        bits = (bits * 10 + static_cast<unsigned>(c - '0')) & 0xFF;
    return bits;
}

std::vector<std::string_view> split(std::string_view s, char separator) {
    std::vector<std::string_view> pieces;
    for (size_t from = 0;;) {
        size_t at = s.find(separator, from);
        pieces.push_back(s.substr(from, at == std::string_view::npos ? at : at - from));
        if (at == std::string_view::npos) return pieces;
        from = at + 1;
    }
}

} // namespace

size_t characters(std::string_view utf8) {
    return static_cast<size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return !isContinuation(c); }));
}

FormattedText formatText(std::string_view text) {
    FormattedText f;
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (characters(text) > 3 && text[0] == '@') {
        size_t middle = charLength(text, 1);
        if (1 + middle < text.size() && text[1 + middle] == '@') {
            // A letter that is not plain ASCII is no alignment, but is a prefix all the same.
            f.letter = middle == 1 ? upperAscii(text[1]) : '?';
            text.remove_prefix(2 + middle);
        }
    }
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '|' || c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            f.lines.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    f.lines.push_back(std::move(line));
    for (size_t i = 0; i < f.lines.size(); ++i)
        f.text += (i ? "\r\n" : "") + f.lines[i];
    return f;
}

TextStyle textStyle(char prefixLetter, std::string_view alignOption, long fontStyle) {
    char letter =
        prefixLetter ? prefixLetter : (alignOption.empty() ? 0 : upperAscii(alignOption[0]));
    TextStyle s;
    s.align = letter == 'C' ? Align::Center : letter == 'R' ? Align::Right : Align::Left;
    s.fontStyle = letter == 'B' ? (fontStyle & ~0xFFFL) | 700 : fontStyle;
    s.bold = (s.fontStyle & 700) == 700;
    return s;
}

ButtonRow makeButtons(std::string_view buttons, int defaultButton, const MessageVariant& variant) {
    ButtonRow row;
    auto& list = row.buttons;
    if (trimBlanks(buttons).empty() || trimBlanks(buttons) == "0") {
        list.push_back({std::string(variant.buttonTexts[0]), 1});
    } else {
        if (isNumber(buttons)) {
            unsigned bits = flagBits(buttons);
            for (int bit = 0; bit < 8; ++bit)
                if (bits & (1u << bit))
                    list.push_back({std::string(variant.buttonTexts[bit]), 1 << bit});
        }
        const std::string_view word = variant.selfClosingWord;
        if (startsWithNoCase(buttons, variant.plainOkWord.substr(0, 8))) {
            list.push_back({"Ok", 0});
            row.record = false;
        } else if (buttons.find('|') != std::string_view::npos || !isNumber(buttons)) {
            // The self-closing word stands alone or before a separator: "Continuar|Parar" is
            // two button texts, not a box that closes itself.
            bool selfClosing = startsWithNoCase(buttons, word) &&
                               (buttons.size() == word.size() ||
                                !std::isalnum(static_cast<unsigned char>(buttons[word.size()])));
            if (selfClosing) {
                list.push_back({std::string(word), 0});
                if (buttons.size() > word.size() + 1)
                    row.closeAfterSeconds = leadingNumber(buttons.substr(word.size() + 1));
            } else {
                for (auto piece : split(buttons, '|'))
                    list.push_back({std::string(firstCharacters(piece, 20)), 0});
            }
        }
    }
    // A number naming no button of the table would leave the box without any way to answer.
    if (list.empty()) list.push_back({std::string(variant.buttonTexts[0]), 1});
    for (size_t i = 0; i < list.size(); ++i)
        if (defaultButton != 0 && list[i].value == defaultButton) {
            row.defaultIndex = static_cast<int>(i);
            break;
        }
    return row;
}

int answerOf(const ButtonRow& row, size_t index) {
    int value = row.buttons.at(index).value;
    return value != 0 ? value : static_cast<int>(index) + 1;
}

int textWidth(const std::vector<std::string>& lines, bool bold) {
    // 3.5 dialog units a character, a fifth more when bold, in whole units as int() gives them.
    const long perHundred = bold ? 420 : 350;
    long widest = 0;
    for (const auto& line : lines)
        widest = std::max(widest, static_cast<long>(characters(line)) * perHundred / 100);
    if (widest < 50) return 50;
    if (lines.size() == 1) return 4 * static_cast<int>(characters(lines.front()));
    return static_cast<int>(widest);
}

MessageLayout layoutMessage(const FormattedText& text, bool bold, size_t buttonCount,
                            const BoxMetrics& m) {
    MessageLayout l;
    const int lineCount = static_cast<int>(std::max<size_t>(text.lines.size(), 1));
    l.text = {5, 5, std::max(textWidth(text.lines, bold), m.drawnTextWidth),
              lineCount * m.lineHeight + 4};
    if (l.text.height < 20) {
        l.text.height = 20;
        l.text.y = 20;
    }
    l.text.height += m.lineHeight;
    l.width = l.text.x + l.text.width + 5;
    if (m.iconWidth > 0) {
        l.icon = {5, l.text.y + (l.text.height - m.iconHeight) / 2, m.iconWidth, m.iconHeight};
        l.width += m.iconWidth + 5;
        l.text.x += m.iconWidth + 5;
    }
    const int n = static_cast<int>(buttonCount);
    const int rowWidth = n > 0 ? n * kButtonWidth + (n - 1) * kButtonGap : 0;
    if (l.width < rowWidth + 10) l.width = rowWidth + 10;
    const int rowX = (l.width - rowWidth) / 2;
    const int rowY = l.text.y + l.text.height;
    for (int i = 0; i < n; ++i)
        l.buttons.push_back(
            {rowX + i * (kButtonWidth + kButtonGap), rowY, kButtonWidth, kButtonHeight});
    l.height = rowY + 25;
    return l;
}

} // namespace saldora::message_box
