// The company data: Pesquisa_usuarios with its one record and Cadastra_usuarios, driven through
// their windows offscreen.
#include "data/files.h"
#include "data/globals.h"
#include "data/ini.h"
#include "data/settings_keys.h"
#include "data/text.h"
#include "screens/company_data.h"
#include "support/scripted_messages.h"
#include "support/work_folder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace saldora;
using saldora::testing::ScriptedMessages;
using saldora::testing::WorkFolder;

namespace {

const store::Table& usu() {
    return files::Usuario::table();
}

struct CompanyData {
    WorkFolder cwd;
    ScriptedMessages box;
    DataFile usuario{files::layouts::usuario()}; // outlives the windows that use it
    QMdiArea area;

    CompanyData() {
        globals().enterTab = 0;
        area.resize(1000, 800);
        area.show();
        QApplication::setActiveWindow(&area);
        ui::setWorkspace(&area);
        screens::setCompanyDataFile(&usuario);
    }
    ~CompanyData() {
        for (auto* w : area.subWindowList())
            w->close();
        QApplication::processEvents();
        ui::setWorkspace(nullptr);
        globals().enterTab = 0;
    }

    void addCompany(const char* shortName, uint8_t enterTab = 0, const char* autor = "") {
        files::Usuario u;
        u.usuarioempresa = *cp1252::fromUtf8(std::string(shortName) + " Comércio Ltda.");
        u.usuarioemprresu = *cp1252::fromUtf8(shortName);
        u.usuariocidade = "Recife";
        u.autorempresa = autor;
        u.entertab = enterTab;
        u.email = "contato@loja.com.br"; // a field the form does not show
        OpenDataFile(usuario);
        auto r = *toRecord(u);
        ASSERT_TRUE(usuario.db().add(r).ok());
        CloseDataFile(usuario);
    }
    std::optional<store::Record> stored() {
        OpenDataFile(usuario);
        auto last = usuario.db().last(usu());
        CloseDataFile(usuario);
        if (!last || !*last) return std::nullopt;
        return **last;
    }
    ui::RegisterBrowse* openBrowse() {
        auto* b = screens::pesquisaUsuarios();
        b->open();
        QApplication::processEvents();
        return b;
    }
    static ui::RecordForm* formOf(ui::Screen* browse) {
        return qobject_cast<ui::RecordForm*>(browse->openChildScreen());
    }
    static QString text(const store::Record& r, const char* field) {
        return QString::fromStdString(cp1252::toUtf8(r.text(r.table().fieldIndex(field))));
    }
};

} // namespace

TEST(CompanyData, TheBrowseListsTheOneRecordAndRefusesASecondUntilItIsDeleted) {
    CompanyData c;
    auto* browse = c.openBrowse();
    EXPECT_TRUE(browse->list()->isEmpty());
    EXPECT_FALSE(browse->findChild<QPushButton*>("Change:2")->isEnabled());
    EXPECT_EQ(browse->findChild<QTabBar*>("LocatorSheet"), nullptr); // nothing to locate on
    EXPECT_EQ(browse->findChild<QPushButton*>("Select"), nullptr);

    // F2 on the empty file opens the form to insert.
    QTest::keyClick(browse->list()->view(), Qt::Key_F2);
    auto* form = CompanyData::formOf(browse);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Registo será incluido");
    form->entry("USU:USUARIOEMPRESA")->setText("Padaria Pão Quente Ltda.");
    form->entry("USU:USUARIOEMPRRESU")->setText("Pão Quente");
    form->entry("USU:USUARIOCEP")->setText("50010-000");
    form->findChild<QPushButton*>("OK")->click();
    QApplication::processEvents();
    ASSERT_TRUE(c.box.shown.empty()) << c.box.shown[0].text;
    ASSERT_EQ(CompanyData::formOf(browse), nullptr);
    auto current = browse->list()->current();
    ASSERT_TRUE(current.has_value());
    EXPECT_EQ(CompanyData::text(*current, "USU:USUARIOEMPRRESU"), "Pão Quente");
    EXPECT_EQ(CompanyData::text(*current, "USU:USUARIOCEP"), "50010000"); // digits only

    // A second one is refused, from the list and (Enter = Tab off) from elsewhere in the window.
    const QString full = "Só pode existir um registro de usuário";
    QTest::keyClick(browse->list()->view(), Qt::Key_F2);
    auto* sheet = browse->findChild<QTabBar*>("CurrentTab");
    sheet->setFocus();
    QTest::keyClick(sheet, Qt::Key_Insert);
    ASSERT_EQ(c.box.shown.size(), 2u);
    for (const auto& m : c.box.shown) {
        EXPECT_EQ(QString::fromStdString(m.text), full);
        EXPECT_EQ(m.caption, "Aviso");
        EXPECT_EQ(m.icon, Icon::Question);
        EXPECT_EQ(m.buttons, std::to_string(button::Ok));
    }
    EXPECT_EQ(CompanyData::formOf(browse), nullptr);

    // Deleted (F6, then OK to warning 32), the record may be entered again.
    c.box.answer(button::Ok);
    QTest::keyClick(browse->list()->view(), Qt::Key_F6);
    EXPECT_EQ(c.box.shown.back().caption, "Confirmação de Exclusão");
    EXPECT_TRUE(browse->list()->isEmpty());
    QTest::keyClick(browse->list()->view(), Qt::Key_F2);
    EXPECT_NE(CompanyData::formOf(browse), nullptr);
}

TEST(CompanyData, AFileThatAlreadyHoldsTwoRecordsRefusesAThird) {
    CompanyData c;
    c.addCompany("Loja");
    c.addCompany("Filial");
    auto* browse = c.openBrowse();
    QTest::keyClick(browse->list()->view(), Qt::Key_F2);
    ASSERT_EQ(c.box.shown.size(), 1u);
    EXPECT_EQ(c.box.shown[0].caption, "Aviso");
    EXPECT_EQ(CompanyData::formOf(browse), nullptr);
}

TEST(CompanyData, AnUnchangedRecordIsNotWrittenAndTheAutorTabShowsTheVendorOnly) {
    CompanyData c;
    c.addCompany("Loja", 0, "Antigo Autor"); // a blank CEP goes through its pattern picture too
    const auto before = c.stored();
    auto* browse = c.openBrowse();
    browse->change();
    auto* form = CompanyData::formOf(browse);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Registro será alterado");

    // The vendor's data, through the pictures; typing there changes nothing.
    const auto& v = screens::vendor();
    const std::pair<const char*, QString> shown[] = {
        {"USU:AUTOREMPRESA", QString::fromStdString(v.company)},
        {"USU:AUTORCIDADE", QString::fromStdString(v.city)},
        {"USU:AUTORCEP", "13010-100"},
        {"LOC:AUTORCNPJ", "24.581.360/0001-92"},
        {"LOC:INSCRICAOMUNICIPAL", "30.417.852"},
    };
    for (const auto& [control, text] : shown) {
        QLineEdit* e = form->entry(control);
        ASSERT_NE(e, nullptr) << control;
        EXPECT_EQ(e->text(), text) << control;
        QTest::keyClicks(e, "xyz");
        EXPECT_EQ(e->text(), text) << control;
    }
    EXPECT_EQ(form->findChild<QLabel*>("AutorEmail")->text(), QString::fromStdString(v.email));
    EXPECT_TRUE(form->findChild<QRadioButton*>("USU:ENTERTAB:Radio2")->isChecked()); // "Não"

    form->findChild<QPushButton*>("OK")->click();
    QApplication::processEvents();
    EXPECT_EQ(CompanyData::formOf(browse), nullptr);
    EXPECT_TRUE(c.box.shown.empty());
    const auto after = c.stored();
    ASSERT_TRUE(after && before);
    EXPECT_EQ(after->version, before->version); // nothing written
    EXPECT_EQ(CompanyData::text(*after, "USU:AUTOREMPRESA"), "Antigo Autor");
}

TEST(CompanyData, ACompletedChangeSetsEnterTabForEveryWindowOpenedAfterwards) {
    CompanyData c;
    c.addCompany("Loja");
    auto* browse = c.openBrowse();
    const auto choose = [&](const char* radio) {
        browse->change();
        auto* form = CompanyData::formOf(browse);
        ASSERT_NE(form, nullptr);
        form->findChild<QRadioButton*>(radio)->setChecked(true);
        form->findChild<QPushButton*>("OK")->click();
        QApplication::processEvents();
        ASSERT_EQ(CompanyData::formOf(browse), nullptr);
    };
    choose("USU:ENTERTAB:Radio1"); // "Sim"
    EXPECT_EQ(globals().enterTab, 1);
    ASSERT_TRUE(c.stored());
    EXPECT_EQ(c.stored()->integer(usu().fieldIndex("USU:ENTERTAB")), 1);
    EXPECT_EQ(CompanyData::text(*c.stored(), "USU:EMAIL"), "contato@loja.com.br"); // kept

    // A form opened now: Enter moves from one field to the next.
    browse->change();
    auto* form = CompanyData::formOf(browse);
    ASSERT_NE(form, nullptr);
    form->tabs()->setCurrentIndex(0);
    QLineEdit* empresa = form->entry("USU:USUARIOEMPRESA");
    empresa->setFocus();
    QTest::keyClick(empresa, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form->entry("USU:USUARIOENDERECO"));
    form->findChild<QPushButton*>("Cancel")->click();
    QApplication::processEvents();

    // A browse opened now: Enter on the list moves on, Insert there is ignored.
    auto* second = c.openBrowse();
    second->list()->setFocus();
    QTest::keyClick(second->list()->view(), Qt::Key_Return);
    EXPECT_NE(QApplication::focusWidget(), second->list()->view());
    EXPECT_EQ(CompanyData::formOf(second), nullptr);
    second->list()->setFocus();
    QTest::keyClick(second->list()->view(), Qt::Key_Insert);
    EXPECT_TRUE(c.box.shown.empty());
    second->finish(ui::result::Completed);
    QApplication::processEvents();

    choose("USU:ENTERTAB:Radio2"); // "Não"
    EXPECT_EQ(globals().enterTab, 0);
    // Enter in a field of a form opened now presses OK: the unchanged form closes.
    browse->change();
    form = CompanyData::formOf(browse);
    ASSERT_NE(form, nullptr);
    form->tabs()->setCurrentIndex(0);
    empresa = form->entry("USU:USUARIOEMPRESA");
    empresa->setFocus();
    QTest::keyClick(empresa, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(CompanyData::formOf(browse), nullptr);
}

TEST(CompanyData, TheSelectedTabIsRedAndSurvivesAReopeningAndARefusalShowsItsField) {
    CompanyData c;
    c.addCompany("Loja");
    auto* browse = c.openBrowse();
    browse->change();
    auto* form = CompanyData::formOf(browse);
    ASSERT_NE(form, nullptr);
    QTabWidget* tabs = form->tabs();
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(2), "&3-Enter=Tab");
    tabs->setCurrentIndex(2);
    EXPECT_EQ(tabs->tabBar()->tabTextColor(2), QColor(255, 0, 0));
    EXPECT_FALSE(tabs->tabBar()->tabTextColor(0).isValid());

    // A CEP that the picture refuses brings its own tab back.
    form->entry("USU:USUARIOCEP")->setText("123");
    form->findChild<QPushButton*>("OK")->click();
    ASSERT_EQ(c.box.shown.size(), 1u);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), form->entry("USU:USUARIOCEP"));

    tabs->setCurrentIndex(2);
    form->findChild<QPushButton*>("Cancel")->click();
    QApplication::processEvents();
    EXPECT_EQ(ini::read(settings::kvelt::file, settings::preferences::section,
                        settings::preferences::cadastraUsuariosTab, ""),
              "2");
    browse->change();
    form = CompanyData::formOf(browse);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->tabs()->currentIndex(), 2);
    EXPECT_EQ(form->tabs()->tabBar()->tabTextColor(2), QColor(255, 0, 0));
}

TEST(CompanyData, TheHistoryKeyBlanksAFieldUntilTheFormHasSavedThenCopiesTheSavedValue) {
    CompanyData c;
    c.addCompany("Loja");
    OpenDataFile(c.usuario);
    // A form of its own name, so that no other test's save stands in its history.
    auto form = [&](const store::Record& r) {
        ui::RecordFormSpec design;
        design.procedure = "Cadastra_usuarios_historico";
        design.file = &c.usuario;
        design.table = &usu();
        design.fields = {ui::FormField::entry("USU:USUARIOCIDADE", "Cidade:", "@s15", {}),
                       ui::FormField::entry("USU:USUARIOESTADO", "Estado:", "@s2", {})};
        auto* f = new ui::RecordForm(std::move(design), ui::Request::Change, r);
        f->open();
        return f;
    };
    auto historyKey = [](QLineEdit* e) {
        e->setFocus();
        QTest::keyClick(e, Qt::Key_Shift, Qt::ControlModifier);
    };
    auto* first = form(*c.stored());
    QLineEdit* cidade = first->entry("USU:USUARIOCIDADE");
    EXPECT_EQ(cidade->text(), "Recife");
    historyKey(cidade);
    EXPECT_EQ(cidade->text(), "");
    cidade->setText("Olinda");
    first->entry("USU:USUARIOESTADO")->setText("PE");
    first->findChild<QPushButton*>("OK")->click();
    QApplication::processEvents();

    auto* second = form(*c.stored());
    second->entry("USU:USUARIOCIDADE")->setText("");
    historyKey(second->entry("USU:USUARIOCIDADE"));
    EXPECT_EQ(second->entry("USU:USUARIOCIDADE")->text(), "Olinda");
    second->finish(ui::result::Cancelled);
    QApplication::processEvents();
    CloseDataFile(c.usuario);
}
