#include "ui/calendar.h"

#include "data/date_time.h"
#include "data/message_service.h"
#include "messages/screen_font.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace saldora::ui {

namespace calendar {
namespace {

// Functions, not constants: the date type's own tables may not be set up yet while this file's
// constants are.
int32_t firstDay() {
    static const int32_t d = *date::fromYmd(kFirstYear, 1, 1);
    return d;
}
int32_t lastDay() {
    static const int32_t d = *date::fromYmd(date::kLastYear, 12, 31);
    return d;
}

date::Ymd ymdOf(int32_t day) {
    return date::toYmd(day).value_or(date::Ymd{kFirstYear, 1, 1});
}

// The date to stand on: refused before 1801 (the calendar goes to its first day), left alone
// beyond 9999.
Step settle(State& s, int32_t candidate) {
    if (candidate < firstDay()) {
        s.date = firstDay();
        return Step::BeforeFirstYear;
    }
    if (candidate > lastDay()) return Step::BeyondLastYear;
    s.date = candidate;
    return Step::Shown;
}

const char* const kMonthNames[] = {"Janeiro ",   "Fevereiro ", "Março ",    "Abril ",
                                   "Maio ",      "Junho ",     "Julho ",    "Agosto ",
                                   "Setembro  ", "Outubro ",   "Novembro ", "Dezembro "};

} // namespace

int State::year() const {
    return ymdOf(date).year;
}
int State::month() const {
    return ymdOf(date).month;
}

Step start(State& s, int32_t date, int32_t today) {
    s.entry = date;
    s.date = today;
    if (date == date::kNone) return Step::Shown;
    // A date past the end stands on the last day there is.
    return settle(s, std::min(date, lastDay()));
}

Step press(State& s, Key key) {
    switch (key) {
    case Key::Left:
        return settle(s, s.date - 1);
    case Key::Right:
        return settle(s, s.date + 1);
    case Key::Up:
        return showMonth(s, s.year(), s.month() - 1);
    case Key::Down:
        return showMonth(s, s.year(), s.month() + 1);
    case Key::PageUp:
        return showMonth(s, s.year() - 1, s.month());
    case Key::PageDown:
        return showMonth(s, s.year() + 1, s.month());
    }
    return Step::Shown;
}

Step showMonth(State& s, int year, int month) {
    // Months outside 1..12 carry into the year (floor division, so 0 is December before).
    const int m0 = month - 1;
    year += m0 >= 0 ? m0 / 12 : (m0 - 11) / 12;
    month = (m0 % 12 + 12) % 12 + 1;
    if (year < kFirstYear) return settle(s, firstDay() - 1);
    if (year > date::kLastYear) return Step::BeyondLastYear;
    return settle(s, *date::fromYmd(year, month, 1));
}

bool pickDay(State& s, int day) {
    auto picked = date::fromYmd(s.year(), s.month(), day);
    if (!picked) return false;
    s.date = *picked;
    return true;
}

std::array<int, kCells> monthCells(int year, int month) {
    std::array<int, kCells> cells{};
    auto first = date::fromYmd(year, month, 1);
    if (!first) return cells;
    const int column = (date::weekday(*first) + 6) % 7; // Monday 0 .. Sunday 6
    for (int d = 1; d <= date::daysInMonth(year, month); ++d)
        cells[column + d - 1] = d;
    return cells;
}

int cellOf(int32_t day, int year, int month) {
    auto ymd = date::toYmd(day);
    if (!ymd || ymd->year != year || ymd->month != month) return -1;
    const auto cells = monthCells(year, month);
    return static_cast<int>(std::find(cells.begin(), cells.end(), ymd->day) - cells.begin());
}

std::string title(int year, int month) {
    return kMonthNames[month - 1] + std::to_string(year);
}

} // namespace calendar

namespace {

constexpr const char* kProcedure = "Calendar";

// A day cell: a flat or raised frame that answers a left click.
class DayRegion : public QFrame {
  public:
    DayRegion(QWidget* parent, std::function<void()> clicked)
        : QFrame(parent), clicked_(std::move(clicked)) {}

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            clicked_();
        else
            QFrame::mouseReleaseEvent(e);
    }

  private:
    std::function<void()> clicked_;
};

QSpinBox* numberBox(QWidget* parent, const char* name, int low, int high, const QString& status) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(low, high);
    box->setStatusTip(status);
    box->setKeyboardTracking(false); // a typed year is taken on Enter or on leaving the box
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance("000000") + 28);
    return box;
}

QFrame* panel(QWidget* parent, const char* name) {
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return f;
}

} // namespace

Calendar::Calendar(int32_t date, int placement, QWidget* parent)
    : Screen(kProcedure, parent), placement_(placement) {
    setResizable(false);
    setFont(QFont("MS Sans Serif", 8));
    message_box::applyScreenFont(*this, message_box::screenFont());
    setWindowIcon(programIcon("DATE.ICO"));

    auto* controls = panel(this, "PANEL3");
    auto* month = new QLabel("Mês", controls);
    month->setObjectName("STRINGMONTH");
    monthNumber_ = numberBox(controls, "MONTHNUMBER", 0, 13, "Muda o mês");
    auto* year = new QLabel("Ano", controls);
    year->setObjectName("STRINGYEAR");
    yearNumber_ = numberBox(controls, "YEARNUMBER", 1, date::kLastYear, "Muda o ano");
    auto* todayButton = makeButton(controls, "TODAYBUTTON", "Dia Atual", {}, "DATE.ICO");
    auto* controlRow = new QHBoxLayout(controls);
    controlRow->setContentsMargins(6, 4, 6, 4);
    controlRow->addWidget(month);
    controlRow->addWidget(monthNumber_);
    controlRow->addSpacing(8);
    controlRow->addWidget(year);
    controlRow->addWidget(yearNumber_);
    controlRow->addStretch();
    controlRow->addWidget(todayButton);

    auto* headings = panel(this, "PANEL1");
    auto* headingRow = new QGridLayout(headings);
    headingRow->setContentsMargins(2, 2, 2, 2);
    headingRow->setHorizontalSpacing(2);
    const char* const kHeadingNames[] = {"STRINGMO", "STRINGTU", "STRINGWE", "STRINGTH",
                                         "STRINGFR", "STRINGSA", "STRINGSU"};
    const char* const kHeadings[] = {"2º", "3º", "4º", "5º", "6º", "Sá", "Do"};
    for (int c = 0; c < calendar::kColumns; ++c) {
        auto* h = new QLabel(kHeadings[c], headings);
        h->setObjectName(kHeadingNames[c]);
        h->setAlignment(Qt::AlignCenter);
        headingRow->addWidget(h, 0, c);
    }

    auto* grid = panel(this, "PANEL2");
    auto* cells = new QGridLayout(grid);
    cells->setContentsMargins(2, 2, 2, 2);
    cells->setSpacing(2);
    const int cellSize = fontMetrics().height() + 10;
    for (int i = 0; i < calendar::kCells; ++i) {
        auto* region = new DayRegion(grid, [this, i] {
            if (days_[i]->text().isEmpty()) return;
            if (calendar::pickDay(state_, days_[i]->text().toInt())) finish(result::Completed);
        });
        region->setObjectName(QString("DAYREGION%1").arg(i + 1));
        region->setMinimumSize(cellSize + 6, cellSize);
        auto* day = new QLabel(region);
        day->setObjectName(QString("DAYSTRING%1").arg(i + 1));
        day->setAlignment(Qt::AlignCenter);
        day->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* inCell = new QVBoxLayout(region);
        inCell->setContentsMargins(0, 0, 0, 0);
        inCell->addWidget(day);
        cells->addWidget(region, i / calendar::kColumns, i % calendar::kColumns);
        regions_[i] = region;
        days_[i] = day;
    }
    // Headings over their columns: both grids share the cell width.
    for (int c = 0; c < calendar::kColumns; ++c) {
        cells->setColumnMinimumWidth(c, cellSize + 6);
        headingRow->setColumnMinimumWidth(c, cellSize + 6);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addWidget(controls);
    layout->addWidget(headings);
    layout->addWidget(grid);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(todayButton, &QPushButton::clicked, this, [this] {
        state_.date = date::today();
        settled(calendar::Step::Shown);
    });
    // The window's order: "Dia Atual", then the month and the year.
    setTabOrder(todayButton, monthNumber_);
    setTabOrder(monthNumber_, yearNumber_);
    auto spun = [this] {
        if (!drawing_)
            settled(calendar::showMonth(state_, yearNumber_->value(), monthNumber_->value()));
    };
    connect(monthNumber_, &QSpinBox::valueChanged, this, spun);
    connect(yearNumber_, &QSpinBox::valueChanged, this, spun);

    settled(calendar::start(state_, date, date::today()));
}

void Calendar::settled(calendar::Step step) {
    if (step == calendar::Step::BeforeFirstYear) {
        draw(); // the window shows January 1801 behind the message
        QApplication::beep();
        messages().show(Message{"You can not use the calendar for|dates before the year 1801",
                                "Ilegal date", Icon::Exclamation, "&Ok"});
    } else if (step == calendar::Step::BeyondLastYear) {
        QApplication::beep();
    }
    draw();
}

void Calendar::draw() {
    const int year = state_.year(), month = state_.month();
    const QString title = QString::fromStdString(calendar::title(year, month));
    setWindowTitle(title);
    if (frameWindow() != this) frameWindow()->setWindowTitle(title);

    drawing_ = true;
    monthNumber_->setValue(month);
    yearNumber_->setValue(year);
    drawing_ = false;

    const auto cells = calendar::monthCells(year, month);
    const int entryCell = calendar::cellOf(state_.entry, year, month);
    const int todayCell = calendar::cellOf(date::today(), year, month);
    QFont normal = font(), bold = font();
    normal.setWeight(QFont::Normal);
    bold.setWeight(QFont::Bold);
    for (int i = 0; i < calendar::kCells; ++i) {
        QLabel* day = days_[i];
        day->setText(cells[i] ? QString::number(cells[i]) : QString());
        const bool entry = i == entryCell;
        QPalette p = day->palette();
        p.setColor(QPalette::WindowText, entry ? QColor(0, 0, 255) : QColor(0, 0, 0));
        day->setPalette(p);
        day->setFont(entry ? bold : normal);
        regions_[i]->setFrameStyle(i == todayCell ? QFrame::Panel | QFrame::Raised
                                                  : QFrame::NoFrame);
        regions_[i]->setLineWidth(2);
        regions_[i]->setCursor(cells[i] ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
}

void Calendar::closing() {
    if (result() != result::Completed) state_.date = state_.entry;
}

void Calendar::showEvent(QShowEvent* event) {
    Screen::showEvent(event);
    if (!placed_) {
        placed_ = true;
        place();
    }
}

void Calendar::place() {
    if (placement_ == 0) return; // where the window last stood
    QWidget* window = frameWindow();
    const int height = window->frameGeometry().height();
    int top = placement_ > 0 ? placement_ + 30 : std::abs(placement_) - height - 5;
    // Kept inside the space it lives in, so that a placement near an edge still shows it whole.
    QRect space;
    if (QWidget* parent = window->parentWidget())
        space = parent->rect();
    else if (QScreen* screen = window->screen())
        space = screen->availableGeometry();
    if (!space.isEmpty())
        top = std::clamp(top, space.top(), std::max(space.top(), space.bottom() + 1 - height));
    window->move(window->x(), top);
}

bool Calendar::key(int key, QWidget* focus) {
    using calendar::Key;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A number typed into a spin box is taken first; the next Enter closes.
        if (auto* box = qobject_cast<QSpinBox*>(focus);
            box && box->text().trimmed() != QString::number(box->value())) {
            box->interpretText();
            return true;
        }
        finish(result::Completed);
        return true;
    case Qt::Key_Escape:
        finish(result::Cancelled);
        return true;
    case Qt::Key_Left:
        settled(calendar::press(state_, Key::Left));
        return true;
    case Qt::Key_Right:
        settled(calendar::press(state_, Key::Right));
        return true;
    case Qt::Key_Up:
        settled(calendar::press(state_, Key::Up));
        return true;
    case Qt::Key_Down:
        settled(calendar::press(state_, Key::Down));
        return true;
    case Qt::Key_PageUp:
        settled(calendar::press(state_, Key::PageUp));
        return true;
    case Qt::Key_PageDown:
        settled(calendar::press(state_, Key::PageDown));
        return true;
    }
    return false;
}

bool Calendar::eventFilter(QObject* watched, QEvent* e) {
    // The calendar's keys and the right click hold for the whole window, before its controls.
    auto* w = qobject_cast<QWidget*>(watched);
    const bool mine = w && (w == this || isAncestorOf(w)) && isEnabled() && !isFinished();
    if (mine && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        const auto mods = k->modifiers() & ~Qt::KeypadModifier;
        if (mods == Qt::NoModifier && key(k->key(), QApplication::focusWidget())) return true;
    }
    if (mine && e->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) {
        finish(result::Cancelled);
        return true;
    }
    return Screen::eventFilter(watched, e);
}

void pickDate(Screen* opener, int32_t date, int placement, std::function<void(int32_t)> done) {
    auto* c = new Calendar(date, placement);
    // Taken as the window closes (before the opener goes on), so that `done` never needs the
    // window itself.
    auto chosen = std::make_shared<int32_t>(date);
    QObject::connect(c, &Screen::finished, c, [c, chosen](int) { *chosen = c->date(); });
    opener->openChild(c, [chosen, done = std::move(done)](int) {
        if (done) done(*chosen);
    });
}

int placementUnder(const QWidget* control) {
    if (QMdiArea* area = workspace(); area && area->isAncestorOf(control))
        return control->mapTo(area->viewport(), QPoint(0, 0)).y();
    return control->mapToGlobal(QPoint(0, 0)).y();
}

} // namespace saldora::ui
