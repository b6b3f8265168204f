#pragma once
// The browse of a register: a list of one file in the order of the selected tab's key, a page at
// a time, with the register's locators (first letter on a name, an entry on a code, the A–Z letter
// tabs), its keys and popup menu, and its form called for insert, change, view and delete. Called
// with the select request it hands the chosen record to its caller. A register is declared by a
// RegisterBrowseSpec; what is particular to one (a detail panel) hooks onto its signals.
#include "data/file_routines.h"
#include "data/message_service.h"
#include "ui/browse_list.h"
#include "ui/record_requests.h"
#include "ui/screen.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QMenu;
class QPushButton;
class QTabBar;

namespace saldora::ui {

class RecordForm;

struct RegisterTab {
    QString text;           // "&1-Descrição"
    std::string objectName; // "Tab2"
    std::string key;        // "TAB1:KEY_DESCRICAO"; empty: the records in file order
    // The code tab's locator entry ("TAB1:CODMOV", its picture and tip); empty: the first-letter
    // locator on the key's first field.
    std::string entry;
    std::string entryPicture;
    QString entryTip;
};

// A button of the browse: object name, text, tip and icon.
struct BrowseButton {
    const char* objectName;
    QString text, tip;
    std::string icon;
};

struct RegisterBrowseSpec {
    std::string procedure; // "PesquisaContas"
    QString title;         // "Pesquisa Contas"
    DataFile* file = nullptr;
    const store::Table* table = nullptr;
    std::vector<RegisterTab> tabs;
    std::string listFormat;       // the design format
    std::vector<std::string> listFields; // the field of each column
    std::string listKey;          // "ktBrowseFormat10_PesquisaContas_Browse:1"
    std::string tabKey;           // "ktSelectedTab10_PesquisaContas_CurrentTab"
    std::string letterKey;        // "ktSelectedTab10_PesquisaContas_LocatorSheet"
    // Makes the form for a request and a record (nullopt for insert).
    std::function<RecordForm*(Request, std::optional<store::Record>)> form;

    // The buttons as the register's window shows them.
    BrowseButton select{"Select", "&Este", "Seleciona o Item Iluminado", "este.ico"};
    BrowseButton insert{"Insert:2", "F2 Inclui", "Inclui Informações", "inclui.ico"};
    BrowseButton change{"Change:2", "F4 Altera", "Altera Informações", "altera.ico"};
    BrowseButton remove{"Delete:2", "F6 Exclui", "Exclui Informações", "exclui.ico"};
    BrowseButton close{"Close", "&Saída", "Fecha Esta Tela", "saida.ico"};
    BrowseButton help{"Help", "&Ajuda", "Ajuda desta Tela", "Ajuda.ico"};
    bool selectButton = true; // false for a register no other window looks a record up in
    // A register that may hold at most this many records refuses another insert with
    // `fullMessage`; 0 sets no limit.
    int64_t mostRecords = 0;
    Message fullMessage;
    // While Enter-as-Tab is off, Insert, Enter and Delete insert, change and delete from anywhere
    // in the window, not only on the list.
    bool windowKeys = false;
};

class RegisterBrowse : public Screen {
    Q_OBJECT
  public:
    // `request` Select offers "&Este" and finishes with the chosen record; anything else is upkeep.
    RegisterBrowse(RegisterBrowseSpec design, Request request = Request::Change);
    ~RegisterBrowse() override;

    // The record the user selected (select request, result Completed).
    const std::optional<store::Record>& selected() const { return selected_; }
    // Places the list on the first record at or after these key values before it is shown (the
    // caller's buffer, as the program's lookups do).
    void startAt(std::vector<store::Value> keyValues) { startAt_ = std::move(keyValues); }

    BrowseList* list() const { return list_; }
    int currentTab() const;
    void setCurrentTab(int tab);
    void chooseLetter(int letter); // 0 for "A"

    void insert();
    void change();
    void view();
    void remove();
    void select();
    // Typing a character in the list: the tab's locator.
    void typed(QChar c);

    bool takesNavigation(int control) const override;
    void navigate(int control) override;

  signals:
    void highlighted(const std::optional<store::Record>& record);

  protected:
    void closing() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void updateButtons();
    void callForm(Request request, std::optional<store::Record> record);
    void formAnswered(RecordForm* form, int result, std::optional<store::Record> before);
    void applyTab(int tab, bool fill);
    void locateEntry();
    void popupMenu(const QPoint& at);
    const store::Key* key(int tab) const;

    RegisterBrowseSpec spec_;
    Request request_;
    BrowseList* list_;
    QTabBar* tabs_;
    QTabBar* letters_ = nullptr; // only when a tab's key has a field to locate on
    QLineEdit* locator_ = nullptr;
    QPushButton *select_ = nullptr, *insert_, *change_, *delete_, *close_, *help_;
    std::optional<store::Record> selected_;
    std::vector<store::Value> startAt_;
};

} // namespace saldora::ui
