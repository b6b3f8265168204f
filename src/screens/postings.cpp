#include "screens/postings.h"

#include "data/files.h"
#include "data/globals.h"
#include "data/ini.h"
#include "data/picture.h"
#include "data/settings_keys.h"
#include "data/text.h"
#include "ledger/postings.h"
#include "messages/neat_message.h"
#include "screens/registers.h"
#include "ui/browse_columns.h"
#include "ui/pictures.h"
#include "ui/register_browse.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace saldora::screens {
namespace {

DataFile* gCadmov1 = nullptr;

namespace prefs = settings::preferences;
using files::Cadmov1;
using files::Tabmov1;

const char* const kListFormat =
    "61L|_M*~Filial/Cliente:~@s15@46C|_M*~Lançamento:~@d06@17C|_M*~Cód:~@s3@56L|_M*~Descrição:~"
    "@s25@56L|_M*~Complemento:~@s20@51R(1)|_M*~Crédito:~R(2)@n-14.`2@E(0FF0000H,0FFFFFFH,,)56R(1)|"
    "_M*~Débito:~R(2)@n-14.`2@E(0FFH,0FFFFFFH,,)";
const char* const kMoney = "@n-14.`2";

QString shown(const std::string& cp1252Text) {
    return QString::fromStdString(cp1252::toUtf8(fixed::clip(cp1252Text)));
}

std::string typed(const QLineEdit* e) {
    auto bytes = cp1252::fromUtf8(e->text().toStdString());
    return bytes ? std::string(fixed::clip(*bytes)) : std::string();
}

// The account rules of the posting form: the code looked up when accepted (the account list when
// it is not on file), F7, the description beside the code, and the amount entries the account's
// kind allows.
class PostingFormRules : public QObject {
  public:
    PostingFormRules(ui::RecordForm* form) : QObject(form), form_(form) {
        code_ = form->entry("MOV1:CODMOV");
        credit_ = form->entry("MOV1:VLRCR");
        debit_ = form->entry("MOV1:VLRDB");

        // The code's row: the entry, the lookup button and the account's description.
        auto* layout = static_cast<QFormLayout*>(form->tabs()->widget(0)->layout());
        int row = 0;
        QFormLayout::ItemRole role;
        layout->getWidgetPosition(code_, &row, &role);
        auto* line = new QWidget(code_->parentWidget());
        auto* h = new QHBoxLayout(line);
        h->setContentsMargins(0, 0, 0, 0);
        layout->removeWidget(code_);
        code_->setParent(line);
        code_->setFixedWidth(code_->fontMetrics().averageCharWidth() * 5 + 12);
        lookup_ = ui::makeButton(line, "CallLookup", "F7");
        lookup_->setFocusPolicy(Qt::ClickFocus);
        lookup_->setFixedWidth(lookup_->fontMetrics().horizontalAdvance("F7") + 24);
        description_ = new QLineEdit(line);
        description_->setObjectName("TAB1:DESCRICAO");
        description_->setReadOnly(true);
        description_->setFocusPolicy(Qt::NoFocus);
        description_->setMinimumWidth(description_->fontMetrics().averageCharWidth() * 25 + 12);
        h->addWidget(code_);
        h->addWidget(lookup_);
        h->addWidget(description_, 1);
        layout->setWidget(row, QFormLayout::FieldRole, line);
        QWidget::setTabOrder(code_, form->entry("MOV1:COMPLEMENTO"));

        connect(lookup_, &QPushButton::clicked, this, [this] { callLookup({}); });
        auto* f7 = new QShortcut(QKeySequence(Qt::Key_F7), form);
        f7->setContext(Qt::WidgetWithChildrenShortcut);
        connect(f7, &QShortcut::activated, lookup_, &QPushButton::click);
        // A code typed and left is accepted at once (leaving for Cancel or Help is no accept).
        connect(code_, &QLineEdit::editingFinished, this, [this] {
            QWidget* to = QApplication::focusWidget();
            if (!form_->isEnabled() || lookingUp_ || !code_->isModified() ||
                to == form_->findChild<QWidget*>("Cancel") || to == form_->findChild<QWidget*>("Help"))
                return;
            code_->setModified(false);
            if (typed(code_) != checked_) acceptCode([](bool) {});
        });
        credit_->installEventFilter(this);
        debit_->installEventFilter(this);
        for (QLineEdit* amount : {credit_, debit_}) {
            amount->setAlignment(Qt::AlignRight);
            amount->setFixedWidth(amount->fontMetrics().horizontalAdvance("-999.999.999,99") + 16);
        }

        // The posting's account, as the form opens.
        showAccount(find(typed(code_)));
        checked_ = typed(code_);
    }

    // OK's pass over the code: true when the account is on file; otherwise the account list
    // opens and `then` runs with whether the user chose one.
    bool acceptCode(std::function<void(bool)> then) {
        if (lookingUp_) return false;
        const std::string code = typed(code_);
        // The code is required: a blank code also goes to the account list.
        if (!code.empty())
            if (auto account = find(code)) {
                showAccount(account);
                checked_ = code;
                return true;
            }
        callLookup([this, then](bool chosen) {
            if (!chosen) {
                code_->setFocus();
                code_->selectAll();
            }
            then(chosen);
        });
        return false;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::FocusIn && (watched == credit_ || watched == debit_)) {
            const std::string kind = account_ ? std::string(fixed::clip(account_->crdb)) : "";
            if (kind == "+" || kind == "-") {
                credit_->setEnabled(kind == "+");
                debit_->setEnabled(kind == "-");
            }
        }
        return false;
    }

  private:
    std::optional<Tabmov1> find(const std::string& code) {
        auto found = ledger::findAccount(tabmov1File().db(), code);
        return found ? *found : std::nullopt;
    }

    void showAccount(const std::optional<Tabmov1>& account) {
        account_ = account;
        description_->setText(account ? shown(account->descricao) : QString());
        description_->setCursorPosition(0);
    }

    // The account list, positioned on the code typed; the chosen account's code goes into the
    // entry.
    void callLookup(std::function<void(bool)> then) {
        auto* browse = pesquisaContas(ui::Request::Select);
        browse->startAt({typed(code_)});
        lookingUp_ = true;
        form_->openChild(browse, [this, browse, then](int result) {
            lookingUp_ = false;
            const bool chosen = result == ui::result::Completed && browse->selected();
            if (chosen) {
                const Tabmov1 account = fromRecord<Tabmov1>(*browse->selected());
                code_->setText(shown(account.codmov));
                showAccount(account);
                checked_ = account.codmov;
            }
            if (then) then(chosen);
        });
    }

    ui::RecordForm* form_;
    QLineEdit *code_, *credit_, *debit_, *description_;
    QPushButton* lookup_;
    std::optional<Tabmov1> account_; // the TABMOV1 buffer: the account last read
    std::string checked_;             // the code last looked up
    bool lookingUp_ = false;
};

QString navigationTip(ui::Request request, int control) {
    namespace nav = ui::nav;
    if (request == ui::Request::Insert)
        return control == nav::Insert || control == nav::Down ? "Grava registro e inclui outro"
                                                              : QString();
    if (request != ui::Request::Change) return {};
    switch (control) {
    case nav::Bottom: return "Grava alterações e vai para o último registro";
    case nav::Top: return "Grava alterações e vai para o primeiro registro";
    case nav::PageDown: return "Grava alterações e avança uma página";
    case nav::PageUp: return "Grava alerações e recua uma página";
    case nav::Down: return "Grava alterações e vai para o próximo registro";
    case nav::Up: return "Grava alterações e vai para o registro anterior";
    case nav::Insert: return "Grava este registro e inclui um novo";
    default: return {};
    }
}

QFont arial() { return QFont("Arial", 9); }

} // namespace

void setPostingFiles(DataFile* cadmov1) { gCadmov1 = cadmov1; }
DataFile& postingFile() { return *gCadmov1; }

// ---- CadastraMovimento ------------------------------------------------------------------------

ui::RecordForm* cadastraMovimento(ui::Request request, std::optional<store::Record> posting,
                                  const std::string& cliente1, int32_t data1) {
    if (request == ui::Request::Insert || !posting)
        posting = *toRecord(ledger::newPosting(cliente1, data1));
    ui::RecordFormSpec design;
    design.procedure = std::string(settings::window::cadastraMovimento);
    design.title = "MOVIMENTO";
    design.file = gCadmov1;
    design.table = &Cadmov1::table();
    using F = ui::FormField;
    F credit = F::entry("MOV1:VLRCR", "Crédito:", kMoney, "Valor a debitar");
    F debit = F::entry("MOV1:VLRDB", "Débito:", kMoney, "Valor a creditar");
    credit.autoEntry = debit.autoEntry = false;
    design.fields = {
        F::entry("MOV1:CODMOV", "Código:", "@s3", "Código do movimento"),
        F::entry("MOV1:COMPLEMENTO", "Complemento:", "@s20", "Complemento do histórico"),
        credit,
        debit,
    };
    design.tabKey = std::string(prefs::cadastraMovimentoTab);
    design.navigationTip = navigationTip;
    // The rules need the form's entries, so they are made after it; the hook reaches them here.
    auto rules = std::make_shared<PostingFormRules*>(nullptr);
    design.beforeAccept = [rules](ui::RecordForm& form, int navigation) {
        ui::RecordForm* f = &form;
        return (*rules)->acceptCode([f, navigation](bool chosen) {
            if (chosen) f->submit(navigation);
        });
    };
    design.validate = [](const store::Record& r) {
        if (ledger::hasAmount(fromRecord<Cadmov1>(r))) return true;
        messages().show(ledger::noAmountMessage());
        return false;
    };
    auto* form = new ui::RecordForm(std::move(design), request, std::move(posting));
    *rules = new PostingFormRules(form);
    return form;
}

// ---- PesquisaMovimento ------------------------------------------------------------------------

PesquisaMovimento::PesquisaMovimento()
    : Screen(std::string(settings::window::pesquisaMovimento)),
      cliente1_(fixed::clip(globals().cliente1)), data1_(globals().data1),
      day_(*gCadmov1, cliente1_, data1_) {
    setWindowTitle("Movimento");
    OpenDataFile(tabmov1File());
    OpenDataFile(*gCadmov1);
    OpenDataFile(cadfil1File());
    setClosable(false); // left only through "&Saída"

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("CurrentTab");
    auto* page = new QWidget(tabs_);
    page->setObjectName("Tab1");
    tabs_->addTab(page, QString());

    auto figure = [page](const char* name) {
        auto* l = new QLabel(page);
        l->setObjectName(name);
        l->setFont(arial());
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance("-999.999.999,99") + 12);
        return l;
    };
    auto prompt = [page](const char* name, const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), page);
        l->setObjectName(name);
        l->setFont(arial());
        return l;
    };
    credito_ = figure("LOC:Credito");
    debito_ = figure("LOC:Debito");
    saldoAnterior_ = figure("LOC:SaldoAnterior");
    saldo_ = figure("LOC:Saldo");
    auto* figures = new QGridLayout;
    figures->addWidget(prompt("Prompt1", "Total do Dia:"), 0, 0);
    figures->addWidget(credito_, 0, 1);
    figures->addWidget(debito_, 0, 2);
    figures->addWidget(prompt("Prompt2", "Saldo Anterior:"), 1, 0);
    figures->addWidget(saldoAnterior_, 1, 1);
    figures->addWidget(prompt("Prompt3", "Saldo Atual:"), 2, 0);
    figures->addWidget(saldo_, 2, 1);
    figures->setColumnStretch(3, 1);

    list_ = new ui::BrowseList(page);
    list_->setObjectName("Browse:1");
    list_->view()->setProperty("enterMovesNext", true);
    list_->view()->installEventFilter(this);
    list_->view()->verticalHeader()->setDefaultSectionSize(
        message_box::DialogUnits::of(list_->view()->font()).y(11));
    auto columns = ui::restoreBrowseColumns(
        prefs::pesquisaMovimentoList, kListFormat, Cadmov1::table(),
        {"MOV1:CODFIL", "MOV1:DTALANC", "MOV1:CODMOV", "TAB1:DESCRICAO", "MOV1:COMPLEMENTO",
         "MOV1:VLRCR", "MOV1:VLRDB"});
    if (columns.size() > 3) {
        const int codmov = Cadmov1::table().fieldIndex("MOV1:CODMOV");
        columns[3].text = [this, codmov](const store::Record& r) { return accountName(r.text(codmov)); };
    }
    list_->setColumns(columns);
    const store::Table& t = Cadmov1::table();
    list_->setSource(&gCadmov1->db(), &t, t.key("MOV1:KEY_CADMOV"),
                     {cliente1_, int64_t{data1_}});
    const std::string client = cliente1_;
    const int32_t date = data1_;
    list_->setFilter([client, date](const store::Record& r) {
        return ledger::isPostingOf(r, client, date); // never a day-balance record
    });

    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addLayout(figures);
    pageLayout->addWidget(list_, 1);

    auto button = [this](const char* name, const char* text, const char* tip, const char* icon) {
        auto* b = ui::makeButton(this, name, QString::fromUtf8(text), QString::fromUtf8(tip), icon);
        b->setFocusPolicy(Qt::ClickFocus); // left out of the Tab order
        return b;
    };
    insert_ = button("Insert:2", "F2 Inclui", "Inclui Informações", "inclui.ico");
    change_ = button("Change:2", "F4 Altera", "Altera Informações", "altera.ico");
    delete_ = button("Delete:2", "F6 Exclui", "Exclui Informações", "exclui.ico");
    close_ = button("Close", "&Saída", "Fecha Esta Tela", "saida.ico");
    help_ = button("Help", "&Ajuda", "Ajuda desta Tela", "Ajuda.ico");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (auto* b : {insert_, change_, delete_, close_, help_}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);
    resize(760, 420);

    connect(insert_, &QPushButton::clicked, this, &PesquisaMovimento::insert);
    connect(change_, &QPushButton::clicked, this, &PesquisaMovimento::change);
    connect(delete_, &QPushButton::clicked, this, &PesquisaMovimento::remove);
    connect(close_, &QPushButton::clicked, this, [this] { finish(ui::result::Completed); });
    connect(help_, &QPushButton::clicked, this, [this] {
        QKeyEvent f12(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
        QApplication::sendEvent(list_->view(), &f12);
    });
    connect(list_, &ui::BrowseList::activated, this, &PesquisaMovimento::change);
    connect(list_, &ui::BrowseList::emptinessChanged, this, [this] { updateButtons(); });
    // Back from another screen: the postings on file may have changed meanwhile.
    connect(this, &Screen::activated, this, [this] {
        if (activatedFromAnotherScreen() && !openChildScreen() && !isFinished()) refill();
    });
    updateButtons();
    showFigures();
    QMetaObject::invokeMethod(this, [this] { opened(); }, Qt::QueuedConnection);
}

PesquisaMovimento::~PesquisaMovimento() {
    CloseDataFile(cadfil1File());
    CloseDataFile(*gCadmov1);
    CloseDataFile(tabmov1File());
}

std::string PesquisaMovimento::accountName(const std::string& code) {
    auto it = accountNames_.find(code);
    if (it != accountNames_.end()) return it->second;
    auto account = ledger::findAccount(tabmov1File().db(), code);
    std::string name = account && *account ? (*account)->descricao : std::string(); // gone: blank
    accountNames_.emplace(code, name);
    return name;
}

void PesquisaMovimento::opened() {
    if (isFinished()) return;
    accountNames_.clear();
    list_->toFirst();
    if (const auto& e = list_->readError()) {
        FileWarning(warning::RecordAccess, gCadmov1->name(), {}, &*e);
        finish(ui::result::Cancelled);
        return;
    }
    const auto step = day_.open();
    showFigures();
    if (step.outcome == ledger::PostingDay::Outcome::LaterPosting) {
        messages().show(ledger::laterPostingMessage(step.laterDate));
        finish(ui::result::Cancelled);
        return;
    }
    if (!settle(step)) return;
    // One tab only, but its place is kept as every window keeps it.
    const int tab = static_cast<int>(ini::readNumber(settings::kvelt::file, prefs::section,
                                                     prefs::pesquisaMovimentoTab, 0));
    tabs_->setCurrentIndex(std::clamp(tab, 0, tabs_->count() - 1));
    updateButtons();
    list_->setFocus();
}

bool PesquisaMovimento::settle(const ledger::PostingDay::Step& step) {
    using Outcome = ledger::PostingDay::Outcome;
    switch (step.outcome) {
    case Outcome::Open: return true;
    case Outcome::ReadFailed: FileWarning(warning::RecordAccess, gCadmov1->name(), {}, &step.error); break;
    case Outcome::LaterPosting:
    case Outcome::Closed: break;
    }
    finish(ui::result::Cancelled);
    return false;
}

void PesquisaMovimento::refill() {
    accountNames_.clear();
    list_->refresh();
    (void)listRead();
}

bool PesquisaMovimento::listRead() {
    if (const auto& e = list_->readError()) {
        FileWarning(warning::RecordAccess, gCadmov1->name(), {}, &*e);
        finish(ui::result::Cancelled);
        return false;
    }
    if (!settle(day_.refresh())) return false;
    showFigures();
    updateButtons();
    return true;
}

void PesquisaMovimento::showFigures() {
    auto put = [](QLabel* label, Decimal value, bool coloured) {
        auto text = picture::format(kMoney, picture::Value(value));
        label->setText(text ? shown(text->substr(text->find_first_not_of(' ') == std::string::npos
                                                     ? 0
                                                     : text->find_first_not_of(' ')))
                            : QString());
        if (!coloured) return;
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, value < Decimal{} ? QColor(255, 0, 0) : QColor(0, 0, 255));
        label->setPalette(p);
    };
    put(credito_, day_.credito, false);
    put(debito_, day_.debito, false);
    put(saldoAnterior_, day_.saldoAnterior, true);
    put(saldo_, day_.saldo, true);
}

void PesquisaMovimento::updateButtons() {
    const bool any = !list_->isEmpty();
    change_->setEnabled(any);
    delete_->setEnabled(any);
}

void PesquisaMovimento::insert() {
    if (isFinished() || openChildScreen()) return;
    callForm(ui::Request::Insert, std::nullopt);
}

void PesquisaMovimento::change() {
    if (isFinished() || openChildScreen() || !change_->isEnabled()) return;
    auto current = list_->current();
    if (!current) return;
    // The highlighted posting is read again by its position.
    auto stored = gCadmov1->db().get(Cadmov1::table(), current->position);
    if (!stored) {
        refill();
        return;
    }
    callForm(ui::Request::Change, *stored);
}

void PesquisaMovimento::remove() {
    if (isFinished() || openChildScreen() || !delete_->isEnabled()) return;
    auto current = list_->current();
    if (!current) return;
    auto stored = gCadmov1->db().get(Cadmov1::table(), current->position);
    if (stored) (void)ui::confirmAndDelete(*gCadmov1, *stored);
    // Whatever the answer: the row that took its place, and the day balance from what is on file.
    accountNames_.clear();
    list_->locateRecord(*current);
    if (listRead()) list_->setFocus();
}

void PesquisaMovimento::callForm(ui::Request request, std::optional<store::Record> posting) {
    ui::RecordForm* form = cadastraMovimento(request, std::move(posting), cliente1_, data1_);
    const auto before = list_->current();
    openChild(form, [this, form, request, before](int result) {
        // Back from the form, whatever it answered: the list on the posting, the day balance
        // rewritten from the postings on file.
        accountNames_.clear();
        if (result == ui::result::Completed) list_->locateRecord(form->record());
        else if (before) list_->locateRecord(*before);
        else list_->refresh();
        if (!listRead()) return;
        list_->setFocus();
        formAnswered(form, result, request);
    });
}

void PesquisaMovimento::formAnswered(ui::RecordForm* form, int result, ui::Request request) {
    namespace nav = ui::nav;
    const int move = result == ui::result::Completed ? form->answeredNavigation() : 0;
    if (move == 0) return;
    // Save and insert another: a change turns into an insert.
    if (move == nav::Insert || (request == ui::Request::Insert && move == nav::Down)) {
        QMetaObject::invokeMethod(this, [this] { insert(); }, Qt::QueuedConnection);
        return;
    }
    if (!ui::moveList(*list_, move)) return;
    QMetaObject::invokeMethod(this, [this] { change(); }, Qt::QueuedConnection);
}

bool PesquisaMovimento::takesNavigation(int control) const {
    namespace nav = ui::nav;
    switch (control) {
    case nav::Top:
    case nav::PageUp:
    case nav::Up:
    case nav::Down:
    case nav::PageDown:
    case nav::Bottom:
    case nav::Insert:
    case nav::Help: return true;
    case nav::Change:
    case nav::Delete: return !list_->isEmpty();
    default: return false;
    }
}

void PesquisaMovimento::navigate(int control) {
    namespace nav = ui::nav;
    if (ui::moveList(*list_, control)) return;
    switch (control) {
    case nav::Insert: insert(); break;
    case nav::Change: change(); break;
    case nav::Delete: remove(); break;
    case nav::Help: help_->click(); break;
    default: break;
    }
}

void PesquisaMovimento::popupMenu(const QPoint& at) {
    ui::popupRecordMenu(this, *list_, at,
                        {[this] { insert(); }, [this] { change(); }, [this] { remove(); }},
                        windowTitle());
}

bool PesquisaMovimento::eventFilter(QObject* watched, QEvent* e) {
    auto* w = qobject_cast<QWidget*>(watched);
    const bool mine = w && (w == this || isAncestorOf(w));
    if (mine && isEnabled() && !isFinished()) {
        const bool onList = watched == list_->view();
        if (onList && e->type() == QEvent::ContextMenu) {
            popupMenu(static_cast<QContextMenuEvent*>(e)->globalPos());
            return true;
        }
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            const bool ctrl = k->modifiers() & Qt::ControlModifier;
            const bool enterTab = enterAsTab();
            switch (k->key()) {
            case Qt::Key_F2: insert(); return true;
            case Qt::Key_F4: change(); return true;
            case Qt::Key_F6: remove(); return true;
            case Qt::Key_Insert:
                if (!(onList && enterTab)) insert();
                return true;
            case Qt::Key_Delete:
                if (!(onList && enterTab)) remove();
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (ctrl || !enterTab) {
                    change();
                    return true;
                }
                break; // Enter-as-Tab: the screen moves to the next control
            case Qt::Key_Menu:
                if (onList) {
                    popupMenu(list_->view()->mapToGlobal(QPoint(10, 10)));
                    return true;
                }
                break;
            default: break;
            }
        }
    }
    return Screen::eventFilter(watched, e);
}

void PesquisaMovimento::closing() {
    (void)ini::write(settings::kvelt::file, prefs::section, prefs::pesquisaMovimentoTab,
                     std::to_string(tabs_->currentIndex()));
    ui::saveBrowseColumns(prefs::pesquisaMovimentoList, kListFormat, *list_);
}

} // namespace saldora::screens
