#pragma once
// A data file's layout, declared once as data: its tables, their fields with type and width, and
// their keys with components and attributes. The record store creates tables and indexes from it,
// binds records to it and finds fields by name ("MOV1:VLRCR") for the generic parts of the program.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace saldora::store {

enum class FieldType {
    String,  // STRING(n): cp1252, blank-padded to n; stored without trailing blanks
    CString, // CSTRING(n): cp1252, up to n-1 bytes, stored as given
    Memo,    // text up to `size` bytes
    Long,    // 32-bit signed (also dates and times)
    Short,   // 16-bit signed
    Byte,    // 8-bit unsigned
    ULong,   // 32-bit unsigned
    Real,    // 8-byte double
    Decimal, // DECIMAL(size, places): integer count of hundredths
};

struct Field {
    std::string name; // with prefix: "MOV1:CODFIL"
    FieldType type = FieldType::String;
    int size = 0;   // bytes of text, or digits of a DECIMAL
    int places = 0; // decimals of a DECIMAL

    bool isText() const;
    // Name without the prefix, as the column is called in the file.
    std::string_view column() const;
    // Longest text the field holds (CSTRING keeps one byte for its terminator).
    int textCapacity() const;
};

struct Key {
    std::string name;                // "MOV1:KEY_CADMOV"
    std::vector<std::string> fields; // components in order, by field name
    bool unique = false;
    bool noCase = false;       // text components compare without regard to letter case
    bool excludeBlank = false; // records whose components are all blank or zero are left out
    bool primary = false;
};

struct Table {
    std::string name;   // "CADMOV1", or the table's own name in a file of several tables
    std::string prefix; // "MOV1"
    std::vector<Field> fields;
    std::vector<Key> keys;

    // Index of the field, with or without the prefix; -1 when absent.
    int fieldIndex(std::string_view name) const;
    const Key* key(std::string_view name) const;
    // Field indexes of the key's components.
    std::vector<int> keyFields(const Key& key) const;
    // Bytes of a fixed-length record of this layout (memos apart).
    int recordSize() const;
    // A text naming everything that shapes the stored table; kept in each file to recognise a
    // file of another layout.
    std::string signature() const;
};

struct FileLayout {
    std::string name;         // "CADMOV1"
    std::string physicalName; // default name in its folder: "CADMOV1", "kvelt.lhl"
    bool encrypted = false;
    std::vector<Table> tables;

    const Table& table(std::string_view name = {}) const; // first table when name is empty
};

// Every key must have components, each a field of its table. Returns a description of the first
// fault, or an empty text.
std::string validate(const FileLayout& layout);

} // namespace saldora::store
