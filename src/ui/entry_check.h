#pragma once
// What an entry holds, checked against its field: text that cp1252 cannot hold, or longer than
// the field, is refused with a clear message; the entry beeps and keeps the focus.
#include "data/layout.h"
#include "data/result.h"

#include <optional>
#include <string>

class QLineEdit;

namespace saldora::ui {

// The entry's text as the field stores it (cp1252, trailing blanks clipped), or empty after
// the refusal was shown.
std::optional<std::string> acceptText(QLineEdit* entry, const store::Field& field);

// Beeps, shows the reason in the program's message box and puts the cursor back in the entry.
void refuseEntry(QLineEdit* entry, const std::string& reason);

} // namespace saldora::ui
