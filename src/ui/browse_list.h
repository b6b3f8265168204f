#pragma once
// The list of a register browse: one page of records of one key, read through the store's cursor
// as the user moves (row, page, first, last, locate), so that no movement reads a whole file.
// Rows 1, 3, 5 … of the page have a light-blue background; columns show fields through their
// display pictures.
#include "data/store.h"

#include <QColor>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QScrollBar;
class QTableView;

namespace saldora::ui {

struct BrowseColumn {
    QString header;
    int field = 0;           // index in the table
    std::string picture;     // "@s25", "@n-14.`2"
    int width = 40;          // dialog units
    Qt::Alignment alignment = Qt::AlignLeft;
    int indent = 0;          // dialog units, for left-aligned columns
    QColor foreground, background; // the column's own colours; invalid for the list's
    // A column that is no field of the listed table (field -1): its cp1252 text for a row, shown
    // through the picture.
    std::function<std::string(const store::Record&)> text;
};

class BrowseListModel;

class BrowseList : public QWidget {
    Q_OBJECT
  public:
    explicit BrowseList(QWidget* parent = nullptr);
    ~BrowseList() override;

    // The records to list: a table in the order of one of its keys; optionally only those whose
    // first key components equal `range`, and those a filter accepts.
    void setSource(store::Database* db, const store::Table* table, const store::Key* key,
                   std::vector<store::Value> range = {});
    void setKey(const store::Key* key); // another order; the list is filled from its start
    void setFilter(std::function<bool(const store::Record&)> accept);
    void setColumns(std::vector<BrowseColumn> columns);
    const std::vector<BrowseColumn>& columns() const { return columns_; }
    // The columns' widths as the user left them, in dialog units.
    std::vector<int> columnWidthsInUnits() const;
    const store::Key* key() const { return key_; }

    // Movements. Each fills the page from the store.
    void toFirst();
    void toLast();
    void pageDown();
    void pageUp();
    void down();
    void up();
    // The first record whose first key components are >= the values.
    void locate(const std::vector<store::Value>& prefix);
    // Back on a record (by key and position) or, when it is gone, on the one that took its place.
    void locateRecord(const store::Record& record);
    // Reads the page again from where it stands, keeping the highlighted record when it exists.
    void refresh();

    std::optional<store::Record> current() const;
    int currentRow() const;
    void setCurrentRow(int row);
    const std::vector<store::Record>& page() const;
    bool isEmpty() const;
    int pageSize() const;
    // The last error of a read, if any (the caller shows it).
    const std::optional<Error>& readError() const { return readError_; }

    QTableView* view() const { return view_; }

  signals:
    void currentChanged();
    void activated();           // double click
    void emptinessChanged(bool empty);
    void readFailed(const Error& error);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    bool accepts(const store::Record& r) const;
    // Up to n accepted records from the cursor's place, in the direction given.
    std::vector<store::Record> read(store::Cursor& c, int n, bool forward);
    void showPage(std::vector<store::Record> rows, int highlight);
    void fillFrom(const std::optional<store::Record>& first,
                  const std::optional<store::Record>& keep);
    void updateScrollBar();
    void scrollBarAction(int action);

    store::Database* db_ = nullptr;
    const store::Table* table_ = nullptr;
    const store::Key* key_ = nullptr;
    std::vector<store::Value> range_;
    std::function<bool(const store::Record&)> filter_;
    std::vector<BrowseColumn> columns_;
    BrowseListModel* model_ = nullptr;
    QTableView* view_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    bool atStart_ = true, atEnd_ = true;
    bool wasEmpty_ = true;
    std::optional<Error> readError_;
};

// The list's light-blue stripe, RGB(147,201,255).
QColor stripeColor();

// The commands a browse offers on its list's popup menu.
struct RecordCommands {
    std::function<void()> insert, change, remove;
};
// The popup menu of a browse's list at `at`: "F2 Inclui", "F4 Altera", "F6 Exclui" (the last two
// greyed while the list is empty), a separator, what `more` adds, and "&O que é isto ?" showing
// `whatsThis`.
void popupRecordMenu(QWidget* owner, const BrowseList& list, const QPoint& at,
                     const RecordCommands& commands, const QString& whatsThis,
                     const std::function<void(QMenu&)>& more = {});

// Moves the list as a navigation button of the frame's toolbar does (first, last, next or
// previous page or record); false for any other button.
bool moveList(BrowseList& list, int navigationControl);

} // namespace saldora::ui
