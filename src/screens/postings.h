#pragma once
// The posting screens: PesquisaMovimento lists one client's postings of one date with the day's
// figures, and calls CadastraMovimento to insert, change or delete a posting. After every answer
// of the form (and whenever the user comes back from another screen) the browse rewrites or
// removes the client's day-balance record of the date from the postings on file.
#include "ledger/posting_day.h"
#include "ui/browse_list.h"
#include "ui/record_form.h"

#include <optional>

class QLabel;
class QPushButton;
class QTabWidget;

namespace saldora::screens {

// The posting files, as the program has registered them (TABMOV1 and CADFIL1 are the registers').
void setPostingFiles(DataFile* cadmov1);
DataFile& postingFile();

// The posting form for an insert or a change of a posting of `cliente1` on `data1` (those of the
// browse that calls it). A delete shows no form: the browse asks and deletes.
ui::RecordForm* cadastraMovimento(ui::Request request, std::optional<store::Record> posting,
                                  const std::string& cliente1, int32_t data1);

class PesquisaMovimento : public ui::Screen {
    Q_OBJECT
  public:
    // The postings of Cliente1 on Data1, as they stand when the browse is made.
    PesquisaMovimento();
    ~PesquisaMovimento() override;

    ui::BrowseList* list() const { return list_; }
    const ledger::PostingDay& day() const { return day_; }

    void insert();
    void change();
    void remove();

    bool takesNavigation(int control) const override;
    void navigate(int control) override;
    bool holdsFrameTools() const override { return true; }

  protected:
    void closing() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void opened();
    void callForm(ui::Request request, std::optional<store::Record> posting);
    void formAnswered(ui::RecordForm* form, int result, ui::Request request);
    // The list read again and the day balance rewritten from the postings on file.
    void refill();
    // After the list has been read: a read error closes the browse (warning 35); otherwise the
    // day balance is rewritten and the figures shown. False when the browse closed.
    bool listRead();
    bool settle(const ledger::PostingDay::Step& step); // false: the browse closed
    void showFigures();
    void updateButtons();
    void popupMenu(const QPoint& at);
    std::string accountName(const std::string& code);

    std::string cliente1_; // the list's start value
    int32_t data1_;
    ledger::PostingDay day_;
    QTabWidget* tabs_;
    ui::BrowseList* list_;
    QLabel *credito_, *debito_, *saldoAnterior_, *saldo_;
    QPushButton *insert_, *change_, *delete_, *close_, *help_;
    std::map<std::string, std::string> accountNames_; // per refill
};

} // namespace saldora::screens
