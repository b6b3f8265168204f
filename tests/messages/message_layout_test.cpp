#include "messages/message_layout.h"

#include <gtest/gtest.h>

using namespace saldora::message_box;

TEST(MessageText, ClipsTakesThePrefixAndBreaksLines) {
    struct Case {
        std::string in, text;
        std::vector<std::string> lines;
        char letter;
    };
    const Case cases[] = {
        {"Gravado.   ", "Gravado.", {"Gravado."}, 0},
        {"Ação|concluída", "Ação\r\nconcluída", {"Ação", "concluída"}, 0},
        {"a||b|", "a\r\n\r\nb\r\n", {"a", "", "b", ""}, 0},
        {"linha\r\noutra\nfim", "linha\r\noutra\r\nfim", {"linha", "outra", "fim"}, 0},
        {"@c@Centro|x  ", "Centro\r\nx", {"Centro", "x"}, 'C'},
        {"@R@", "@R@", {"@R@"}, 0},            // three characters are no prefix
        {"@B@ ", "@B@", {"@B@"}, 0},           // nor are they once the blanks are clipped
        {"@é@Texto", "Texto", {"Texto"}, '?'}, // a prefix, but no alignment letter
        {"@ab@", "@ab@", {"@ab@"}, 0},
        {"", "", {""}, 0},
    };
    for (const auto& c : cases) {
        FormattedText f = formatText(c.in);
        EXPECT_EQ(f.text, c.text) << c.in;
        EXPECT_EQ(f.lines, c.lines) << c.in;
        EXPECT_EQ(f.letter, c.letter) << c.in;
    }
}

TEST(MessageText, AlignmentAndBoldFromPrefixOrOneShotOptions) {
    struct Case {
        char letter;
        const char* align;
        long fontStyle;
        Align expectAlign;
        long expectStyle;
        bool bold;
    };
    const Case cases[] = {
        {0, "", 0, Align::Left, 0, false},
        {0, "c", 0, Align::Center, 0, false},
        {0, "R", 0, Align::Right, 0, false},
        {'R', "C", 0, Align::Right, 0, false}, // the text's own prefix wins
        {'?', "C", 0, Align::Left, 0, false},
        {0, "L", 700, Align::Left, 700, true},
        {0, "B", 0, Align::Left, 700, true},
        {'B', "", 0x1000 | 400, Align::Left, 0x1000 | 700, true}, // italic kept, weight bold
        {0, "", 400, Align::Left, 400, false},
    };
    for (const auto& c : cases) {
        TextStyle s = textStyle(c.letter, c.align, c.fontStyle);
        EXPECT_EQ(s.align, c.expectAlign) << c.letter << c.align << c.fontStyle;
        EXPECT_EQ(s.fontStyle, c.expectStyle) << c.letter << c.align << c.fontStyle;
        EXPECT_EQ(s.bold, c.bold) << c.letter << c.align << c.fontStyle;
    }
}

TEST(MessageButtons, FromFlagsWordsAndTexts) {
    struct Case {
        const MessageVariant* variant;
        std::string buttons;
        int defaultButton;
        std::vector<std::string> texts;
        std::vector<int> answers;
        int defaultIndex = -1;
        bool record = true;
        int seconds = 0;
    };
    const MessageVariant* s = &saldoraVariant;
    const MessageVariant* l = &launcherVariant;
    const Case cases[] = {
        {s, "", 0, {"&Ok"}, {1}},
        {s, "0", 1, {"&Ok"}, {1}, 0},
        {s, "3", 0, {"&Ok", "&Sim"}, {1, 2}},
        {s, "70", 4, {"&Sim", "&Não", "&Cancela"}, {2, 4, 64}, 1},
        {s,
         "255",
         128,
         {"&Ok", "&Sim", "&Não", "A&borta", "&Insiste", "&Ignora", "&Cancela", "&Ajuda"},
         {1, 2, 4, 8, 16, 32, 64, 128},
         7},
        {l,
         "248",
         0,
         {"A&bortar", "&Tentar de novo", "&Ignorar", "&Cancelar", "&Ajuda"},
         {8, 16, 32, 64, 128}},
        {s, "256", 0, {"&Ok"}, {1}}, // names no button: OK rather than a box without any
        {s, "Sim|Não|Talvez", 0, {"Sim", "Não", "Talvez"}, {1, 2, 3}},
        {s, "&Gravar", 1, {"&Gravar"}, {1}}, // text buttons are never the default
        {s, "Um botão de texto comprido demais|x", 0, {"Um botão de texto co", "x"}, {1, 2}},
        {s, "3|Sim", 0, {"3", "Sim"}, {1, 2}},
        {s, "MessagemOk", 0, {"Ok"}, {1}, -1, false},
        {s, "MESSAGEM qualquer", 0, {"Ok"}, {1}, -1, false}, // eight letters decide
        {l, "MessagemOk", 0, {"MessagemOk"}, {1}},
        {l, "mensagemok", 0, {"Ok"}, {1}, -1, false},
        {s, "Continua 5", 0, {"Continua"}, {1}, -1, true, 5},
        {s, "CONTINUA,12", 0, {"Continua"}, {1}, -1, true, 12},
        {s, "Continua", 0, {"Continua"}, {1}},
        {l, "Continue 2", 0, {"Continue"}, {1}, -1, true, 2},
        {s, "Continuar|Parar", 0, {"Continuar", "Parar"}, {1, 2}},
    };
    for (const auto& c : cases) {
        ButtonRow row = makeButtons(c.buttons, c.defaultButton, *c.variant);
        std::vector<std::string> texts;
        std::vector<int> answers;
        for (size_t i = 0; i < row.buttons.size(); ++i) {
            texts.push_back(row.buttons[i].text);
            answers.push_back(answerOf(row, i));
        }
        EXPECT_EQ(texts, c.texts) << c.buttons;
        EXPECT_EQ(answers, c.answers) << c.buttons;
        EXPECT_EQ(row.defaultIndex, c.defaultIndex) << c.buttons;
        EXPECT_EQ(row.record, c.record) << c.buttons;
        EXPECT_EQ(row.closeAfterSeconds, c.seconds) << c.buttons;
    }
}

TEST(MessageLayout, TextWidthInDialogUnits) {
    struct Case {
        std::vector<size_t> lineLengths;
        bool bold;
        int width;
    };
    const Case cases[] = {
        {{30}, false, 120}, // one line: four units a character
        {{10}, false, 50},  // never narrower than 50
        {{14}, false, 50},  // 49
        {{15}, false, 60},  // 52 is enough, so the one-line rule applies
        {{30}, true, 120},  // the one-line rule ignores boldness
        {{40, 20}, false, 140}, {{40, 20}, true, 168}, {{7, 3}, true, 50}, {{0}, false, 50},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines;
        for (size_t n : c.lineLengths)
            lines.push_back(std::string(n, 'x'));
        EXPECT_EQ(textWidth(lines, c.bold), c.width) << c.lineLengths.size() << " lines";
    }
    // Characters, not bytes.
    std::string accented;
    for (int i = 0; i < 30; ++i)
        accented += "ç";
    EXPECT_EQ(textWidth({accented}, false), 120);
}

TEST(MessageLayout, WindowAroundTextIconAndButtons) {
    struct Case {
        const char* text;
        size_t buttons;
        BoxMetrics metrics;
        MessageLayout expected;
    };
    const std::string thirty(30, 'x');
    const Case cases[] = {
        // One line is raised to 20 units and moved down to y = 20, then one line is added.
        {thirty.c_str(), 1, {8, 0, 0}, {{5, 20, 120, 28}, {}, {{35, 48, 60, 20}}, 130, 73}},
        // The icon widens the window and pushes the text right; it is centred against the text.
        {thirty.c_str(),
         1,
         {8, 21, 20},
         {{31, 20, 120, 28}, {5, 24, 21, 20}, {{48, 48, 60, 20}}, 156, 73}},
        // Two lines reach 20 on their own; three buttons are wider than the text.
        {"0123456789|abc",
         3,
         {8, 0, 0},
         {{5, 5, 50, 28}, {}, {{5, 33, 60, 20}, {70, 33, 60, 20}, {135, 33, 60, 20}}, 200, 58}},
        {"a|b|c|d",
         2,
         {10, 0, 0},
         {{5, 5, 50, 54}, {}, {{5, 59, 60, 20}, {70, 59, 60, 20}}, 135, 84}},
        // A font that draws the text wider than the rule gets the width it needs; a narrower
        // one keeps the rule's width.
        {thirty.c_str(), 1, {8, 0, 0, 150}, {{5, 20, 150, 28}, {}, {{50, 48, 60, 20}}, 160, 73}},
        {thirty.c_str(), 1, {8, 0, 0, 90}, {{5, 20, 120, 28}, {}, {{35, 48, 60, 20}}, 130, 73}},
    };
    for (const auto& c : cases) {
        MessageLayout l = layoutMessage(formatText(c.text), false, c.buttons, c.metrics);
        EXPECT_EQ(l.text, c.expected.text) << c.text;
        EXPECT_EQ(l.icon, c.expected.icon) << c.text;
        EXPECT_EQ(l.buttons, c.expected.buttons) << c.text;
        EXPECT_EQ(l.width, c.expected.width) << c.text;
        EXPECT_EQ(l.height, c.expected.height) << c.text;
    }
}
