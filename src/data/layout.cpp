#include "data/layout.h"

#include "data/text.h"

#include <stdexcept>

namespace saldora::store {

bool Field::isText() const {
    return type == FieldType::String || type == FieldType::CString || type == FieldType::Memo;
}

std::string_view Field::column() const {
    std::string_view n = name;
    auto colon = n.find(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

int Field::textCapacity() const { return type == FieldType::CString ? size - 1 : size; }

int Table::fieldIndex(std::string_view n) const {
    for (size_t i = 0; i < fields.size(); ++i) {
        const Field& f = fields[i];
        if (cp1252::compareNoCase(f.name, n) == 0 || cp1252::compareNoCase(f.column(), n) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

const Key* Table::key(std::string_view n) const {
    for (const Key& k : keys) {
        std::string_view kn = k.name;
        auto colon = kn.find(':');
        if (cp1252::compareNoCase(kn, n) == 0 ||
            (colon != std::string_view::npos && cp1252::compareNoCase(kn.substr(colon + 1), n) == 0))
            return &k;
    }
    return nullptr;
}

std::vector<int> Table::keyFields(const Key& k) const {
    std::vector<int> out;
    for (const auto& f : k.fields) out.push_back(fieldIndex(f));
    return out;
}

int Table::recordSize() const {
    int n = 0;
    for (const Field& f : fields) {
        switch (f.type) {
        case FieldType::Memo: break;
        case FieldType::Decimal: n += f.size / 2 + 1; break; // packed: two digits a byte, sign
        default: n += f.size; break;
        }
    }
    return n;
}

std::string Table::signature() const {
    static const char* kTypes[] = {"S", "C", "M", "L", "H", "B", "U", "R", "D"};
    std::string s = name + "(";
    for (const Field& f : fields)
        s += std::string(f.column()) + " " + kTypes[static_cast<int>(f.type)] +
             std::to_string(f.size) + (f.places ? "." + std::to_string(f.places) : "") + ";";
    s += ")";
    for (const Key& k : keys) {
        s += " key " + k.name + "(";
        for (const auto& f : k.fields) s += f + ",";
        s += ")";
        if (k.unique) s += "U";
        if (k.noCase) s += "N";
        if (k.excludeBlank) s += "X";
    }
    return s;
}

const Table& FileLayout::table(std::string_view n) const {
    if (n.empty()) return tables.front();
    for (const Table& t : tables)
        if (cp1252::compareNoCase(t.name, n) == 0 || cp1252::compareNoCase(t.prefix, n) == 0)
            return t;
    throw std::out_of_range("no table " + std::string(n) + " in " + name);
}

std::string validate(const FileLayout& layout) {
    if (layout.tables.empty()) return layout.name + ": no table";
    for (const Table& t : layout.tables) {
        for (const Key& k : t.keys) {
            if (k.fields.empty()) return k.name + ": key without components";
            for (const auto& fname : k.fields)
                if (t.fieldIndex(fname) < 0) return k.name + ": no field " + fname;
        }
    }
    return {};
}

} // namespace saldora::store
