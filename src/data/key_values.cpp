#include "data/key_values.h"

#include "data/text.h"

namespace saldora::store {

std::vector<Value> keyValues(const Table& t, const Key& k, const Record& r) {
    std::vector<Value> out;
    for (int i : t.keyFields(k)) out.push_back(r[i]);
    return out;
}

int compareKeyPrefix(const Table& t, const Key& k, const Record& r,
                     const std::vector<Value>& prefix) {
    std::vector<int> fields = t.keyFields(k);
    for (size_t i = 0; i < prefix.size() && i < fields.size(); ++i) {
        const Value& a = r[fields[i]];
        const Value& b = prefix[i];
        int c = 0;
        if (auto sa = std::get_if<std::string>(&a)) {
            auto sb = std::get_if<std::string>(&b);
            std::string other = sb ? *sb : std::string();
            c = k.noCase ? cp1252::compareNoCase(*sa, other) : cp1252::compare(*sa, other);
        } else if (auto ia = std::get_if<int64_t>(&a)) {
            int64_t ib = std::holds_alternative<int64_t>(b) ? std::get<int64_t>(b)
                         : std::holds_alternative<double>(b)
                             ? static_cast<int64_t>(std::get<double>(b))
                             : 0;
            c = *ia < ib ? -1 : (*ia > ib ? 1 : 0);
        } else {
            double da = std::get<double>(a);
            double db = std::holds_alternative<double>(b) ? std::get<double>(b)
                        : std::holds_alternative<int64_t>(b)
                            ? static_cast<double>(std::get<int64_t>(b))
                            : 0;
            c = da < db ? -1 : (da > db ? 1 : 0);
        }
        if (c != 0) return c;
    }
    return 0;
}

} // namespace saldora::store
