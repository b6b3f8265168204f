#pragma once
// The calendar: a small month from which the user picks a date for a date field. The month logic
// (the cells of a month, the moves of the keys, the years it refuses) is plain code in
// `calendar::`; the window is a thin screen over it.
//
// A date button opens it through pickDate():
//     ui::pickDate(this, data1, ui::placementUnder(button),
//                  [this](int32_t chosen) { data1 = chosen; redisplay(); });
// `done` gets the chosen date, or the date the field held when the user leaves with Esc, a right
// click or the close box.
#include "ui/screen.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QFrame;
class QLabel;
class QSpinBox;

namespace saldora::ui {

namespace calendar {

constexpr int kCells = 37;  // seven per row: a 31-day month starting on a Sunday fills them
constexpr int kColumns = 7; // Monday first, Sunday in the seventh column
constexpr int kFirstYear = 1801;

enum class Key { Left, Right, Up, Down, PageUp, PageDown };

// How a change ended: the month asked for is shown; or it lay before 1801 and the calendar
// stands on 1 January 1801 instead; or it lay beyond 9999 and nothing changed.
enum class Step { Shown, BeforeFirstYear, BeyondLastYear };

struct State {
    int32_t entry = 0; // the date the field held on entry, given back on Esc
    int32_t date = 0;  // the date chosen so far; the month shown is its month
    int year() const;
    int month() const;
};

// A calendar on `date`; an empty date starts at `today`.
Step start(State& state, int32_t date, int32_t today);
// Left / Right: a day back / forward. Up / Down: a month, Page Up / Page Down: a year back /
// forward, landing on day 1.
Step press(State& state, Key key);
// Day 1 of a month of a year; month 0 is December of the year before, 13 January of the next.
Step showMonth(State& state, int year, int month);
// A day of the month shown; false (and no change) for a day the month does not have.
bool pickDay(State& state, int day);

// The day numbers of the cells of a month, 0 for a blank cell (all blank outside 1801..9999).
std::array<int, kCells> monthCells(int year, int month);
// Which cell holds a date, -1 when the date is not in that month.
int cellOf(int32_t date, int year, int month);
// The window's title: the month's name and the year ("Março 2024").
std::string title(int year, int month);

} // namespace calendar

// The "Calendar" window. `placement` above 0 puts its top at placement + 30, below 0 at
// |placement| minus its height minus 5 (it opens above that line), 0 where it last stood; in
// the coordinates of the space the window lives in (the workspace for a child of it).
class Calendar : public Screen {
    Q_OBJECT
  public:
    Calendar(int32_t date, int placement, QWidget* parent = nullptr);

    // The chosen date; the entry date again once the user has left without choosing.
    int32_t date() const { return state_.date; }
    const calendar::State& state() const { return state_; }

  protected:
    void closing() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool key(int key, QWidget* focus);
    void settled(calendar::Step step);
    void draw();
    void place();

    calendar::State state_;
    int placement_ = 0;
    bool placed_ = false;
    bool drawing_ = false; // the spin boxes are being set, not changed by the user
    QSpinBox* monthNumber_ = nullptr;
    QSpinBox* yearNumber_ = nullptr;
    std::array<QFrame*, calendar::kCells> regions_{};
    std::array<QLabel*, calendar::kCells> days_{};
};

// Opens the calendar modal to `opener` on `date` and hands the chosen date to `done`.
void pickDate(Screen* opener, int32_t date, int placement, std::function<void(int32_t)> done);

// The placement that opens the calendar just below `control` (a date button): the control's top
// in the coordinates of the workspace, or of the desktop for a window of its own.
int placementUnder(const QWidget* control);

} // namespace saldora::ui
