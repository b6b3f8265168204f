#include "ui/entry_check.h"

#include "data/message_service.h"
#include "data/text.h"

#include <QApplication>
#include <QLineEdit>

#include <optional>

namespace saldora::ui {

void refuseEntry(QLineEdit* entry, const std::string& reason) {
    QApplication::beep();
    messages().show(Message::withButtons(reason, "Atenção", Icon::Exclamation, button::Ok));
    entry->setFocus();
    entry->selectAll();
}

std::optional<std::string> acceptText(QLineEdit* entry, const store::Field& field) {
    auto bytes = cp1252::fromUtf8(entry->text().toStdString());
    if (!bytes) {
        refuseEntry(entry, bytes.error().text);
        return std::nullopt;
    }
    std::string value(fixed::clip(*bytes));
    if (static_cast<int>(value.size()) > field.textCapacity()) {
        refuseEntry(entry, "O texto tem " + std::to_string(value.size()) +
                               " caracteres; este campo aceita no máximo " +
                               std::to_string(field.textCapacity()) + ".");
        return std::nullopt;
    }
    return value;
}

} // namespace saldora::ui
