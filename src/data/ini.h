#pragma once
// INI files with the semantics of the Windows profile functions: sections in square brackets,
// "key=value" lines; section and key names compare without regard to letter case; blanks around
// names and values do not count; a value enclosed in matching quotes is read without them. The
// first of duplicate sections or keys is the one that counts. A write keeps everything else in
// the file as it was (comments, other keys, spacing, order, line ends) and creates the file and
// the section when missing. An empty section name ("[]") is a section like any other.
//
// Files are cp1252 with CR LF line ends; names and values cross this interface as UTF-8. A value
// that cp1252 cannot hold is refused, never replaced.
//
// File names are resolved without regard to case (file_names.h); a bare name without a folder
// lives in file_names::configFolder(). Files in the current folder are named "./NAME.INI".
#include "data/result.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace saldora::ini {

// A key of some section with the value that stands when it is absent.
struct Setting {
    std::string_view section;
    std::string_view key;
    std::string_view defaultValue;
};

// The path a file name stands for (see above).
std::string locate(std::string_view file);

// The key's value, or `defaultValue` when the file, the section or the key is absent. A key that
// is present with nothing after "=" reads as an empty text.
std::string read(std::string_view file, std::string_view section, std::string_view key,
                 std::string_view defaultValue = {});
std::string read(std::string_view file, const Setting& setting);

// The key's value as a number, as the Windows profile functions read one: leading blanks, an
// optional sign and the digits that follow; a value without digits is 0. `defaultValue` when
// the key is absent.
long readNumber(std::string_view file, std::string_view section, std::string_view key,
                long defaultValue);
long readNumber(std::string_view file, const Setting& setting);

// Sets the key, creating file and section when missing. Refuses a section name holding "]", a
// key that is empty or holds "=", any line break, and text that cp1252 cannot hold.
Status write(std::string_view file, std::string_view section, std::string_view key,
             std::string_view value);
Status write(std::string_view file, const Setting& setting, std::string_view value);
// Several keys of one section, in one reading and one writing of the file; nothing is written
// when one of them is refused.
Status write(std::string_view file, std::string_view section,
             const std::vector<std::pair<std::string_view, std::string>>& keys);

// Removes the key's line; nothing happens when it is absent.
Status remove(std::string_view file, std::string_view section, std::string_view key);

// The keys of a section in file order with their values; empty when the section is absent.
std::vector<std::pair<std::string, std::string>> section(std::string_view file,
                                                         std::string_view section);

} // namespace saldora::ini
