// The accounts and clients registers, driven through their windows offscreen.
#include "data/files.h"
#include "data/text.h"
#include "screens/registers.h"
#include "support/child_process.h"
#include "support/scripted_messages.h"
#include "support/work_folder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>

using namespace saldora;
using saldora::testing::ScriptedMessages;
using saldora::testing::WorkFolder;

namespace {

struct Registers {
    WorkFolder cwd;
    ScriptedMessages box;
    DataFile tabmov1{files::layouts::tabmov1()}, cadfil1{files::layouts::cadfil1()}; // outlive the windows
    QMdiArea area;

    Registers() {
        area.resize(1000, 800);
        area.show();
        ui::setWorkspace(&area);
        screens::setRegisterFiles(&tabmov1, &cadfil1);
    }
    ~Registers() {
        for (auto* w : area.subWindowList()) w->close();
        QApplication::processEvents();
        ui::setWorkspace(nullptr);
    }

    void addAccount(const char* code, const char* description, const char* kind) {
        files::Tabmov1 t;
        t.codmov = code;
        t.descricao = *cp1252::fromUtf8(description);
        t.crdb = kind;
        OpenDataFile(tabmov1);
        auto r = *toRecord(t);
        ASSERT_TRUE(tabmov1.db().add(r).ok());
        CloseDataFile(tabmov1);
    }
    void addClient(const char* code, const char* name) {
        files::Cadfil1 c;
        c.codfil = code;
        c.descricao = *cp1252::fromUtf8(name);
        OpenDataFile(cadfil1);
        auto r = *toRecord(c);
        ASSERT_TRUE(cadfil1.db().add(r).ok());
        CloseDataFile(cadfil1);
    }
    static std::string current(ui::RegisterBrowse* b, int field = 1) {
        auto r = b->list()->current();
        return r ? cp1252::toUtf8(r->text(field)) : "-";
    }
    static std::vector<std::string> column(ui::RegisterBrowse* b, int field) {
        std::vector<std::string> out;
        for (const auto& r : b->list()->page()) out.push_back(cp1252::toUtf8(r.text(field)));
        return out;
    }
};

} // namespace

TEST(Accounts, InsertThroughTheFormRefusesADuplicateDescriptionInAnyCase) {
    Registers r;
    r.addAccount("001", "Vendas", "+");
    auto* browse = screens::pesquisaContas();
    browse->open();
    QApplication::processEvents();
    EXPECT_EQ(Registers::column(browse, 1), std::vector<std::string>{"Vendas"});

    browse->insert();
    auto* form = qobject_cast<ui::RecordForm*>(browse->openChildScreen());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Registo será incluido");
    form->entry("TAB1:CODMOV")->setText("002");
    form->entry("TAB1:DESCRICAO")->setText("VENDAS");
    form->findChild<QRadioButton*>("TAB1:CRDB:Radio2")->setChecked(true);
    form->findChild<QPushButton*>("OK")->click();
    ASSERT_EQ(r.box.shown.size(), 1u);
    EXPECT_EQ(r.box.shown[0].caption, "Erro de Chave Duplicada");
    EXPECT_EQ(r.box.shown[0].text,
              "A inclusão deste registro cria uma entrada duplicada para a chave:Descrição");
    EXPECT_EQ(browse->openChildScreen(), form); // the form stays open

    form->entry("TAB1:DESCRICAO")->setText("Compras à vista");
    form->findChild<QPushButton*>("OK")->click();
    QApplication::processEvents();
    EXPECT_EQ(browse->openChildScreen(), nullptr);
    EXPECT_EQ(Registers::current(browse), "Compras à vista"); // positioned on the new record
    EXPECT_EQ(Registers::current(browse, 2), "-");
}

TEST(Accounts, AnUnchangedRecordIsNotWrittenAndADeleteAsksFirst) {
    Registers r;
    r.addAccount("001", "Vendas", "+");
    auto* browse = screens::pesquisaContas();
    browse->open();
    QApplication::processEvents();
    const int64_t version = browse->list()->current()->version;
    browse->change();
    auto* form = qobject_cast<ui::RecordForm*>(browse->openChildScreen());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Registro será alterado");
    EXPECT_EQ(form->entry("TAB1:CODMOV")->text(), "001");
    EXPECT_TRUE(form->findChild<QRadioButton*>("TAB1:CRDB:Radio1")->isChecked());
    form->findChild<QPushButton*>("OK")->click();
    QApplication::processEvents();
    EXPECT_EQ(browse->list()->current()->version, version); // nothing written

    r.box.answer(button::Cancel);
    browse->remove();
    EXPECT_EQ(r.box.shown.back().caption, "Confirmação de Exclusão");
    EXPECT_FALSE(browse->list()->isEmpty());
    r.box.answer(button::Ok);
    browse->remove();
    EXPECT_TRUE(browse->list()->isEmpty());
    EXPECT_FALSE(browse->findChild<QPushButton*>("Change:2")->isEnabled());
    EXPECT_FALSE(browse->findChild<QPushButton*>("Delete:2")->isEnabled());
}

TEST(Accounts, TypingALetterTwiceWalksTheAccountsThatStartWithIt) {
    Registers r;
    for (const char* d : {"Aluguel", "Caixa", "Compras", "Depósitos"}) r.addAccount(d, d, "+");
    auto* browse = screens::pesquisaContas();
    browse->open();
    QApplication::processEvents();
    browse->typed('c');
    EXPECT_EQ(Registers::current(browse), "Caixa");
    browse->typed('c');
    EXPECT_EQ(Registers::current(browse), "Compras");
    browse->typed('c'); // past the last C: back to the first at or after C
    EXPECT_EQ(Registers::current(browse), "Caixa");
}

TEST(Clients, BlankCodesAreListedByNameOnlyAndTheLetterTabLocates) {
    Registers r;
    r.addClient("PADARIA", "Padaria Central");
    r.addClient("", "Mercado Sem Código");
    r.addClient("LOJA1", "Loja do Centro");
    r.addClient("ZE", "Zé das Couves");
    auto* browse = screens::pesquisaFiliais();
    browse->open();
    QApplication::processEvents();
    EXPECT_EQ(Registers::column(browse, 1),
              (std::vector<std::string>{"Loja do Centro", "Mercado Sem Código", "Padaria Central",
                                        "Zé das Couves"}));
    browse->chooseLetter('M' - 'A');
    EXPECT_EQ(Registers::current(browse), "Mercado Sem Código");
    browse->setCurrentTab(1); // by code: the blank code is left out
    QApplication::processEvents();
    EXPECT_EQ(Registers::column(browse, 0), (std::vector<std::string>{"LOJA1", "PADARIA", "ZE"}));
    // The detail panel follows the highlight.
    browse->list()->toFirst();
    EXPECT_EQ(browse->findChild<QLabel*>("FIL1:CIDADE")->text(), "");
}

TEST(Clients, TheFormKeepsCodesInUpperCaseAndTheSelectRequestHandsTheRecordBack) {
    Registers r;
    r.addClient("ABC", "Cliente ABC");
    auto* browse = screens::pesquisaFiliais(ui::Request::Select);
    browse->open();
    QApplication::processEvents();
    browse->insert();
    auto* form = qobject_cast<ui::RecordForm*>(browse->openChildScreen());
    ASSERT_NE(form, nullptr);
    QTest::keyClicks(form->entry("FIL1:CODFIL"), "novo1");
    EXPECT_EQ(form->entry("FIL1:CODFIL")->text(), "NOVO1");
    form->entry("FIL1:DESCRICAO")->setText("Preço ≥ justo");
    form->findChild<QPushButton*>("OK")->click();
    ASSERT_FALSE(r.box.shown.empty());
    EXPECT_NE(r.box.shown.back().text.find("≥"), std::string::npos); // refused, nothing written
    form->entry("FIL1:DESCRICAO")->setText("Novo Cliente");
    form->findChild<QPushButton*>("OK")->click();
    QApplication::processEvents();
    EXPECT_EQ(Registers::current(browse, 0), "NOVO1");

    std::optional<store::Record> chosen;
    QObject::connect(browse, &ui::Screen::finished, [&](int) { chosen = browse->selected(); });
    browse->select();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->text(0), "NOVO1");
}

TEST(Clients, TheSecondStationToSaveGetsWarning38AndSeesTheFirstsValues) {
    Registers r;
    r.addClient("LOJA1", "Loja do Centro");
    auto* browse = screens::pesquisaFiliais();
    browse->open();
    QApplication::processEvents();
    browse->change();
    auto* form = qobject_cast<ui::RecordForm*>(browse->openChildScreen());
    ASSERT_NE(form, nullptr);
    const auto position = browse->list()->current()->position;

    // Another station changes the client meanwhile.
    auto [code, out] = saldora::testing::ChildProcess::run(
        {std::string(SALDORA_BINARY_DIR) + "/tests/store_worker", "set", ".", "CADFIL1",
         std::to_string(position), "FIL1:CIDADE", "Recife"});
    ASSERT_EQ(code, 0) << out;

    form->entry("FIL1:CIDADE")->setText("Olinda");
    form->findChild<QPushButton*>("OK")->click();
    ASSERT_EQ(r.box.shown.size(), 1u);
    EXPECT_EQ(r.box.shown[0].caption, "Registro Não Foi Atualizado");
    EXPECT_EQ(browse->openChildScreen(), form); // stays open with the stored version
    EXPECT_EQ(form->entry("FIL1:CIDADE")->text(), "Recife");
    // Redone on the stored version, the change goes through.
    form->entry("FIL1:CIDADE")->setText("Olinda");
    form->findChild<QPushButton*>("OK")->click();
    QApplication::processEvents();
    EXPECT_EQ(browse->openChildScreen(), nullptr);
    EXPECT_EQ(Registers::current(browse, files::Cadfil1::table().fieldIndex("FIL1:CIDADE")),
              "Olinda");
}

TEST(Accounts, TheTabTheLetterAndTheColumnWidthsSurviveAReopening) {
    Registers r;
    r.addAccount("001", "Vendas", "+");
    auto* browse = screens::pesquisaContas();
    browse->open();
    QApplication::processEvents();
    browse->setCurrentTab(1);
    browse->chooseLetter('M' - 'A');
    browse->list()->view()->setColumnWidth(1, 300);
    const int units = browse->list()->columnWidthsInUnits()[1];
    browse->finish(ui::result::Completed);
    QApplication::processEvents();

    auto* again = screens::pesquisaContas();
    again->open();
    QApplication::processEvents();
    EXPECT_EQ(again->currentTab(), 1);
    EXPECT_EQ(again->findChild<QTabBar*>("LocatorSheet")->currentIndex(), 'M' - 'A');
    EXPECT_EQ(again->list()->columnWidthsInUnits()[1], units);
    EXPECT_TRUE(again->findChild<QLineEdit*>("TAB1:CODMOV")->isVisible()); // the code tab's locator
}

TEST(Accounts, SaveAndMoveOnThroughTheToolbarCallsTheFormForTheNextRecord) {
    Registers r;
    for (const char* d : {"Aluguel", "Caixa", "Compras"}) r.addAccount(d, d, "+");
    auto* browse = screens::pesquisaContas();
    browse->open();
    QApplication::processEvents();
    ASSERT_TRUE(browse->takesNavigation(ui::nav::Down));
    browse->change();
    auto* form = qobject_cast<ui::RecordForm*>(browse->openChildScreen());
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->takesNavigation(ui::nav::Down));
    form->entry("TAB1:DESCRICAO")->setText("Aluguel da loja");
    form->navigate(ui::nav::Down); // saves, then the browse moves and calls the form again
    QApplication::processEvents();
    auto* next = qobject_cast<ui::RecordForm*>(browse->openChildScreen());
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, form);
    EXPECT_EQ(next->entry("TAB1:DESCRICAO")->text(), "Caixa");
    EXPECT_EQ(next->windowTitle(), "Registro será alterado");
    // The history key brings back what the last save wrote.
    next->entry("TAB1:DESCRICAO")->setFocus();
    next->navigate(ui::nav::History);
    EXPECT_EQ(next->entry("TAB1:DESCRICAO")->text(), "Aluguel da loja");
    next->findChild<QPushButton*>("Cancel")->click();
    QApplication::processEvents();
    EXPECT_EQ(Registers::current(browse), "Caixa");
    // And the first record was written.
    browse->list()->toFirst();
    EXPECT_EQ(Registers::current(browse), "Aluguel da loja");
}
