#pragma once
// The arithmetic of the program's message box, NeatMessage, as plain functions: the text as it
// is shown and recorded, the row of buttons and what each answers, and the positions and sizes
// of the window's controls in dialog units (a quarter of the font's average character width
// across, an eighth of its height down).
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace saldora::message_box {

// What differs between the message boxes of the bookkeeping program and of the launcher.
struct MessageVariant {
    std::array<std::string_view, 8> buttonTexts; // for the flags 1, 2, 4, ... 128
    std::string_view plainOkWord;                // only its first eight letters count
    std::string_view selfClosingWord;            // followed by a separator and the seconds
    bool oneShotOptions;                         // the caller's one-shot presentation options
    bool screenFont;                             // the program-wide screen font
    bool storedPosition;                         // the box reopens where it was last left
    std::string_view messagesFile;               // physical names of the message files
    std::string_view mesContrFile;
};

inline constexpr MessageVariant saldoraVariant{
    {"&Ok", "&Sim", "&Não", "A&borta", "&Insiste", "&Ignora", "&Cancela", "&Ajuda"},
    "MessagemOk",
    "Continua",
    true,
    true,
    true,
    "Messages",
    "MesContr"};

inline constexpr MessageVariant launcherVariant{
    {"&Ok", "&Sim", "&Não", "A&bortar", "&Tentar de novo", "&Ignorar", "&Cancelar", "&Ajuda"},
    "MensagemOk",
    "Continue",
    false,
    false,
    false,
    "MESSAGES",
    "MESCONTR"};

inline constexpr std::string_view defaultCaption = "Mensagem";

// ---- The text -------------------------------------------------------------------------------

enum class Align { Left, Center, Right };

struct FormattedText {
    std::string text;               // UTF-8, lines joined by CR LF
    std::vector<std::string> lines; // the same, line by line
    char letter = 0;                // alignment letter of an "@x@" prefix, upper-cased; 0 if none
};

// Trailing blanks clipped; an "@x@" prefix (on a text longer than three characters) taken off as
// the alignment letter; "|" (and any line break already there) made a CR LF line break.
FormattedText formatText(std::string_view text);

// How the text is presented: the prefix letter, or else the caller's one-shot alignment, and the
// caller's font style (a weight in the low twelve bits, then italic 0x1000, underline 0x2000,
// strike-out 0x4000). The letter "B" sets the weight 700.
struct TextStyle {
    Align align = Align::Left;
    long fontStyle = 0; // 0 leaves the window's own font
    bool bold = false;  // a style whose bits include 700: the text is laid out wider
};
TextStyle textStyle(char prefixLetter, std::string_view alignOption, long fontStyle);

// ---- The buttons ----------------------------------------------------------------------------

struct ButtonSpec {
    std::string text;
    int value = 0; // the button flag; 0 for buttons made from text
};

struct ButtonRow {
    std::vector<ButtonSpec> buttons;
    int defaultIndex = -1;     // the button whose value is the default one, if any
    bool record = true;        // false for the plain OK box, which is not recorded
    int closeAfterSeconds = 0; // the self-closing box closes itself, answering 0
};

// `buttons` is a number made of flags, the plain-OK word, the self-closing word with its seconds,
// or "|"-separated texts; empty or "0" is one OK button.
ButtonRow makeButtons(std::string_view buttons, int defaultButton, const MessageVariant& variant);

// What pressing the button at `index` answers: its flag, or else its position from 1.
int answerOf(const ButtonRow& row, size_t index);

// ---- The layout, in dialog units ------------------------------------------------------------

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct BoxMetrics {
    int lineHeight = 8;                // one line of the text
    int iconWidth = 0, iconHeight = 0; // 0 when there is no icon
    // The widest line as the font draws it. The rule of 3.5 units a character suits the fonts
    // the box was designed with; a font with wider letters gets the width it needs instead of
    // wrapping lines beyond the height the rule gives. 0: not measured.
    int drawnTextWidth = 0;
};

inline constexpr int kButtonWidth = 60;
inline constexpr int kButtonHeight = 20;
inline constexpr int kButtonGap = 5;

struct MessageLayout {
    Rect text;
    Rect icon; // empty without an icon
    std::vector<Rect> buttons;
    int width = 0, height = 0; // of the window's client area
};

// Characters of a UTF-8 text (code points).
size_t characters(std::string_view utf8);

// Width of the text control for its lines and boldness, before the window is built around it.
int textWidth(const std::vector<std::string>& lines, bool bold);

MessageLayout layoutMessage(const FormattedText& text, bool bold, size_t buttonCount,
                            const BoxMetrics& metrics);

} // namespace saldora::message_box
