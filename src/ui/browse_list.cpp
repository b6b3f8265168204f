#include "ui/browse_list.h"

#include "data/field_text.h"
#include "data/key_values.h"
#include "data/picture.h"
#include "data/text.h"
#include "messages/neat_message.h"
#include "ui/screen.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTableView>
#include <QWhatsThis>

#include <algorithm>

namespace saldora::ui {

QColor stripeColor() { return QColor(147, 201, 255); }

void popupRecordMenu(QWidget* owner, const BrowseList& list, const QPoint& at,
                     const RecordCommands& commands, const QString& whatsThis,
                     const std::function<void(QMenu&)>& more) {
    auto* menu = new QMenu(owner);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool any = !list.isEmpty();
    menu->addAction("F2 Inclui", owner, commands.insert);
    menu->addAction("F4 Altera", owner, commands.change)->setEnabled(any);
    menu->addAction("F6 Exclui", owner, commands.remove)->setEnabled(any);
    menu->addSeparator();
    if (more) more(*menu);
    QWidget* view = list.view();
    menu->addAction("&O que é isto ?", owner,
                    [at, whatsThis, view] { QWhatsThis::showText(at, whatsThis, view); });
    menu->popup(at);
}

bool moveList(BrowseList& list, int control) {
    switch (control) {
    case nav::Top: list.toFirst(); return true;
    case nav::PageUp: list.pageUp(); return true;
    case nav::Up: list.up(); return true;
    case nav::Down: list.down(); return true;
    case nav::PageDown: list.pageDown(); return true;
    case nav::Bottom: list.toLast(); return true;
    default: return false;
    }
}

class BrowseListModel : public QAbstractTableModel {
  public:
    std::vector<store::Record> rows;
    std::vector<BrowseColumn> columns;

    int rowCount(const QModelIndex& = {}) const override { return static_cast<int>(rows.size()); }
    int columnCount(const QModelIndex& = {}) const override {
        return static_cast<int>(columns.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const auto& column = columns[index.column()];
        const auto& record = rows[index.row()];
        switch (role) {
        case Qt::DisplayRole: {
            std::string text;
            if (column.text) {
                std::string value = column.text(record);
                auto shown = picture::format(column.picture, picture::Value(value));
                text = shown ? *shown : value;
            } else {
                const auto& field = record.table().fields[column.field];
                auto shown = picture::format(column.picture,
                                             store::toPictureValue(field, record[column.field]));
                text = shown ? *shown : record.text(column.field);
            }
            if (column.alignment & Qt::AlignLeft) text = std::string(fixed::clip(text));
            else if (column.alignment & Qt::AlignHCenter) {
                size_t a = text.find_first_not_of(' ');
                text = a == std::string::npos ? std::string() : std::string(fixed::clip(text.substr(a)));
            }
            QString s = QString::fromStdString(cp1252::toUtf8(text));
            if ((column.alignment & Qt::AlignLeft) && column.indent > 0)
                s.prepend(QString(column.indent / 4, ' '));
            return s;
        }
        case Qt::TextAlignmentRole:
            return static_cast<int>(column.alignment | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            // A column with its own background keeps it; the others are striped on rows 1, 3,
            // 5 … of the page.
            if (column.background.isValid()) return column.background;
            if (index.row() % 2 == 0) return stripeColor();
            return {};
        case Qt::ForegroundRole:
            if (column.foreground.isValid()) return column.foreground;
            return {};
        default: return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o == Qt::Horizontal && role == Qt::DisplayRole) return columns[section].header;
        return {};
    }

    void reset(std::vector<store::Record> r) {
        beginResetModel();
        rows = std::move(r);
        endResetModel();
    }
    void setColumns(std::vector<BrowseColumn> c) {
        beginResetModel();
        columns = std::move(c);
        endResetModel();
    }
};

BrowseList::BrowseList(QWidget* parent) : QWidget(parent), model_(new BrowseListModel) {
    view_ = new QTableView(this);
    view_->setObjectName("list");
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->horizontalHeader()->setSectionsMovable(false);
    view_->horizontalHeader()->setHighlightSections(false);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setTabKeyNavigation(false);
    view_->setWordWrap(false);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setRange(0, 100);
    scroll_->setPageStep(10);
    connect(scroll_, &QScrollBar::actionTriggered, this, &BrowseList::scrollBarAction);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_);
    layout->addWidget(scroll_);
    setFocusProxy(view_);
    connect(view_, &QTableView::doubleClicked, this, [this] { emit activated(); });
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { emit currentChanged(); });
}

BrowseList::~BrowseList() { delete model_; }

void BrowseList::setSource(store::Database* db, const store::Table* table, const store::Key* key,
                           std::vector<store::Value> range) {
    db_ = db;
    table_ = table;
    key_ = key;
    range_ = std::move(range);
}

void BrowseList::setKey(const store::Key* key) {
    key_ = key;
    toFirst();
}

void BrowseList::setFilter(std::function<bool(const store::Record&)> accept) {
    filter_ = std::move(accept);
}

void BrowseList::setColumns(std::vector<BrowseColumn> columns) {
    columns_ = std::move(columns);
    model_->setColumns(columns_);
    const auto units = message_box::DialogUnits::of(view_->font());
    for (size_t i = 0; i < columns_.size(); ++i)
        view_->setColumnWidth(static_cast<int>(i), units.x(columns_[i].width));
}

int BrowseList::pageSize() const {
    int rowHeight = view_->verticalHeader()->defaultSectionSize();
    int height = view_->viewport()->height();
    return std::max(1, height / std::max(1, rowHeight));
}

bool BrowseList::accepts(const store::Record& r) const { return !filter_ || filter_(r); }

std::vector<store::Record> BrowseList::read(store::Cursor& c, int n, bool forward) {
    std::vector<store::Record> out;
    readError_.reset();
    while (static_cast<int>(out.size()) < n) {
        auto r = forward ? c.next() : c.previous();
        if (!r) {
            readError_ = r.error();
            emit readFailed(r.error());
            break;
        }
        if (!r->has_value()) break;
        if (!range_.empty() && store::compareKeyPrefix(*table_, *key_, **r, range_) != 0) break;
        if (accepts(**r)) out.push_back(std::move(**r));
    }
    return out;
}

void BrowseList::showPage(std::vector<store::Record> rows, int highlight) {
    model_->reset(std::move(rows));
    int n = model_->rowCount();
    if (n > 0) setCurrentRow(std::clamp(highlight, 0, n - 1));
    bool empty = n == 0;
    if (empty != wasEmpty_) {
        wasEmpty_ = empty;
        emit emptinessChanged(empty);
    }
    updateScrollBar();
    emit currentChanged();
}

void BrowseList::toFirst() {
    if (!db_) return;
    store::Cursor c(*db_, *table_, *key_);
    c.seekAtOrAfter(range_);
    auto rows = read(c, pageSize(), true);
    atStart_ = true;
    atEnd_ = static_cast<int>(rows.size()) < pageSize();
    showPage(std::move(rows), 0);
}

void BrowseList::toLast() {
    if (!db_) return;
    store::Cursor c(*db_, *table_, *key_);
    c.seekAtOrBefore(range_);
    auto rows = read(c, pageSize(), false);
    std::reverse(rows.begin(), rows.end());
    atEnd_ = true;
    atStart_ = static_cast<int>(rows.size()) < pageSize();
    int last = static_cast<int>(rows.size()) - 1;
    showPage(std::move(rows), last);
}

void BrowseList::pageDown() {
    const auto& rows = model_->rows;
    if (rows.empty()) return;
    int row = currentRow();
    store::Cursor c(*db_, *table_, *key_);
    c.seekTo(rows.back());
    auto next = read(c, pageSize(), true);
    if (next.empty()) {
        setCurrentRow(static_cast<int>(rows.size()) - 1);
        return;
    }
    if (static_cast<int>(next.size()) < pageSize()) { // the last page, full
        toLast();
        return;
    }
    atStart_ = false;
    showPage(std::move(next), row);
}

void BrowseList::pageUp() {
    const auto& rows = model_->rows;
    if (rows.empty()) return;
    int row = currentRow();
    store::Cursor c(*db_, *table_, *key_);
    c.seekTo(rows.front());
    auto before = read(c, pageSize(), false);
    if (before.empty()) {
        setCurrentRow(0);
        return;
    }
    if (static_cast<int>(before.size()) < pageSize()) {
        toFirst();
        return;
    }
    std::reverse(before.begin(), before.end());
    atEnd_ = false;
    showPage(std::move(before), row);
}

void BrowseList::down() {
    auto rows = model_->rows;
    if (rows.empty()) return;
    int row = currentRow();
    if (row + 1 < static_cast<int>(rows.size())) {
        setCurrentRow(row + 1);
        return;
    }
    store::Cursor c(*db_, *table_, *key_);
    c.seekTo(rows.back());
    auto next = read(c, 1, true);
    if (next.empty()) {
        atEnd_ = true;
        updateScrollBar();
        return;
    }
    rows.push_back(std::move(next.front()));
    if (static_cast<int>(rows.size()) > pageSize()) rows.erase(rows.begin());
    atStart_ = false;
    showPage(std::move(rows), static_cast<int>(rows.size()) - 1);
}

void BrowseList::up() {
    auto rows = model_->rows;
    if (rows.empty()) return;
    int row = currentRow();
    if (row > 0) {
        setCurrentRow(row - 1);
        return;
    }
    store::Cursor c(*db_, *table_, *key_);
    c.seekTo(rows.front());
    auto before = read(c, 1, false);
    if (before.empty()) {
        atStart_ = true;
        updateScrollBar();
        return;
    }
    rows.insert(rows.begin(), std::move(before.front()));
    if (static_cast<int>(rows.size()) > pageSize()) rows.pop_back();
    atEnd_ = false;
    showPage(std::move(rows), 0);
}

// Fills the page from `first` on; when the rest of the order cannot fill a page, the page ends
// with the last record instead. The highlight goes to `keep` when it is on the page, else to
// `first`.
void BrowseList::fillFrom(const std::optional<store::Record>& first,
                          const std::optional<store::Record>& keep) {
    auto rowOf = [&](const std::vector<store::Record>& rows, int otherwise) {
        for (const auto* wanted : {&keep, &first})
            if (*wanted)
                for (size_t i = 0; i < rows.size(); ++i)
                    if (rows[i].position == (*wanted)->position) return static_cast<int>(i);
        return otherwise;
    };
    store::Cursor c(*db_, *table_, *key_);
    std::vector<store::Record> rows;
    if (first) {
        rows.push_back(*first);
        c.seekTo(*first);
        auto more = read(c, pageSize() - 1, true);
        rows.insert(rows.end(), std::make_move_iterator(more.begin()),
                    std::make_move_iterator(more.end()));
    }
    if (static_cast<int>(rows.size()) < pageSize()) {
        // Not a full page: the last page, with the wanted record highlighted.
        store::Cursor back(*db_, *table_, *key_);
        back.seekAtOrBefore(range_);
        auto last = read(back, pageSize(), false);
        std::reverse(last.begin(), last.end());
        int at = rowOf(last, static_cast<int>(last.size()) - 1);
        atEnd_ = true;
        atStart_ = static_cast<int>(last.size()) < pageSize();
        showPage(std::move(last), at);
        return;
    }
    atEnd_ = false;
    atStart_ = false;
    int at = rowOf(rows, 0);
    showPage(std::move(rows), at);
}

void BrowseList::locate(const std::vector<store::Value>& prefix) {
    if (!db_) return;
    std::vector<store::Value> at = range_;
    for (size_t i = range_.size(); i < prefix.size(); ++i) at.push_back(prefix[i]);
    if (range_.empty()) at = prefix;
    store::Cursor c(*db_, *table_, *key_);
    c.seekAtOrAfter(at);
    auto found = read(c, 1, true);
    if (found.empty()) toLast();
    else fillFrom(found.front(), std::nullopt);
}

void BrowseList::locateRecord(const store::Record& record) {
    if (!db_) return;
    // The record itself when it still stands, else the next one in the order.
    store::Cursor c(*db_, *table_, *key_);
    c.seekTo(record);
    auto before = read(c, 1, false);
    store::Cursor from(*db_, *table_, *key_);
    if (before.empty()) from.seekAtOrAfter(range_);
    else from.seekTo(before.front());
    auto found = read(from, 1, true);
    if (found.empty()) {
        toLast();
        return;
    }
    fillFrom(found.front(), std::nullopt);
}

void BrowseList::refresh() {
    const auto& rows = model_->rows;
    if (rows.empty()) {
        toFirst();
        return;
    }
    int row = currentRow();
    store::Record first = rows.front();
    store::Record highlighted = rows[std::max(0, row)];
    store::Cursor c(*db_, *table_, *key_);
    c.seekTo(first);
    auto before = read(c, 1, false);
    store::Cursor from(*db_, *table_, *key_);
    if (before.empty()) from.seekAtOrAfter(range_);
    else from.seekTo(before.front());
    auto page = read(from, pageSize(), true);
    if (static_cast<int>(page.size()) < pageSize()) {
        locateRecord(highlighted);
        return;
    }
    int at = row;
    for (size_t i = 0; i < page.size(); ++i)
        if (page[i].position == highlighted.position) at = static_cast<int>(i);
    showPage(std::move(page), at);
}

std::optional<store::Record> BrowseList::current() const {
    int row = currentRow();
    if (row < 0 || row >= static_cast<int>(model_->rows.size())) return std::nullopt;
    return model_->rows[row];
}

int BrowseList::currentRow() const {
    return view_->selectionModel() ? view_->selectionModel()->currentIndex().row() : -1;
}

void BrowseList::setCurrentRow(int row) {
    if (row < 0 || row >= model_->rowCount()) return;
    view_->setCurrentIndex(model_->index(row, 0));
    view_->selectRow(row);
}

const std::vector<store::Record>& BrowseList::page() const { return model_->rows; }

std::vector<int> BrowseList::columnWidthsInUnits() const {
    const auto units = message_box::DialogUnits::of(view_->font());
    std::vector<int> out;
    for (size_t i = 0; i < columns_.size(); ++i)
        out.push_back(units.unitsOfX(view_->columnWidth(static_cast<int>(i))));
    return out;
}
bool BrowseList::isEmpty() const { return model_->rows.empty(); }

void BrowseList::updateScrollBar() {
    QSignalBlocker block(scroll_);
    if (atStart_ && atEnd_) scroll_->setValue(0);
    else if (atStart_) scroll_->setValue(0);
    else if (atEnd_) scroll_->setValue(scroll_->maximum());
    else scroll_->setValue(scroll_->maximum() / 2);
}

void BrowseList::scrollBarAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: down(); break;
    case QAbstractSlider::SliderSingleStepSub: up(); break;
    case QAbstractSlider::SliderPageStepAdd: pageDown(); break;
    case QAbstractSlider::SliderPageStepSub: pageUp(); break;
    case QAbstractSlider::SliderToMinimum: toFirst(); break;
    case QAbstractSlider::SliderToMaximum: toLast(); break;
    case QAbstractSlider::SliderMove: {
        int v = scroll_->sliderPosition();
        if (v <= scroll_->minimum()) toFirst();
        else if (v >= scroll_->maximum()) toLast();
        break;
    }
    default: break;
    }
    updateScrollBar();
}

bool BrowseList::eventFilter(QObject* watched, QEvent* e) {
    if (watched == view_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) return false;
        switch (k->key()) {
        case Qt::Key_Down: down(); return true;
        case Qt::Key_Up: up(); return true;
        case Qt::Key_PageDown: pageDown(); return true;
        case Qt::Key_PageUp: pageUp(); return true;
        case Qt::Key_Home: toFirst(); return true;
        case Qt::Key_End: toLast(); return true;
        default: return false;
        }
    }
    if (watched == view_->viewport() && e->type() == QEvent::Wheel) {
        auto* w = static_cast<QWheelEvent*>(e);
        if (w->angleDelta().y() < 0) down();
        else up();
        return true;
    }
    return false;
}

void BrowseList::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // A taller list holds more rows: read the page again from its first record.
    if (!db_ || model_->rows.empty()) return;
    if (static_cast<int>(model_->rows.size()) != pageSize()) fillFrom(model_->rows.front(), current());
}

} // namespace saldora::ui
