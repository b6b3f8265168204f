#pragma once
// The values typed into registered entries, remembered per procedure ("CadastraContas") and field
// ("TAB1:DESCRICAO") in the record file "AutoEntry.tps" of the program folder, encrypted like the
// data files because the values may be client names. Each field keeps its most recently used
// values (at most kValuesPerField); lookups by procedure, field and typed prefix read through a
// key cursor, so a lookup costs the values of one field at most. Plain code over the record
// store: the Qt part (auto_entry.h) feeds entries' completers from it.
#include "data/record_binding.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace saldora::ui {

namespace auto_entry {

inline constexpr const char* kFileName = "AutoEntry.tps"; // used as it stands, extension and all
inline constexpr int kNameWidth = 64;                     // procedure and field names
inline constexpr int kValueWidth = 255;     // the widest entry of the program (a folder path)
inline constexpr int kValuesPerField = 100; // the least recently used value goes beyond this

const store::FileLayout& layout();

// One remembered value. ULTIMOUSO numbers the uses of a field's values: the highest is the
// latest, so the field's order of use does not depend on any station's clock.
struct AutoEntryValue : StoredRecord {
    std::string procedimento, campo, valor;
    int32_t usos = 0, ultimouso = 0;
    static const store::Table& table();
    static const std::vector<Member<AutoEntryValue>>& members();
};

} // namespace auto_entry

class AutoEntryStore {
  public:
    // Opens the file at `path`, creating it when missing; damaged keys are rebuilt.
    static Result<std::unique_ptr<AutoEntryStore>> open(const std::string& path);
    ~AutoEntryStore();

    // Remembers a value (cp1252) typed into the field: one more use of it, as its latest. The
    // value is kept without trailing blanks; a blank value is not remembered, nor one wider than
    // kValueWidth (a cut value would complete into a wrong one). A value that differs from a
    // remembered one only in letter case takes its place, with the new spelling.
    Status remember(std::string_view procedure, std::string_view field, std::string_view value);

    // Up to `limit` remembered values of the field that begin with `prefix`, letter case aside
    // (cp1252 folding: "jo" finds "João" and "JOÃO"; "joa" does not find "João"). The most often
    // used come first; among equally used ones, the most recently used.
    Result<std::vector<std::string>> suggestions(std::string_view procedure, std::string_view field,
                                                 std::string_view prefix, int limit = 10);

    const std::string& path() const;

  private:
    explicit AutoEntryStore(std::unique_ptr<store::Database> db);
    std::unique_ptr<store::Database> db_;
};

} // namespace saldora::ui
