#pragma once
// A record's values for the components of a key, and comparisons in the key's order (text of a
// case-insensitive key folded, trailing blanks ignored).
#include "data/store.h"

#include <vector>

namespace saldora::store {

std::vector<Value> keyValues(const Table& table, const Key& key, const Record& record);

// Compares the record's first prefix.size() key components with the prefix: <0, 0, >0.
int compareKeyPrefix(const Table& table, const Key& key, const Record& record,
                     const std::vector<Value>& prefix);

} // namespace saldora::store
