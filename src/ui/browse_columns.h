#pragma once
// The columns of a browse list from its list format, as the user left them in KVELT.INI while the
// design stands, and their widths written back when the browse closes.
#include "ui/browse_list.h"

#include <string>
#include <string_view>
#include <vector>

namespace saldora::ui {

// One column per entry of `fields` (a field of `table`, or another name whose column the caller
// fills through BrowseColumn::text; its field index is then -1).
std::vector<BrowseColumn> restoreBrowseColumns(std::string_view listKey, std::string_view designFormat,
                                               const store::Table& table,
                                               const std::vector<std::string>& fields);
void saveBrowseColumns(std::string_view listKey, std::string_view designFormat,
                       const BrowseList& list);

} // namespace saldora::ui
