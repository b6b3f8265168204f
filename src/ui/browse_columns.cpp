#include "ui/browse_columns.h"

#include "ui/list_format.h"

namespace saldora::ui {
namespace {

Qt::Alignment alignmentOf(char a) {
    switch (a) {
    case 'C': return Qt::AlignHCenter;
    case 'R':
    case 'D': return Qt::AlignRight;
    default: return Qt::AlignLeft;
    }
}

// A BGR colour of the list format as a Qt colour.
QColor colourOf(long bgr) {
    if (bgr < 0) return {};
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

} // namespace

std::vector<BrowseColumn> restoreBrowseColumns(std::string_view listKey, std::string_view designFormat,
                                               const store::Table& table,
                                               const std::vector<std::string>& fields) {
    auto columns = parseListFormat(restoreListFormat(listKey, designFormat));
    if (!columns) columns = parseListFormat(designFormat);
    std::vector<BrowseColumn> shown;
    if (!columns) return shown;
    for (size_t i = 0; i < columns->size() && i < fields.size(); ++i) {
        const auto& c = (*columns)[i];
        BrowseColumn b;
        b.header = QString::fromStdString(c.header);
        b.field = table.fieldIndex(fields[i]);
        b.picture = c.picture;
        b.width = c.width;
        b.alignment = alignmentOf(c.alignment);
        b.indent = c.indent;
        b.foreground = colourOf(c.foreground);
        b.background = colourOf(c.background);
        shown.push_back(b);
    }
    return shown;
}

void saveBrowseColumns(std::string_view listKey, std::string_view designFormat,
                       const BrowseList& list) {
    auto columns = parseListFormat(restoreListFormat(listKey, designFormat));
    if (!columns) return;
    auto widths = list.columnWidthsInUnits();
    for (size_t i = 0; i < columns->size() && i < widths.size(); ++i) (*columns)[i].width = widths[i];
    saveListFormat(listKey, writeListFormat(*columns), designFormat);
}

} // namespace saldora::ui
