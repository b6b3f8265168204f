#pragma once
// File names the program uses are resolved without regard to letter case in their folder, as on
// the system the program was designed for: "KVELT.INI" and "kvelt.ini" are one file. An existing
// file whose name matches is used; otherwise the name keeps the spelling the program uses.
// Windows separators ("\") in the program's paths are the native separator.
#include <string>
#include <string_view>

namespace saldora::file_names {

// "..\ESTILOS\ESTILOS.INI" -> "../ESTILOS/ESTILOS.INI"; ".\DADOS" -> "./DADOS".
std::string nativeSeparators(std::string_view path);

// Resolves every component of `path` against what exists, ignoring case; components that do not
// exist keep their spelling. Relative paths stay relative (to the current folder).
std::string resolve(std::string_view path);

// `name` inside `folder`, resolved as above.
std::string resolveIn(std::string_view folder, std::string_view name);

// The folder for INI files the program names without a folder: $XDG_CONFIG_HOME/saldora, by
// default ~/.config/saldora. Created when missing.
std::string configFolder();

} // namespace saldora::file_names
