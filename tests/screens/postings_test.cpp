// The road of a posting through its windows, offscreen: the posting criteria, the posting browse
// and the posting form, with the day-balance records they leave in CADMOV1.
#include "data/date_time.h"
#include "data/files.h"
#include "data/globals.h"
#include "data/text.h"
#include "ledger/day_balance.h"
#include "screens/filtra_movimento.h"
#include "screens/postings.h"
#include "screens/registers.h"
#include "support/child_process.h"
#include "ui/calendar.h"
#include "ui/register_browse.h"
#include "support/scripted_messages.h"
#include "support/work_folder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <fstream>

using namespace saldora;
using files::Cadmov1;
using saldora::testing::ChildProcess;
using saldora::testing::ScriptedMessages;
using saldora::testing::WorkFolder;

namespace saldora {
void PrintTo(const Decimal& d, std::ostream* os) { *os << d.toString(); }
} // namespace saldora

namespace {

int32_t march(int day) { return *date::fromYmd(2026, 3, day); }
Decimal money(int64_t cents) { return Decimal::fromCents(cents); }

struct Postings {
    WorkFolder cwd;
    ScriptedMessages box;
    DataFile tabmov1{files::layouts::tabmov1()}, cadfil1{files::layouts::cadfil1()},
        cadmov1{files::layouts::cadmov1()}; // outlive the windows
    QMdiArea area;

    Postings() {
        area.resize(1100, 800);
        area.show();
        ui::setWorkspace(&area);
        screens::setRegisterFiles(&tabmov1, &cadfil1);
        screens::setPostingFiles(&cadmov1);
        globals().cliente1.clear();
        globals().data1 = 0;
        OpenDataFile(cadmov1); // kept open by the test, as another screen would
        addAccount("001", "Vendas", "+");
        addAccount("002", "Compras", "-");
        addClient("ALFA", "Padaria Alfa");
    }
    ~Postings() {
        for (auto* w : area.subWindowList()) {
            if (auto* s = qobject_cast<ui::Screen*>(w->widget())) s->finish(ui::result::Cancelled);
            w->close();
        }
        QApplication::processEvents();
        ui::setWorkspace(nullptr);
        CloseDataFile(cadmov1);
    }

    template <class R> void add(DataFile& file, const R& typed) {
        OpenDataFile(file);
        auto r = *toRecord(typed);
        ASSERT_TRUE(file.db().add(r).ok());
        CloseDataFile(file);
    }
    void addAccount(const char* code, const char* name, const char* kind) {
        files::Tabmov1 t;
        t.codmov = code;
        t.descricao = name;
        t.crdb = kind;
        add(tabmov1, t);
    }
    void addClient(const char* code, const char* name) {
        files::Cadfil1 c;
        c.codfil = code;
        c.descricao = name;
        add(cadfil1, c);
    }
    std::optional<Decimal> balance(int32_t day) {
        auto d = dayBalance(day);
        return d ? std::optional<Decimal>(d->saldoatual) : std::nullopt;
    }
    std::optional<Cadmov1> dayBalance(int32_t day, const char* client = "ALFA") {
        auto r = ledger::findDayBalance(cadmov1.db(), client, day);
        if (!r || !*r) return std::nullopt;
        return fromRecord<Cadmov1>(**r);
    }

    // FiltraMovimento open in the workspace.
    screens::FiltraMovimento* criteria() {
        auto* w = new screens::FiltraMovimento;
        w->open();
        QApplication::processEvents();
        return w;
    }
    // Client and date typed, OK: the posting browse (or nothing, when it closed at once).
    screens::PesquisaMovimento* browse(screens::FiltraMovimento* w, const char* client,
                                       const char* date) {
        auto* c = w->findChild<QLineEdit*>("Cliente1");
        c->clear();
        QTest::keyClicks(c, client);
        w->findChild<QLineEdit*>("Data1")->setText(date);
        w->findChild<QPushButton*>("OkButton")->click();
        QApplication::processEvents();
        QApplication::processEvents();
        return qobject_cast<screens::PesquisaMovimento*>(w->openChildScreen());
    }
    static ui::RecordForm* form(screens::PesquisaMovimento* b) {
        return qobject_cast<ui::RecordForm*>(b->openChildScreen());
    }
    // A posting typed into the form, OK.
    static void post(screens::PesquisaMovimento* b, const char* account, const char* credit,
                     const char* debit, const char* complement = "") {
        b->insert();
        ui::RecordForm* f = form(b);
        ASSERT_NE(f, nullptr);
        f->entry("MOV1:CODMOV")->setText(account);
        f->entry("MOV1:COMPLEMENTO")->setText(QString::fromUtf8(complement));
        f->entry("MOV1:VLRCR")->setText(credit);
        f->entry("MOV1:VLRDB")->setText(debit);
        f->findChild<QPushButton*>("OK")->click();
        QApplication::processEvents();
    }
    static QString figure(screens::PesquisaMovimento* b, const char* name) {
        return b->findChild<QLabel*>(name)->text();
    }
    static QColor colour(screens::PesquisaMovimento* b, const char* name) {
        return b->findChild<QLabel*>(name)->palette().color(QPalette::WindowText);
    }
    static void close(screens::PesquisaMovimento* b) {
        b->findChild<QPushButton*>("Close")->click();
        QApplication::processEvents();
    }
};

const QColor kRed(255, 0, 0), kBlue(0, 0, 255);

} // namespace

TEST(Postings, TheRoadOfAPostingThroughTheWindows) {
    Postings p;
    auto* w = p.criteria();
    EXPECT_EQ(w->windowTitle(), "Informações para o movimento");
    EXPECT_EQ(w->findChild<QPushButton*>("OkButton")->text(), "&Sim");

    // A credit of 100,00 on 10/03, the client typed in lower case.
    auto* b = p.browse(w, "alfa", "10/03/2026");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(globals().cliente1, "ALFA");
    EXPECT_EQ(globals().data1, march(10));
    EXPECT_EQ(w->findChild<QLabel*>("FIL1:DESCRICAO")->text(), "Padaria Alfa");
    EXPECT_EQ(b->windowTitle(), "Movimento");
    EXPECT_FALSE(b->closable()); // no close command: only "&Saída"
    const Qt::WindowFlags flags = b->frameWindow()->windowFlags();
    EXPECT_FALSE(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)); // no close box
    QMenu* system = static_cast<QMdiSubWindow*>(b->frameWindow())->systemMenu();
    ASSERT_NE(system, nullptr);
    ASSERT_FALSE(system->actions().isEmpty());
    EXPECT_FALSE(system->actions().last()->isSeparator());
    for (QAction* a : system->actions())
        EXPECT_NE(a->shortcut(), QKeySequence(QKeySequence::Close)) << a->text().toStdString();
    EXPECT_TRUE(b->list()->isEmpty());
    EXPECT_FALSE(b->findChild<QPushButton*>("Change:2")->isEnabled());
    EXPECT_EQ(Postings::figure(b, "LOC:Saldo"), "0,00");

    b->insert();
    ui::RecordForm* f = Postings::form(b);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->windowTitle(), "Registo será incluido");
    Postings::form(b)->findChild<QPushButton*>("Cancel")->click();
    QApplication::processEvents();
    Postings::post(b, "001", "100,00", "", "Depósito");
    ASSERT_EQ(b->openChildScreen(), nullptr);
    ASSERT_EQ(b->list()->page().size(), 1u);
    const auto row = fromRecord<Cadmov1>(*b->list()->current());
    EXPECT_EQ(row.codfil, "ALFA");
    EXPECT_EQ(row.dtalanc, march(10));
    EXPECT_EQ(row.vlrcr, money(10000));
    EXPECT_EQ(row.complemento, "Dep\xF3sito");
    EXPECT_EQ(b->list()->view()->model()->index(0, 3).data().toString(), "Vendas");
    EXPECT_EQ(p.balance(march(10)), money(10000));
    EXPECT_EQ(Postings::figure(b, "LOC:Credito"), "100,00");
    EXPECT_EQ(Postings::figure(b, "LOC:SaldoAnterior"), "0,00");
    EXPECT_EQ(Postings::figure(b, "LOC:Saldo"), "100,00");
    EXPECT_EQ(Postings::colour(b, "LOC:Saldo"), kBlue);
    Postings::close(b);
    EXPECT_EQ(w->openChildScreen(), nullptr);
    EXPECT_FALSE(w->isFinished()); // the criteria stay open for the next client or date

    // A debit of 30,00 on 12/03: 100,00 brought forward, 70,00 at the end of the day.
    b = p.browse(w, "ALFA", "12/03/2026");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(Postings::figure(b, "LOC:SaldoAnterior"), "100,00");
    Postings::post(b, "002", "", "30,00");
    EXPECT_EQ(Postings::figure(b, "LOC:Debito"), "30,00");
    EXPECT_EQ(Postings::figure(b, "LOC:Saldo"), "70,00");
    EXPECT_EQ(p.balance(march(12)), money(7000));
    Postings::close(b);

    // 11/03 is refused, naming 12/03, and the browse closes without writing.
    const int64_t records = *p.cadmov1.db().count(Cadmov1::table());
    p.box.shown.clear();
    EXPECT_EQ(p.browse(w, "ALFA", "11/03/2026"), nullptr);
    ASSERT_EQ(p.box.shown.size(), 1u);
    EXPECT_EQ(p.box.shown[0].caption, "Aviso");
    EXPECT_EQ(p.box.shown[0].text,
              "Já existe lançamento posterior (12/03/2026) a data selecionada.|Faça o lançamento "
              "desejado com a data acima ou posterior");
    EXPECT_EQ(*p.cadmov1.db().count(Cadmov1::table()), records);

    // A cancelled form still rewrites the day balance from the postings on file.
    b = p.browse(w, "ALFA", "12/03/2026");
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(p.dayBalance(march(12)));
    const int64_t version = p.dayBalance(march(12))->version;
    b->insert();
    Postings::form(b)->findChild<QPushButton*>("Cancel")->click();
    QApplication::processEvents();
    EXPECT_GT(p.dayBalance(march(12))->version, version);

    // Deleting the last posting of the day removes its day balance.
    p.box.answer(button::Ok);
    b->remove();
    EXPECT_EQ(p.box.shown.back().caption, "Confirmação de Exclusão");
    EXPECT_TRUE(b->list()->isEmpty());
    EXPECT_FALSE(p.dayBalance(march(12)));
    EXPECT_EQ(Postings::figure(b, "LOC:Saldo"), "100,00");
    EXPECT_TRUE(p.dayBalance(march(10)));
    Postings::close(b);
}

TEST(Postings, ANegativeBalanceBroughtForwardIsRedAndTheDayBalanceBlue) {
    Postings p;
    Cadmov1 before;
    before.codfil = "ALFA";
    before.dtalanc = march(1);
    before.codmov = "999";
    before.saldoatual = money(-2000);
    before.flagsaldo = "S";
    auto r = *toRecord(before);
    ASSERT_TRUE(p.cadmov1.db().add(r).ok());

    auto* b = p.browse(p.criteria(), "ALFA", "10/03/2026");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(Postings::figure(b, "LOC:SaldoAnterior"), "-20,00");
    EXPECT_EQ(Postings::colour(b, "LOC:SaldoAnterior"), kRed);
    EXPECT_EQ(Postings::colour(b, "LOC:Saldo"), kRed);
    Postings::post(b, "001", "50,00", "");
    EXPECT_EQ(Postings::figure(b, "LOC:Credito"), "50,00");
    EXPECT_EQ(Postings::figure(b, "LOC:Debito"), "0,00");
    EXPECT_EQ(Postings::figure(b, "LOC:Saldo"), "30,00");
    EXPECT_EQ(Postings::colour(b, "LOC:Saldo"), kBlue);
    EXPECT_EQ(Postings::colour(b, "LOC:SaldoAnterior"), kRed);
    EXPECT_EQ(p.balance(march(10)), money(3000));
}

TEST(Postings, TheFormRefusesAPostingWithoutAmountsAndLooksUpAnUnknownAccount) {
    Postings p;
    auto* b = p.browse(p.criteria(), "ALFA", "10/03/2026");
    ASSERT_NE(b, nullptr);

    Postings::post(b, "001", "", "");
    ASSERT_EQ(p.box.shown.size(), 1u);
    EXPECT_EQ(p.box.shown[0].caption, "Aviso");
    EXPECT_EQ(p.box.shown[0].text, "Informe valor a débito ou a crédito, senão cancele.");
    ui::RecordForm* f = Postings::form(b);
    ASSERT_NE(f, nullptr); // the form stays open
    EXPECT_EQ(*p.cadmov1.db().count(Cadmov1::table()), 0);

    // An account that is not on file opens the account list; cancelling keeps the form.
    f->entry("MOV1:CODMOV")->setText("7");
    f->entry("MOV1:VLRDB")->setText("12,50");
    f->findChild<QPushButton*>("OK")->click();
    auto* accounts = qobject_cast<ui::RegisterBrowse*>(f->openChildScreen());
    ASSERT_NE(accounts, nullptr);
    accounts->finish(ui::result::Cancelled);
    QApplication::processEvents();
    EXPECT_EQ(Postings::form(b), f);
    EXPECT_EQ(*p.cadmov1.db().count(Cadmov1::table()), 0);

    // Choosing an account there goes on with OK.
    f->findChild<QPushButton*>("OK")->click();
    accounts = qobject_cast<ui::RegisterBrowse*>(f->openChildScreen());
    ASSERT_NE(accounts, nullptr);
    accounts->list()->toLast(); // "Vendas" after "Compras"
    accounts->list()->up();     // "Compras" (002, a debit account)
    accounts->select();
    QApplication::processEvents();
    EXPECT_EQ(Postings::form(b), nullptr);
    ASSERT_EQ(b->list()->page().size(), 1u);
    EXPECT_EQ(fromRecord<Cadmov1>(*b->list()->current()).codmov, "002");
    EXPECT_EQ(p.balance(march(10)), money(-1250));
}

TEST(Postings, TheAccountKindDecidesWhichAmountCanBeTypedAndF7OpensTheAccounts) {
    Postings p;
    auto* b = p.browse(p.criteria(), "ALFA", "10/03/2026");
    ASSERT_NE(b, nullptr);
    b->insert();
    ui::RecordForm* f = Postings::form(b);
    ASSERT_NE(f, nullptr);
    f->activateWindow();
    QLineEdit *code = f->entry("MOV1:CODMOV"), *credit = f->entry("MOV1:VLRCR"),
              *debit = f->entry("MOV1:VLRDB");
    code->setFocus();
    QTest::keyClicks(code, "002");
    QTest::keyClick(code, Qt::Key_Tab); // the code accepted as it is left
    EXPECT_EQ(f->findChild<QLineEdit*>("TAB1:DESCRICAO")->text(), "Compras");
    credit->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(credit->isEnabled());
    EXPECT_TRUE(debit->isEnabled());

    // F7: the account list, positioned on the code; the choice replaces the code.
    QTest::keyClick(code, Qt::Key_F7);
    auto* accounts = qobject_cast<ui::RegisterBrowse*>(f->openChildScreen());
    ASSERT_NE(accounts, nullptr);
    accounts->list()->toLast();
    accounts->select();
    QApplication::processEvents();
    EXPECT_EQ(code->text(), "001");
    EXPECT_EQ(f->findChild<QLineEdit*>("TAB1:DESCRICAO")->text(), "Vendas");
    debit->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(credit->isEnabled());
    EXPECT_FALSE(debit->isEnabled());
}

TEST(Postings, AnotherStationPostingMeanwhileIsCountedInTheDayBalance) {
    Postings p;
    auto* b = p.browse(p.criteria(), "ALFA", "10/03/2026");
    ASSERT_NE(b, nullptr);
    Postings::post(b, "001", "100,00", "");

    // Another station posts for the same client and date while this browse is open.
    {
        std::ofstream("lote.csv") << "ALFA,10/03/2026,001,,\"40,00\",\nALFA,10/03/2026,002,,,\"15,00\"\n";
    }
    auto [code, out] = ChildProcess::run({std::string(SALDORA_BINARY_DIR) + "/tools/saldora-dados",
                                          "lancar", p.cwd.path().string(), "lote.csv"});
    ASSERT_EQ(code, 0) << out;
    EXPECT_EQ(p.balance(march(10)), money(12500)); // its own rewrite

    // This browse's next posting rewrites the day balance from everything on file.
    Postings::post(b, "001", "1,00", "");
    EXPECT_EQ(b->list()->page().size(), 4u);
    EXPECT_EQ(p.balance(march(10)), money(12600));
    EXPECT_EQ(Postings::figure(b, "LOC:Credito"), "141,00");
    EXPECT_EQ(Postings::figure(b, "LOC:Debito"), "15,00");
}

TEST(Postings, AFileOfPostingsAndTheSamePostingsTypedLeaveTheSameRecords) {
    auto dump = [](const std::string& folder) {
        return ChildProcess::run({std::string(SALDORA_BINARY_DIR) + "/tools/saldora-dados", "dump",
                                  folder, "CADMOV1", "--key", "MOV1:KEY_CADMOV_1"});
    };
    std::string typed;
    {
        Postings p;
        auto* w = p.criteria();
        auto* b = p.browse(w, "ALFA", "10/03/2026");
        ASSERT_NE(b, nullptr);
        Postings::post(b, "001", "100,00", "", "Depósito");
        Postings::post(b, "002", "", "7,25", "Tarifa");
        Postings::close(b);
        b = p.browse(w, "ALFA", "12/03/2026");
        ASSERT_NE(b, nullptr);
        Postings::post(b, "002", "", "30,00", "Cheque 15");
        Postings::close(b);
        auto [code, out] = dump(p.cwd.path().string());
        ASSERT_EQ(code, 0) << out;
        typed = out;
    }
    Postings p;
    {
        std::ofstream("lote.csv") << "ALFA,10/03/2026,001,Depósito,\"100,00\",\n"
                                     "ALFA,10/03/2026,002,Tarifa,,\"7,25\"\n"
                                     "alfa,12/03/2026,002,Cheque 15,,30.00\n";
    }
    CloseDataFile(p.cadmov1);
    auto [code, out] = ChildProcess::run({std::string(SALDORA_BINARY_DIR) + "/tools/saldora-dados",
                                          "lancar", p.cwd.path().string(), "lote.csv"});
    OpenDataFile(p.cadmov1);
    ASSERT_EQ(code, 0) << out;
    EXPECT_EQ(dump(p.cwd.path().string()).second, typed);
    EXPECT_NE(typed.find("ALFA,82252,999,,0.00,0.00,92.75,S"), std::string::npos) << typed;
}

TEST(PostingCriteria, AClientTypedAndLeftShowsItsName) {
    Postings p;
    auto* w = p.criteria();
    w->activateWindow();
    auto* client = w->findChild<QLineEdit*>("Cliente1");
    client->setFocus();
    QTest::keyClicks(client, "alfa");
    QTest::keyClick(client, Qt::Key_Tab);
    EXPECT_EQ(client->text(), "ALFA");
    EXPECT_EQ(w->findChild<QLabel*>("FIL1:DESCRICAO")->text(), "Padaria Alfa");
    EXPECT_EQ(w->openChildScreen(), nullptr); // found: no client list
}

TEST(PostingCriteria, AnUnknownClientOpensTheClientListAndOnlyAChosenOneGoesOn) {
    Postings p;
    auto* w = p.criteria();
    EXPECT_EQ(globals().data1, date::today()); // a blank date starts at today
    EXPECT_EQ(p.browse(w, "ZETA", "10/03/2026"), nullptr);
    auto* clients = qobject_cast<ui::RegisterBrowse*>(w->openChildScreen());
    ASSERT_NE(clients, nullptr);
    clients->finish(ui::result::Cancelled);
    QApplication::processEvents();
    EXPECT_EQ(w->openChildScreen(), nullptr); // no browse: the focus is back on the client
    EXPECT_EQ(QApplication::focusWidget(), w->findChild<QLineEdit*>("Cliente1"));

    w->findChild<QPushButton*>("OkButton")->click();
    clients = qobject_cast<ui::RegisterBrowse*>(w->openChildScreen());
    ASSERT_NE(clients, nullptr);
    clients->select(); // ALFA, the only client
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(globals().cliente1, "ALFA");
    EXPECT_EQ(w->findChild<QLineEdit*>("Cliente1")->text(), "ALFA");
    EXPECT_NE(qobject_cast<screens::PesquisaMovimento*>(w->openChildScreen()), nullptr);
}

TEST(PostingCriteria, ImpossibleOrBlankDatesAreRefusedAndLastDateFindsTheLatestDayBalance) {
    Postings p;
    auto* w = p.criteria();
    EXPECT_EQ(p.browse(w, "ALFA", "31/02/2026"), nullptr);
    ASSERT_EQ(p.box.shown.size(), 1u);
    EXPECT_EQ(p.browse(w, "ALFA", ""), nullptr);
    ASSERT_EQ(p.box.shown.size(), 2u);
    EXPECT_EQ(p.box.shown[1].text, "Informe a data do lançamento.");

    auto* b = p.browse(w, "ALFA", "10/03/2026");
    ASSERT_NE(b, nullptr);
    Postings::post(b, "001", "5,00", "");
    Postings::close(b);
    b = p.browse(w, "ALFA", "14/03/2026");
    Postings::post(b, "001", "5,00", "");
    Postings::close(b);
    p.addClient("BETA", "Bar Beta");

    auto* data1 = w->findChild<QLineEdit*>("Data1");
    w->findChild<QLineEdit*>("Data1")->setText("01/01/2026");
    w->lastDate();
    EXPECT_EQ(data1->text(), "14/03/2026");
    EXPECT_EQ(globals().data1, march(14));
    globals().cliente1 = "BETA"; // as a lookup leaves it
    w->lastDate();
    EXPECT_EQ(data1->text(), "");
    EXPECT_EQ(globals().data1, 0);
}

TEST(PostingCriteria, TheDateButtonOpensTheCalendarOnTheDate) {
    Postings p;
    auto* w = p.criteria();
    w->findChild<QLineEdit*>("Data1")->setText("10/03/2026");
    w->findChild<QPushButton*>("DateButton")->click();
    auto* calendar = qobject_cast<ui::Calendar*>(w->openChildScreen());
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->date(), march(10));
    calendar->activateWindow();
    QTest::keyClick(calendar, Qt::Key_Right);
    QTest::keyClick(calendar, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(w->openChildScreen(), nullptr);
    EXPECT_EQ(w->findChild<QLineEdit*>("Data1")->text(), "11/03/2026");
    EXPECT_EQ(globals().data1, march(11));
}

TEST(Postings, TheToolbarSavesAndMovesOnAChangeTurningIntoAnInsert) {
    Postings p;
    auto* b = p.browse(p.criteria(), "ALFA", "10/03/2026");
    ASSERT_NE(b, nullptr);
    Postings::post(b, "001", "1,00", "");
    Postings::post(b, "002", "", "2,00");
    b->list()->toFirst();

    // From a change, "next record" saves and changes the next posting.
    b->change();
    ui::RecordForm* f = Postings::form(b);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->navigationTip(ui::nav::Down), "Grava alterações e vai para o próximo registro");
    EXPECT_FALSE(f->takesNavigation(ui::nav::Select));
    f->entry("MOV1:COMPLEMENTO")->setText("primeiro");
    f->navigate(ui::nav::Down);
    QApplication::processEvents();
    f = Postings::form(b);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->request(), ui::Request::Change);
    EXPECT_EQ(f->entry("MOV1:CODMOV")->text(), "002");

    // The insert button saves the change and starts an insert.
    f->entry("MOV1:VLRDB")->setText("3,00");
    f->navigate(ui::nav::Insert);
    QApplication::processEvents();
    f = Postings::form(b);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->request(), ui::Request::Insert);
    EXPECT_EQ(f->navigationTip(ui::nav::Insert), "Grava registro e inclui outro");
    f->findChild<QPushButton*>("Cancel")->click();
    QApplication::processEvents();
    EXPECT_EQ(p.balance(march(10)), money(-200)); // 1,00 - 3,00
    EXPECT_EQ(b->list()->page().size(), 2u);
    EXPECT_EQ(fromRecord<Cadmov1>(b->list()->page()[0]).complemento, "primeiro");
}

TEST(Postings, ComingBackFromAnotherScreenRefillsAndRewritesTheDayBalance) {
    Postings p;
    auto* b = p.browse(p.criteria(), "ALFA", "10/03/2026");
    ASSERT_NE(b, nullptr);
    Postings::post(b, "001", "10,00", "");
    const int64_t before = p.dayBalance(march(10))->version;

    // The workspace losing the activation and getting it back (a message box, another program)
    // is no visit to another screen.
    p.area.setActiveSubWindow(nullptr);
    QApplication::processEvents();
    p.area.setActiveSubWindow(static_cast<QMdiSubWindow*>(b->frameWindow()));
    QApplication::processEvents();
    EXPECT_EQ(p.dayBalance(march(10))->version, before);

    // Another station posts meanwhile; the user visits the accounts and comes back.
    Cadmov1 other;
    other.codfil = "ALFA";
    other.dtalanc = march(10);
    other.codmov = "001";
    other.vlrcr = money(500);
    auto r = *toRecord(other);
    ASSERT_TRUE(p.cadmov1.db().add(r).ok());
    auto* accounts = screens::pesquisaContas();
    accounts->open();
    QApplication::processEvents();
    p.area.setActiveSubWindow(static_cast<QMdiSubWindow*>(b->frameWindow()));
    QApplication::processEvents();
    EXPECT_EQ(b->list()->page().size(), 2u);
    EXPECT_EQ(p.balance(march(10)), money(1500));
    EXPECT_EQ(Postings::figure(b, "LOC:Credito"), "15,00");
}

TEST(Postings, ThePopupMenuOffersTheCommandsGreyedWhileTheListIsEmpty) {
    Postings p;
    auto* b = p.browse(p.criteria(), "ALFA", "10/03/2026");
    ASSERT_NE(b, nullptr);
    auto menuAt = [b] {
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(50, 50));
        QApplication::sendEvent(b->list()->view(), &e);
        QMenu* menu = b->findChildren<QMenu*>().value(0);
        std::vector<std::pair<std::string, bool>> items;
        if (!menu) return items;
        for (QAction* a : menu->actions())
            items.emplace_back(a->isSeparator() ? "-" : a->text().toStdString(), a->isEnabled());
        menu->close();
        delete menu;
        return items;
    };
    using Items = std::vector<std::pair<std::string, bool>>;
    EXPECT_EQ(menuAt(), (Items{{"F2 Inclui", true}, {"F4 Altera", false}, {"F6 Exclui", false},
                               {"-", true}, {"&O que é isto ?", true}}));
    Postings::post(b, "001", "1,00", "");
    EXPECT_EQ(menuAt()[1], (std::pair<std::string, bool>{"F4 Altera", true}));
}
