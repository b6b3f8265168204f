#include "ui/auto_entry.h"

#include "data/file_names.h"
#include "data/text.h"
#include "ui/auto_entry_store.h"

#include <QLineEdit>
#include <QStringListModel>

#include <memory>

namespace saldora::ui {

namespace {
std::unique_ptr<AutoEntryStore>& runStore() {
    static std::unique_ptr<AutoEntryStore> s;
    return s;
}
} // namespace

namespace auto_entry {

Status start(const std::string& programFolder) {
    stop();
    auto opened = AutoEntryStore::open(file_names::resolveIn(programFolder, kFileName));
    if (!opened) return opened.error();
    runStore() = std::move(*opened);
    return Status::success();
}

void stop() {
    runStore().reset();
}

AutoEntryStore* store() {
    return runStore().get();
}

void attach(QLineEdit* entry, const std::string& procedure, const std::string& field) {
    delete qobject_cast<AutoEntryCompleter*>(entry->completer()); // registered again
    auto* completer = new AutoEntryCompleter(
        entry, procedure, field.empty() ? entry->objectName().toStdString() : field);
    entry->setCompleter(completer);
    QObject::connect(entry, &QLineEdit::textEdited, completer, &AutoEntryCompleter::refresh);
}

void remember(QLineEdit* entry) {
    auto* completer = qobject_cast<AutoEntryCompleter*>(entry->completer());
    AutoEntryStore* s = store();
    if (!completer || !s) return;
    if (auto text = cp1252::fromUtf8(entry->text().toStdString()))
        (void)s->remember(completer->procedure(), completer->field(), *text);
}

void rememberEntries(QWidget* window) {
    for (QLineEdit* entry : window->findChildren<QLineEdit*>())
        remember(entry);
}

} // namespace auto_entry

AutoEntryCompleter::AutoEntryCompleter(QLineEdit* entry, std::string procedure, std::string field)
    : QCompleter(entry), procedure_(std::move(procedure)), field_(std::move(field)),
      values_(new QStringListModel(this)) {
    setModel(values_);
    setCompletionMode(QCompleter::UnfilteredPopupCompletion);
}

void AutoEntryCompleter::refresh(const QString& typed) {
    QStringList values;
    AutoEntryStore* s = auto_entry::store();
    auto prefix = cp1252::fromUtf8(typed.toStdString());
    if (s && !typed.isEmpty() && prefix)
        if (auto found = s->suggestions(procedure_, field_, *prefix, auto_entry::kSuggestionsShown))
            for (const std::string& v : *found)
                // The value typed in full, as typed, is no suggestion.
                if (QString value = QString::fromStdString(cp1252::toUtf8(v)); value != typed)
                    values << value;
    values_->setStringList(values);
}

} // namespace saldora::ui
