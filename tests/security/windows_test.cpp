// The windows, driven by their control names: the password change, the lock screen, the login
// change, the rights editor and the upkeep of users.
#include "security_fixture.h"

#include "security/appearance.h"
#include "security/component.h"
#include "security/lock_screen.h"
#include "security/login_change_window.h"
#include "security/rights_editor.h"
#include "security/troca_senha.h"
#include "security/user_browse.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace saldora;
using namespace saldora::security;

namespace {

// The process-wide component on the test's folder, for the ds_ calls and the windows.
class ComponentTest : public saldora::testing::SecurityTest {
  protected:
    void SetUp() override {
        security::installComponent(options());
        security::setDataFolder(dir.path());
        ASSERT_EQ(security::ds_InsertFirstUser("KVELT | Menu Principal", "ZUK", "Vexa", "ZUK"), 0);
        zuk = security::ds_LoginText("KVELT | Menu Principal", "ZUK", "ZUK", 33600);
        ASSERT_NE(zuk, 0);
    }
    // The component's windows left open go before the component does.
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!w->parentWidget() &&
                QByteArray(w->metaObject()->className()).startsWith("saldora::security::"))
                w->deleteLater();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        security::installComponent(security::Security::Options{});
    }

    template <class W> static W* window(const char* name) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible())
                if (auto* typed = qobject_cast<W*>(w)) return typed;
        return nullptr;
    }

    security::Handle zuk = 0;
};

template <class W> W* control(QWidget* window, const char* name) {
    W* w = window->findChild<W*>(name);
    if (!w) ADD_FAILURE() << "no control " << name;
    return w;
}

void type(QWidget* window, const char* name, const QString& text) {
    if (auto* e = control<QLineEdit>(window, name)) e->setText(text);
}

void press(QWidget* window, const char* name) {
    if (auto* b = control<QPushButton>(window, name)) b->click();
}

void key(QWidget* target, int k) {
    QKeyEvent event(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST_F(ComponentTest, TrocaSenhaHasMaskedEntriesAndNoCloseCommand) {
    bool closed = false;
    TrocaSenha::start(zuk, nullptr, [&] { closed = true; });
    auto* w = window<TrocaSenha>("TrocaSenha");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), "Troca de Senha");
    for (const char* name : {"OLDPASSWORD", "NEWPASSWORD", "VERIFYPASSWORD"}) {
        auto* e = control<QLineEdit>(w, name);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->echoMode(), QLineEdit::Password) << name;
        EXPECT_EQ(e->maxLength(), 12) << name;
        EXPECT_TRUE(e->text().isEmpty()) << name;
    }
    EXPECT_EQ(control<QPushButton>(w, "OK")->text(), "OK");
    EXPECT_EQ(control<QPushButton>(w, "CANCEL")->text(), "&Cancela");
    EXPECT_EQ(control<QPushButton>(w, "AJUDA")->text(), "&Ajuda");
    EXPECT_FALSE(control<QPushButton>(w, "CANCEL")->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(w->windowFlags() & Qt::WindowCloseButtonHint);

    EXPECT_FALSE(w->close());
    EXPECT_TRUE(window<TrocaSenha>("TrocaSenha"));
    EXPECT_FALSE(closed);

    press(w, "CANCEL");
    EXPECT_FALSE(window<TrocaSenha>("TrocaSenha"));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(ComponentTest, TrocaSenhaAjudaExplainsAndARefusalKeepsTheEntries) {
    TrocaSenha::start(zuk);
    auto* w = window<TrocaSenha>("TrocaSenha");
    ASSERT_TRUE(w);
    press(w, "AJUDA");
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].caption, "Aviso");
    EXPECT_EQ(box.shown[0].icon, Icon::Asterisk);
    EXPECT_EQ(box.shown[0].text, TrocaSenha::explanation().text);
    EXPECT_EQ(box.shown[0].text.rfind("ATENÇÃO:|Você acaba de trocar a Senha", 0), 0u);

    struct Case {
        const char *current, *typed, *repeated;
        PasswordChange result;
    } refusals[] = {
        {"errada", "Nova", "Nova", PasswordChange::WrongCurrent},
        {"ZUK", "Nova", "Novo", PasswordChange::RepetitionDiffers},
        {"ZUK", "", "", PasswordChange::EmptyNew},
    };
    for (const Case& c : refusals) {
        SCOPED_TRACE(passwordChangeText(c.result));
        box.shown.clear();
        type(w, "OLDPASSWORD", c.current);
        type(w, "NEWPASSWORD", c.typed);
        type(w, "VERIFYPASSWORD", c.repeated);
        press(w, "OK");
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(box.shown[0].text, passwordChangeText(c.result));
        ASSERT_EQ(window<TrocaSenha>("TrocaSenha"), w);
        EXPECT_EQ(control<QLineEdit>(w, "OLDPASSWORD")->text(), c.current);
        EXPECT_EQ(control<QLineEdit>(w, "NEWPASSWORD")->text(), c.typed);
        EXPECT_EQ(control<QLineEdit>(w, "VERIFYPASSWORD")->text(), c.repeated);
    }
    EXPECT_NE(ds_LoginText("", "ZUK", "ZUK", 33088), 0); // nothing changed
}

TEST_F(ComponentTest, TrocaSenhaChangesThePasswordExplainsAndCloses) {
    bool closed = false;
    TrocaSenha::start(zuk, nullptr, [&] { closed = true; });
    auto* w = window<TrocaSenha>("TrocaSenha");
    ASSERT_TRUE(w);
    type(w, "OLDPASSWORD", "ZUK");
    type(w, "NEWPASSWORD", "Segredo1");
    type(w, "VERIFYPASSWORD", "Segredo1");
    press(w, "OK");
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, TrocaSenha::explanation().text);
    EXPECT_FALSE(window<TrocaSenha>("TrocaSenha"));
    EXPECT_TRUE(closed);
    EXPECT_EQ(ds_LoginText("", "ZUK", "ZUK", 33088), 0);
    EXPECT_NE(ds_LoginText("", "ZUK", "Segredo1", 33088), 0);
}

TEST_F(ComponentTest, TheLockScreenCoversTheFrameAndOnlyThePasswordOpensIt) {
    QWidget frame;
    frame.setGeometry(40, 50, 500, 400);
    frame.show();
    int unlocked = 0;
    ds_LockScreen(
        zuk, [&] { ++unlocked; }, &frame);
    auto* lock = window<LockScreen>("BloqueiaTela");
    ASSERT_TRUE(lock);
    EXPECT_EQ(lock->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(QApplication::activeModalWidget(), lock);
    EXPECT_EQ(lock->geometry(), frame.frameGeometry());
    frame.resize(600, 450);
    EXPECT_EQ(lock->geometry(), frame.frameGeometry());

    EXPECT_FALSE(lock->close());
    key(lock, Qt::Key_Escape);
    for (const char* wrong : {"", "zuk", "ZUK1"}) {
        type(lock, "SENHA", wrong);
        press(lock, "DESBLOQUEIA");
    }
    ASSERT_EQ(box.shown.size(), 3u);
    EXPECT_EQ(box.shown[0].text, "Senha incorreta. A tela continua bloqueada.");
    ASSERT_EQ(window<LockScreen>("BloqueiaTela"), lock);
    EXPECT_EQ(unlocked, 0);

    type(lock, "SENHA", "ZUK");
    key(control<QLineEdit>(lock, "SENHA"), Qt::Key_Return);
    EXPECT_EQ(unlocked, 1);
    EXPECT_FALSE(window<LockScreen>("BloqueiaTela"));
    EXPECT_EQ(box.shown.size(), 3u);
}

TEST_F(ComponentTest, TheLoginChangeLogsTheOtherUserInUnderTheSameHandle) {
    ASSERT_TRUE(component().addUser(zuk, "ANA", "Ana Lima", false).ok());
    std::vector<bool> results;
    auto done = [&](bool changed) { results.push_back(changed); };

    ds_ChangeLoginEx(zuk, "", "", 0, 0, 0, 0, done);
    auto* w = window<LoginChangeWindow>("AlteraLogin");
    ASSERT_TRUE(w);
    type(w, "LOGIN", "ANA");
    type(w, "SENHA", "errada");
    press(w, "OK");
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "Login ou senha inválidos.");
    EXPECT_EQ(window<LoginChangeWindow>("AlteraLogin"), w);
    EXPECT_TRUE(results.empty());
    type(w, "SENHA", "ANA");
    press(w, "OK");
    EXPECT_EQ(results, std::vector<bool>{true});
    EXPECT_EQ(ds_CurrentName(zuk), "Ana Lima");
    EXPECT_EQ(ds_Allowed(zuk, "Main", 0), 0u);

    ds_ChangeLoginEx(zuk, "ZUK", "ZUK", 0, 0, 0, 0, done);
    w = window<LoginChangeWindow>("AlteraLogin");
    ASSERT_TRUE(w);
    press(w, "CANCELA");
    EXPECT_EQ(results, (std::vector<bool>{true, false}));
    EXPECT_EQ(ds_CurrentName(zuk), "Ana Lima");
}

TEST_F(ComponentTest, AdministratorWindowsTellOthersAccessIsRestricted) {
    ASSERT_TRUE(component().addUser(zuk, "ANA", "Ana", false).ok());
    Handle ana = ds_LoginText("", "ANA", "ANA", 33088);
    ASSERT_NE(ana, 0);
    ds_SetAccess(ana, "Main", "Access|Cadastros", nullptr);
    ds_operatorbrowse(ana);
    ASSERT_EQ(box.shown.size(), 2u);
    for (const Message& m : box.shown) {
        EXPECT_EQ(m.text, accessRestrictedMessage().text);
        EXPECT_EQ(m.caption, "KVELT | Menu Principal");
    }
    EXPECT_FALSE(window<RightsEditor>("DireitosDeAcesso"));
    EXPECT_FALSE(window<UserBrowse>("PesquisaUsuarios"));
    box.shown.clear();
    ds_SecurityMessage("AccessRestricted");
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].icon, Icon::Hand);
}

TEST_F(ComponentTest, TheRightsEditorSavesTheBoxesOfOrdinaryUsers) {
    auto ana = component().addUser(zuk, "ANA", "Ana", false);
    ASSERT_TRUE(ana.ok());
    ASSERT_TRUE(component().changeRights(zuk, "Main", {{ana->id, 2 | 16, 0}}).ok());
    std::string rights = "Access|Cadastros|Relatórios|Exclusão de lançamen" + std::string(28, '|');
    ds_SetAccess(zuk, "Main", rights, nullptr);
    auto* w = window<RightsEditor>("DireitosDeAcesso");
    ASSERT_TRUE(w);
    auto* table = control<QTableWidget>(w, "DIREITOS");
    ASSERT_EQ(table->rowCount(), 2);
    ASSERT_EQ(table->columnCount(), 2 + 4);
    EXPECT_EQ(table->horizontalHeaderItem(4)->text(), "Relatórios");
    ASSERT_EQ(table->item(0, 0)->text(), "ANA");
    ASSERT_EQ(table->item(1, 0)->text(), "ZUK");
    for (int c = 2; c < 6; ++c) {
        EXPECT_EQ(table->item(0, c)->checkState(), c == 3 ? Qt::Checked : Qt::Unchecked);
        EXPECT_EQ(table->item(1, c)->checkState(), Qt::Checked); // the administrator
        EXPECT_FALSE(table->item(1, c)->flags() & Qt::ItemIsEnabled);
    }
    table->item(0, 2)->setCheckState(Qt::Checked);   // Access
    table->item(0, 3)->setCheckState(Qt::Unchecked); // Cadastros
    table->item(0, 4)->setCheckState(Qt::Checked);   // Relatórios
    press(w, "GRAVA");
    EXPECT_FALSE(window<RightsEditor>("DireitosDeAcesso"));
    // Bit 4 has no name in the area: the editor leaves it as it was.
    EXPECT_EQ((*component().rights(zuk, "Main"))[ana->id], 1u | 4u | 16u);
}

TEST_F(ComponentTest, TheUserBrowseAddsAndDeletesUsers) {
    ds_operatorbrowse(zuk);
    auto* browse = window<UserBrowse>("PesquisaUsuarios");
    ASSERT_TRUE(browse);
    auto* table = control<QTableWidget>(browse, "USUARIOS");
    ASSERT_EQ(table->rowCount(), 1);

    press(browse, "INCLUIR");
    auto* form = window<QDialog>("CadastraUsuario");
    ASSERT_TRUE(form);
    type(form, "LOGIN", "ZUK");
    type(form, "NOME", "Repetido");
    press(form, "OK");
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "Já existe um usuário com o login ZUK.");
    ASSERT_EQ(window<QDialog>("CadastraUsuario"), form);
    type(form, "LOGIN", "BETO");
    type(form, "NOME", "Beto Souza");
    control<QCheckBox>(form, "ADMINISTRADOR")->setChecked(true);
    press(form, "OK");
    EXPECT_FALSE(window<QDialog>("CadastraUsuario"));
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 0)->text(), "BETO");
    EXPECT_EQ(table->item(0, 2)->text(), "Sim");
    EXPECT_EQ(table->selectionModel()->selectedRows().value(0).row(), 0);

    // Deleting yourself is refused; deleting Beto asks first.
    box.shown.clear();
    table->selectRow(1);
    box.answer(button::Ok);
    key(browse, Qt::Key_Delete);
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[0].caption, "Confirmação de Exclusão");
    EXPECT_EQ(box.shown[1].text, "Você não pode excluir o seu próprio usuário.");
    table->selectRow(0);
    box.answer(button::Cancel);
    press(browse, "EXCLUIR");
    EXPECT_EQ(table->rowCount(), 2);
    box.answer(button::Ok);
    press(browse, "EXCLUIR");
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->item(0, 0)->text(), "ZUK");
    EXPECT_EQ(ds_LoginText("", "BETO", "BETO", 33088), 0);
}
