#include "app/avisa_backup.h"
#include "app/ticker.h"
#include "data/text.h"

#include <gtest/gtest.h>

using saldora::app::Ticker;

TEST(Ticker, GrowsThenSlidesThenStartsAgainPastLengthPlusWidth) {
    Ticker t("ABCDE", 3); // L = 5, W = 3
    struct Step { int start, end; const char* shown; };
    const Step steps[] = {
        {1, 2, "AB"},  {1, 3, "ABC"}, {1, 4, "ABCD"}, {2, 5, "BCDE"}, {3, 6, "CDE"},
        {4, 7, "DE"},  {5, 8, "E"},   {1, 1, "A"},    {1, 2, "AB"},
    };
    for (const auto& s : steps) {
        t.step();
        EXPECT_EQ(t.start(), s.start);
        EXPECT_EQ(t.end(), s.end);
        EXPECT_EQ(t.shown(), s.shown) << s.start << ".." << s.end;
    }
    // The reminder's own text: its 47 characters in cp1252, 33 at a time.
    Ticker reminder(*saldora::cp1252::fromUtf8("NÃO DEIXE SEUS DADOS DESAPARECEM. FAÇA BACKUP !"), 33);
    for (int i = 0; i < 33; ++i) reminder.step();
    EXPECT_EQ(reminder.shown().size(), 34u);
    for (int i = 0; i < 47 + 33 - 34; ++i) reminder.step();
    EXPECT_EQ(reminder.end(), 80);
    reminder.step();
    EXPECT_EQ(reminder.end(), 1); // past L + W: again from the start
}
