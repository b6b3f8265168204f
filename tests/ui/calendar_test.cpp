#include "data/date_time.h"
#include "support/scripted_messages.h"
#include "support/work_folder.h"
#include "ui/calendar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSpinBox>
#include <QTest>

#include <fstream>
#include <optional>
#include <vector>

using namespace saldora;
using ui::calendar::Key;
using ui::calendar::Step;

namespace {

int32_t day(int y, int m, int d) {
    return *date::fromYmd(y, m, d);
}

struct Workspace {
    saldora::testing::WorkFolder cwd; // KVELT.INI lands here
    saldora::testing::ScriptedMessages box;
    QMdiArea area;
    ui::Screen* opener = nullptr;
    Workspace() {
        area.resize(900, 700);
        area.show();
        ui::setWorkspace(&area);
        opener = new ui::Screen("FiltraMovimento");
        opener->resize(300, 200);
        opener->open();
    }
    ~Workspace() {
        ui::setWorkspace(nullptr);
        area.closeAllSubWindows();
        QApplication::processEvents();
    }
    // The calendar opened from the opener; `chosen` gets the date it hands back.
    ui::Calendar* pick(int32_t date, std::optional<int32_t>& chosen, int placement = 0) {
        ui::pickDate(opener, date, placement, [&chosen](int32_t d) { chosen = d; });
        return static_cast<ui::Calendar*>(opener->openChildScreen());
    }
};

QLabel* dayString(QWidget* c, int cell) {
    return c->findChild<QLabel*>(QString("DAYSTRING%1").arg(cell));
}
QFrame* dayRegion(QWidget* c, int cell) {
    return c->findChild<QFrame*>(QString("DAYREGION%1").arg(cell));
}

} // namespace

TEST(CalendarMonth, DaysGoIntoTheCellOfTheirWeekdayMondayFirst) {
    struct Case {
        int year, month, firstCell, lastDay;
    } cases[] = {
        {2000, 2, 2, 29},  // a year divisible by 400 has 29 February
        {2024, 2, 4, 29},  //
        {1900, 2, 4, 28},  // a century that is not
        {2023, 2, 3, 28},  //
        {2024, 12, 7, 31}, // begins on a Sunday: the seventh cell, and all 37 are used
        {2024, 1, 1, 31},  // begins on a Monday
        {1801, 1, 4, 31},  // the first month there is: a Thursday
        {2023, 4, 6, 30},
    };
    for (const Case& c : cases) {
        auto cells = ui::calendar::monthCells(c.year, c.month);
        std::array<int, ui::calendar::kCells> expected{};
        for (int d = 1; d <= c.lastDay; ++d)
            expected[c.firstCell - 2 + d] = d;
        EXPECT_EQ(cells, expected) << c.month << "/" << c.year;
    }
}

TEST(CalendarMonth, KeysMoveByDayMonthAndYearAndStopAtTheEdges) {
    struct Case {
        int32_t from;
        Key key;
        int32_t to;
        Step step;
    } cases[] = {
        {day(2023, 12, 31), Key::Right, day(2024, 1, 1), Step::Shown},
        {day(2024, 3, 1), Key::Left, day(2024, 2, 29), Step::Shown},
        {day(2024, 1, 15), Key::Up, day(2023, 12, 1), Step::Shown},   // month 0: December before
        {day(2023, 12, 15), Key::Down, day(2024, 1, 1), Step::Shown}, // 13: January after
        {day(2024, 2, 29), Key::PageUp, day(2023, 2, 1), Step::Shown},
        {day(2024, 2, 29), Key::PageDown, day(2025, 2, 1), Step::Shown},
        // Before 1801 the calendar stands on 1 January 1801.
        {day(1801, 1, 10), Key::PageUp, day(1801, 1, 1), Step::BeforeFirstYear},
        {day(1801, 1, 1), Key::Left, day(1801, 1, 1), Step::BeforeFirstYear},
        {day(1801, 1, 20), Key::Up, day(1801, 1, 1), Step::BeforeFirstYear},
        {day(1801, 2, 20), Key::Up, day(1801, 1, 1), Step::Shown},
        // Past the last day there is nothing changes.
        {day(9999, 12, 31), Key::Right, day(9999, 12, 31), Step::BeyondLastYear},
        {day(9999, 12, 5), Key::Down, day(9999, 12, 5), Step::BeyondLastYear},
        {day(9999, 3, 5), Key::PageDown, day(9999, 3, 5), Step::BeyondLastYear},
    };
    for (const Case& c : cases) {
        ui::calendar::State s;
        ui::calendar::start(s, c.from, day(2024, 6, 1));
        EXPECT_EQ(ui::calendar::press(s, c.key), c.step) << c.from << " key " << int(c.key);
        EXPECT_EQ(s.date, c.to) << c.from << " key " << int(c.key);
        EXPECT_EQ(s.entry, c.from);
    }
}

TEST(CalendarWindow, DrawsTheMonthMarksTheEntryDayAndFollowsTheSpinBoxes) {
    Workspace ws;
    std::optional<int32_t> chosen;
    ui::Calendar* c = ws.pick(day(2024, 12, 15), chosen);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->frameWindow()->windowTitle(), "Dezembro 2024");
    EXPECT_EQ(dayString(c, 6)->text(), "");
    EXPECT_EQ(dayString(c, 7)->text(), "1");
    EXPECT_EQ(dayString(c, 37)->text(), "31");
    for (int cell : {20, 21, 22}) {
        QLabel* d = dayString(c, cell);
        const bool entry = cell == 21; // the 15th
        EXPECT_EQ(d->font().bold(), entry) << cell;
        EXPECT_EQ(d->palette().color(QPalette::WindowText),
                  entry ? QColor(0, 0, 255) : QColor(0, 0, 0))
            << cell;
    }

    // The month box wraps into the next and the year before, landing on day 1.
    auto* month = c->findChild<QSpinBox*>("MONTHNUMBER");
    auto* year = c->findChild<QSpinBox*>("YEARNUMBER");
    ASSERT_TRUE(month && year);
    EXPECT_EQ(month->statusTip(), "Muda o mês");
    month->setValue(13);
    EXPECT_EQ(c->date(), day(2025, 1, 1));
    EXPECT_EQ(c->frameWindow()->windowTitle(), "Janeiro 2025");
    EXPECT_EQ(month->value(), 1);
    EXPECT_EQ(year->value(), 2025);
    month->setValue(0);
    EXPECT_EQ(c->date(), day(2024, 12, 1));
    year->setValue(2023);
    month->setValue(9);
    EXPECT_EQ(c->frameWindow()->windowTitle(), "Setembro  2023");
    EXPECT_FALSE(dayString(c, 21)->font().bold()); // the entry day is in another month

    // A blank cell picks nothing; a cell with a day picks it and closes.
    QTest::mouseClick(dayRegion(c, 1), Qt::LeftButton); // 1 September 2023 was a Friday
    EXPECT_FALSE(chosen);
    QTest::mouseClick(dayRegion(c, 11), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(chosen, day(2023, 9, 7));
    EXPECT_TRUE(ws.opener->isEnabled());
    EXPECT_TRUE(ws.box.shown.empty());
}

TEST(CalendarWindow, EnterKeepsTheMovedDateEscAndRightClickGiveBackTheEntryDate) {
    const int32_t entry = day(2024, 2, 28);
    struct Case {
        std::vector<Qt::Key> moves;
        bool rightClick;
        Qt::Key leave;
        int32_t expected;
    } cases[] = {
        {{Qt::Key_Right, Qt::Key_Right, Qt::Key_Down}, false, Qt::Key_Return, day(2024, 4, 1)},
        {{Qt::Key_Right, Qt::Key_Left, Qt::Key_Left}, false, Qt::Key_Return, day(2024, 2, 27)},
        {{Qt::Key_Right, Qt::Key_Right, Qt::Key_PageDown}, false, Qt::Key_Escape, entry},
        {{Qt::Key_Up, Qt::Key_Left}, true, Qt::Key_unknown, entry},
    };
    for (const Case& k : cases) {
        Workspace ws;
        std::optional<int32_t> chosen;
        ui::Calendar* c = ws.pick(entry, chosen);
        for (Qt::Key key : k.moves)
            QTest::keyClick(c, key);
        if (k.rightClick)
            QTest::mouseClick(dayRegion(c, 10), Qt::RightButton);
        else
            QTest::keyClick(c, k.leave);
        QApplication::processEvents();
        EXPECT_EQ(chosen, k.expected) << k.moves.size() << " moves, then " << int(k.leave);
    }
    // A field without a date starts on today, and leaving gives it back empty.
    Workspace ws;
    std::optional<int32_t> chosen;
    ui::Calendar* c = ws.pick(date::kNone, chosen);
    EXPECT_EQ(c->date(), date::today());
    const int todayCell =
        ui::calendar::cellOf(date::today(), c->state().year(), c->state().month());
    EXPECT_EQ(dayRegion(c, todayCell + 1)->frameShadow(), QFrame::Raised);
    EXPECT_EQ(dayRegion(c, todayCell == 0 ? 2 : 1)->frameShape(), QFrame::NoFrame);
    QTest::keyClick(c, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(chosen, date::kNone);

    // A year typed into its box is taken by the first Enter; the next one closes.
    c = ws.pick(entry, chosen);
    QApplication::setActiveWindow(ws.area.window());
    auto* year = c->findChild<QSpinBox*>("YEARNUMBER");
    year->setFocus();
    year->selectAll();
    QTest::keyClicks(year, "2030");
    QTest::keyClick(year, Qt::Key_Return);
    EXPECT_EQ(c->frameWindow()->windowTitle(), "Fevereiro 2030");
    EXPECT_FALSE(c->isFinished());
    QTest::keyClick(year, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(chosen, day(2030, 2, 1));
}

TEST(CalendarWindow, PagingBackFromJanuary1801IsRefusedWithAMessage) {
    Workspace ws;
    std::optional<int32_t> chosen;
    ui::Calendar* c = ws.pick(day(1801, 1, 20), chosen);
    QTest::keyClick(c, Qt::Key_PageUp);
    ASSERT_EQ(ws.box.shown.size(), 1u);
    EXPECT_EQ(ws.box.shown[0].text, "You can not use the calendar for|dates before the year 1801");
    EXPECT_EQ(ws.box.shown[0].caption, "Ilegal date");
    EXPECT_EQ(ws.box.shown[0].buttons, "&Ok");
    EXPECT_EQ(c->date(), day(1801, 1, 1));
    EXPECT_EQ(c->frameWindow()->windowTitle(), "Janeiro 1801");
    EXPECT_EQ(c->findChild<QSpinBox*>("YEARNUMBER")->value(), 1801);
    // A year typed before 1801 meets the same refusal.
    auto* year = c->findChild<QSpinBox*>("YEARNUMBER");
    year->setValue(1750);
    EXPECT_EQ(ws.box.shown.size(), 2u);
    EXPECT_EQ(year->value(), 1801);
    QTest::keyClick(c, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(chosen, day(1801, 1, 1));
}

TEST(CalendarWindow, PlacementPutsTheWindowBelowOrAboveTheGivenLine) {
    Workspace ws;
    { // where it last stood, for placement 0
        std::ofstream ini("KVELT.INI", std::ios::binary);
        ini << "[Calendar]\r\nMaximize=No\r\nMinimize=No\r\nXPos=50\r\nYPos=60\r\n";
    }
    struct Case {
        int placement;
        int top; // -1: |placement| minus the window's height minus 5
    } cases[] = {{0, 60}, {100, 130}, {-400, -1}, {-20, 0}, {690, -2}};
    for (const Case& k : cases) {
        std::optional<int32_t> chosen;
        ui::Calendar* c = ws.pick(day(2024, 5, 10), chosen, k.placement);
        QWidget* w = c->frameWindow();
        const int height = w->frameGeometry().height();
        const int expected = k.top == -1   ? 400 - height - 5
                             : k.top == -2 ? ws.area.viewport()->height() - height // kept inside
                                           : k.top;
        EXPECT_EQ(w->y(), expected) << k.placement;
        EXPECT_EQ(w->x(), 50) << k.placement;
        c->finish(ui::result::Cancelled);
        QApplication::processEvents();
        { // the next opening starts from the stored position again
            std::ofstream ini("KVELT.INI", std::ios::binary);
            ini << "[Calendar]\r\nMaximize=No\r\nMinimize=No\r\nXPos=50\r\nYPos=60\r\n";
        }
    }
}
