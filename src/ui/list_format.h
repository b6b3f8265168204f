#pragma once
// List format strings: one column after another, each written
//   <width><L|R|C|D>[(<indent>)]<modifiers>~<header>~[<L|R|C|D>[(<indent>)]]@<picture>@[E(<fg>,<bg>,<sel fg>,<sel bg>)]
// with width and indents in dialog units, modifiers "|" (right border), "_" (underline), "M"
// (resizable), "*" (per-cell colours), and colours as numbers ("0FF0000H" hexadecimal, BGR).
// "27C|_M*~Conta:~@s3@123L|_M*~Descrição:~@s25@" are two columns. Text is UTF-8.
#include "data/result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace saldora::ui {

struct ListColumnFormat {
    int width = 0;
    char alignment = 'L'; // L, R, C or D (decimal)
    int indent = 0;
    bool rightBorder = false, underline = false, resizable = false, cellColors = false;
    std::string header;
    char headerAlignment = 0; // 0: as the column
    int headerIndent = 0;
    std::string picture;
    // E(...) colours; -1 where not given.
    long foreground = -1, background = -1, selectedForeground = -1, selectedBackground = -1;

    bool operator==(const ListColumnFormat&) const = default;
};

Result<std::vector<ListColumnFormat>> parseListFormat(std::string_view format);
std::string writeListFormat(const std::vector<ListColumnFormat>& columns);

// A list's layout in KVELT.INI ("Preferences"): the user's layout under `key` stands only while
// `key` + "_Default" holds the design format; otherwise the design format is written there and
// used. Returns the format to show.
std::string restoreListFormat(std::string_view key, std::string_view designFormat);
// The same without writing anything: the design format is written by saveListFormat later.
std::string peekListFormat(std::string_view key, std::string_view designFormat);
// Saves the user's layout and the design format beside it.
void saveListFormat(std::string_view key, std::string_view format,
                    std::string_view designFormat = {});

} // namespace saldora::ui
