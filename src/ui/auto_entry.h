#pragma once
// Auto-completion of registered entries. At start-up the program opens the run's store of typed
// values (auto_entry_store.h), shared by every window; a window registers an entry with
// attach(), and while the user types, the entry's completer offers the values remembered for its
// procedure and field. A form calls rememberEntries() after a successful save, so that what was
// accepted is offered next time. Nothing else relies on it: while the store is not open, entries
// simply get no suggestions and nothing is remembered.
#include "data/result.h"

#include <QCompleter>

#include <string>

class QLineEdit;
class QStringListModel;

namespace saldora::ui {

class AutoEntryStore;

namespace auto_entry {

inline constexpr int kSuggestionsShown = 20;

// Opens "AutoEntry.tps" in the program folder (created when missing). On failure completion
// stays off for the run and the error says why.
Status start(const std::string& programFolder);
void stop();
AutoEntryStore* store(); // null while stopped

// Registers the entry under the procedure ("CadastraContas") and field ("TAB1:DESCRICAO"; the
// entry's object name when empty): its completer offers the remembered values as the user types.
void attach(QLineEdit* entry, const std::string& procedure, const std::string& field = {});
// Remembers the text of a registered entry; other entries are left alone. Failures to write
// (another station holding the file, a character cp1252 cannot hold) only lose that value.
void remember(QLineEdit* entry);
// Remembers every registered entry inside the window.
void rememberEntries(QWidget* window);

} // namespace auto_entry

// The completer attach() installs. It shows the store's suggestions in the store's order, as
// they are (the store has done the matching, with cp1252 case folding).
class AutoEntryCompleter : public QCompleter {
    Q_OBJECT
  public:
    AutoEntryCompleter(QLineEdit* entry, std::string procedure, std::string field);
    const std::string& procedure() const { return procedure_; }
    const std::string& field() const { return field_; }
    // Fills the list with the suggestions for the text typed.
    void refresh(const QString& typed);

  private:
    std::string procedure_, field_;
    QStringListModel* values_;
};

} // namespace saldora::ui
