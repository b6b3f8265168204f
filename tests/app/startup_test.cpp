// The program's start-up, login and frame, driven through their real windows offscreen.
#include "app/acesso_rapido.h"
#include "app/avisa_backup.h"
#include "app/data_path_manager.h"
#include "app/main_frame.h"
#include "app/screen_catalog.h"
#include "app/select_path.h"
#include "app/session.h"
#include "app/splash_login.h"
#include "app/startup.h"
#include "data/file_routines.h"
#include "data/files.h"
#include "data/globals.h"
#include "data/ini.h"
#include "platform/single_instance.h"
#include "screens/filtra_movimento.h"
#include "screens/postings.h"
#include "security/component.h"
#include "support/child_process.h"
#include "support/scripted_messages.h"
#include "support/work_folder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <filesystem>

using namespace saldora;
using saldora::testing::ScriptedMessages;
using saldora::testing::WorkFolder;
namespace fs = std::filesystem;

namespace {

// One run of the program in a fresh program folder, with a scripted message box and the
// quickest password hashing.
struct Program {
    WorkFolder folder;
    ScriptedMessages box;
    std::optional<int> exitCode;
    bool shift = false;

    Program() {
        security::Security::Options o;
        o.limits = security::HashLimits::minimum();
        security::installComponent(o);
        globals() = Globals{};
    }
    ~Program() {
        for (QWidget* w : QApplication::topLevelWidgets()) w->deleteLater();
        QApplication::processEvents();
        security::Security::Options quick;
        quick.limits = security::HashLimits::minimum();
        security::installComponent(quick);
    }

    void start() {
        app::startProgram({(folder.path() / "saldora").string(),
                           [this](int code) { exitCode = code; }, &box, [this] { return shift; }});
        QApplication::processEvents();
    }

    template <class W> W* window() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) return found;
        return nullptr;
    }
    // Waits (running the event loop) until the condition holds; false after the timeout.
    bool waitFor(const std::function<bool()>& condition, int ms = 5000) {
        QElapsedTimer t;
        t.start();
        while (!condition()) {
            if (t.elapsed() > ms) return false;
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }
    std::string file(const std::string& name) { return WorkFolder::contents(folder.path() / name); }
    bool exists(const std::string& name) { return fs::exists(folder.path() / name); }

    void preserved(const std::string& defaultPath, int setDefault) {
        ASSERT_TRUE(ini::write("./KVELT.INI", "Preserved", "GLO:DefaultPath", defaultPath).ok());
        ASSERT_TRUE(ini::write("./KVELT.INI", "Preserved", "GLO:SetDefaultPath",
                               std::to_string(setDefault)).ok());
    }

    void login(const char* user, const char* password) {
        auto* w = window<app::SplashLogin>();
        ASSERT_NE(w, nullptr);
        auto* loginEntry = w->findChild<QLineEdit*>("GLO:Login");
        loginEntry->setFocus();
        QApplication::processEvents();
        loginEntry->setText(user);
        w->findChild<QLineEdit*>("GLO:Password")->setText(password);
        w->findChild<QPushButton*>("Ok")->click();
        QApplication::processEvents();
    }

    int count(const std::string& text) {
        int n = 0;
        for (const auto& m : box.shown) n += m.text == text;
        return n;
    }
};

const std::string kInvalid = "Login Inválido|Clique no botão Ajuda para obter mais informações";
const std::string kDenied = "Acesso Negado|Clique no botão Ajuda para obter mais informações";

} // namespace

TEST(Startup, FirstStartShowsTheDataLocationAndCancellingEndsWritingNothing) {
    Program p;
    p.start();
    auto* select = p.window<app::SelectPath>();
    ASSERT_NE(select, nullptr);
    select->findChild<QPushButton*>("Close")->click();
    ASSERT_TRUE(p.waitFor([&] { return p.exitCode.has_value(); }));
    EXPECT_EQ(*p.exitCode, 0);
    EXPECT_TRUE(p.box.shown.empty());
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(p.folder.path()))
        if (e.path().filename() != "config") left.push_back(e.path().filename().string());
    EXPECT_TRUE(left.empty()) << left.front();
}

TEST(Startup, AMissingDefaultFolderIsCreatedOnYesAndEndsSilentlyOnNo) {
    {
        Program p;
        p.preserved("./A/B/C", 1);
        p.box.answer(button::No);
        p.start();
        ASSERT_TRUE(p.exitCode.has_value());
        ASSERT_EQ(p.box.shown.size(), 1u);
        EXPECT_EQ(p.box.shown[0].text, "Caminho não encontrado, criar ?");
        EXPECT_EQ(p.box.shown[0].caption, "Atenção");
        EXPECT_FALSE(p.exists("A"));
    }
    {
        Program p;
        p.preserved("./A/B/C", 1);
        p.box.answer(button::Yes);
        p.start();
        EXPECT_TRUE(fs::is_directory(p.folder.path() / "A/B/C"));
        EXPECT_FALSE(p.exitCode.has_value());
        ASSERT_TRUE(p.waitFor([&] { return p.window<app::SplashLogin>() != nullptr; }));
        EXPECT_EQ(app::dataPathManager().dataFolderWithSlash(), "./A/B/C/");
        p.window<app::SplashLogin>()->findChild<QPushButton*>("Cancel")->click();
        ASSERT_TRUE(p.waitFor([&] { return p.exitCode.has_value(); }));
    }
}

TEST(Startup, WrongPasswordsGiveThreeInvalidsAndOneDenialPerWindowInAtMostThreeWindows) {
    Program p;
    fs::create_directory(p.folder.path() / "DADOS");
    p.preserved("./DADOS", 1);
    p.start();
    int windows = 0;
    while (windows <= 3 &&
           p.waitFor([&] { return p.exitCode || p.window<app::SplashLogin>() != nullptr; }) &&
           !p.exitCode) {
        ++windows;
        auto* w = p.window<app::SplashLogin>();
        for (int i = 0; i < 4 && p.window<app::SplashLogin>() == w; ++i) p.login("ZUK", "errada");
        ASSERT_TRUE(p.waitFor([&] { return p.window<app::SplashLogin>() != w; }));
    }
    ASSERT_TRUE(p.exitCode.has_value());
    EXPECT_EQ(windows, 3);
    EXPECT_EQ(p.count(kInvalid), 9);
    EXPECT_EQ(p.count(kDenied), 3);
    EXPECT_EQ(app::MainFrame::current(), nullptr);
}

TEST(Startup, TheFrameOpensForTheFirstUserAndItsClosingWritesTheSettingsFiles) {
    Program p;
    fs::create_directory(p.folder.path() / "DADOS");
    p.preserved("./DADOS", 1);
    p.start();
    ASSERT_TRUE(p.waitFor([&] { return p.window<app::SplashLogin>() != nullptr; }));
    p.login("zuk", "ZUK"); // the login in any case, the password as created
    ASSERT_TRUE(p.waitFor([&] { return app::MainFrame::current() != nullptr; }));
    app::MainFrame* frame = app::MainFrame::current();
    EXPECT_EQ(frame->windowTitle(), "Saldora  Versão  11.0010.01 Compilação 551  22/11/2023");
    EXPECT_EQ(app::session().userName, "Vexa");
    // The quick-access window opens with the frame; screens still to come are disabled.
    ASSERT_TRUE(p.waitFor([] { return app::AcessoRapido::openWindow() != nullptr; }));
    EXPECT_TRUE(frame->action("ACADASTROS2CONTAS")->isEnabled());
    EXPECT_FALSE(frame->action("ACADASTROS4FECHAMENTO")->isEnabled());
    EXPECT_TRUE(frame->action("SOBREOSISTEMA")->isEnabled());
    EXPECT_FALSE(frame->toolButton("TBARBRWTOP")->isEnabled());
    EXPECT_TRUE(frame->toolButton("BSETUP")->isEnabled());

    p.box.shown.clear();
    frame->action("SAIDASISTEMA")->trigger();
    ASSERT_TRUE(p.waitFor([&] { return p.window<app::AvisaBackup>() != nullptr; }));
    p.window<app::AvisaBackup>()->findChild<QPushButton*>("CancelButton")->click();
    ASSERT_TRUE(p.waitFor([&] { return p.exitCode.has_value(); }));
    EXPECT_FALSE(app::AvisaBackup::backupRequested());

    EXPECT_EQ(p.file("DUPLIX.INI"),
              "[Arquivo Zip]\r\nZipName=KVELT.ZIP\r\n[Sistema]\r\nNomeSistema=SALDORA\r\n");
    EXPECT_EQ(p.file("SETUP_"), "[Sistema]\r\nVersao= 11.0010.01\r\n");
    std::string kvelt = p.file("KVELT.INI");
    EXPECT_EQ(kvelt.rfind("[Preserved]\r\nGLO:DefaultPath=./DADOS\r\nGLO:SetDefaultPath=1\r\n", 0),
              0u)
        << kvelt;
    EXPECT_NE(kvelt.find("[Main]\r\nMaximize=No\r\nMinimize=No\r\n"), std::string::npos) << kvelt;
    EXPECT_EQ(ini::read("./preferences.ini", "0", "MessageHook", "?"), "?"); // tests' own box
}

TEST(Startup, ASecondCopyOnTheMachineIsTurnedAwayAtTheLogin) {
    platform::releaseSingleInstance("SALDORA"); // taken by the runs of the tests before
    saldora::testing::ChildProcess other(
        {std::string(SALDORA_BINARY_DIR) + "/tests/lock_holder", "SALDORA"});
    std::string line;
    ASSERT_TRUE(other.readLine(line));
    ASSERT_EQ(line, "locked");
    Program p;
    fs::create_directory(p.folder.path() / "DADOS");
    p.preserved("./DADOS", 1);
    p.start();
    ASSERT_TRUE(p.waitFor([&] { return p.exitCode.has_value(); }));
    ASSERT_EQ(p.box.shown.size(), 1u);
    EXPECT_EQ(p.box.shown[0].text,
              "Este programa já está ativo, provavelmente está minimizado. Portanto, não é "
              "necessário processá-lo outra vez.|Verifique.");
    EXPECT_EQ(p.box.shown[0].caption, "Aviso");
    EXPECT_EQ(app::MainFrame::current(), nullptr);
}

TEST(Startup, AUserWithoutTheMainRightIsTurnedAway) {
    Program p;
    fs::create_directory(p.folder.path() / "DADOS");
    security::setDataFolder("./DADOS");
    auto& c = security::component();
    ASSERT_TRUE(c.insertFirstUser("ZUK", "Vexa", "ZUK").ok());
    auto admin = c.login("ZUK", "ZUK");
    ASSERT_TRUE(admin.ok());
    ASSERT_TRUE(c.addUser(*admin, "JOAO", "João", false).ok());
    ASSERT_TRUE(c.registerArea("Main", app::kMainRights).ok());
    ASSERT_TRUE(c.registerArea("Acesso_rapido", app::kQuickAccessRights).ok());
    security::ds_Logout(*admin);

    p.preserved("./DADOS", 1);
    p.start();
    ASSERT_TRUE(p.waitFor([&] { return p.window<app::SplashLogin>() != nullptr; }));
    p.login("JOAO", "JOAO");
    ASSERT_TRUE(p.waitFor([&] { return p.exitCode.has_value(); }));
    EXPECT_EQ(app::MainFrame::current(), nullptr);
    ASSERT_FALSE(p.box.shown.empty());
    EXPECT_NE(p.box.shown.back().text.find("acesso"), std::string::npos) << p.box.shown.back().text;
}

TEST(Startup, ScreensStartedFromTheTreeCheckTheSameRightAsTheirMenuItem) {
    Program p;
    fs::create_directory(p.folder.path() / "DADOS");
    security::setDataFolder("./DADOS");
    auto& c = security::component();
    ASSERT_TRUE(c.insertFirstUser("ZUK", "Vexa", "ZUK").ok());
    auto admin = c.login("ZUK", "ZUK");
    ASSERT_TRUE(c.registerArea("Main", app::kMainRights).ok());
    ASSERT_TRUE(c.registerArea("Acesso_rapido", app::kQuickAccessRights).ok());
    auto joao = c.addUser(*admin, "JOAO", "João", false);
    ASSERT_TRUE(joao.ok());
    // Access to the frame and the tree, but not to the registers.
    ASSERT_TRUE(c.changeRights(*admin, "Main", {{joao->id, app::main_right::Access, 0}}).ok());
    ASSERT_TRUE(c.changeRights(*admin, "Acesso_rapido", {{joao->id, 1, 0}}).ok());
    security::ds_Logout(*admin);

    int started = 0;
    app::screens().setStarter(app::ScreenId::Accounts, [&] { ++started; });
    p.preserved("./DADOS", 1);
    p.start();
    ASSERT_TRUE(p.waitFor([&] { return p.window<app::SplashLogin>() != nullptr; }));
    p.login("JOAO", "JOAO");
    ASSERT_TRUE(p.waitFor([] { return app::AcessoRapido::openWindow() != nullptr; }));
    app::screens().setStarter(app::ScreenId::About, [&] { started += 10; });
    auto* tree = app::AcessoRapido::openWindow()->tree();
    auto line = [&](const QString& text) {
        auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.front();
    };
    ASSERT_NE(line("2-Contas"), nullptr);
    p.box.shown.clear();
    app::AcessoRapido::openWindow()->activate(line("2-Contas"));
    EXPECT_EQ(started, 0);
    ASSERT_EQ(p.box.shown.size(), 1u);
    EXPECT_NE(p.box.shown[0].text.find("Acesso restrito"), std::string::npos);
    app::AcessoRapido::openWindow()->activate(line("Sobre o Sistema"));
    EXPECT_EQ(started, 10);
    app::AcessoRapido::openWindow()->activate(line("A-Cadastros")); // no action
    EXPECT_EQ(started, 10);
    // The frame's menu is greyed the same way.
    auto* cadastros = app::MainFrame::current()->findChild<QMenu*>("ACADASTROS");
    ASSERT_NE(cadastros, nullptr);
    EXPECT_FALSE(cadastros->menuAction()->isEnabled());

    app::MainFrame::current()->exitProgram();
    ASSERT_TRUE(p.waitFor([&] { return p.window<app::AvisaBackup>() != nullptr; }));
    p.window<app::AvisaBackup>()->findChild<QPushButton*>("CancelButton")->click();
    ASSERT_TRUE(p.waitFor([&] { return p.exitCode.has_value(); }));
}

TEST(Startup, ShiftHeldAsTheFrameEndsOpensAnotherDataFolderAndTheCopierStartsOnYes) {
    Program p;
    fs::create_directory(p.folder.path() / "DADOS");
    p.preserved("./DADOS", 1);
    // A copier that notes it was started.
    WorkFolder::put(p.folder.path() / "Duplix.exe", "#!/bin/sh\ntouch copiado\n");
    fs::permissions(p.folder.path() / "Duplix.exe", fs::perms::owner_all);
    p.start();
    ASSERT_TRUE(p.waitFor([&] { return p.window<app::SplashLogin>() != nullptr; }));
    p.login("ZUK", "ZUK");
    ASSERT_TRUE(p.waitFor([&] { return app::MainFrame::current() != nullptr; }));

    p.shift = true;
    app::MainFrame::current()->exitProgram();
    ASSERT_TRUE(p.waitFor([&] { return p.window<app::AvisaBackup>() != nullptr; }));
    p.window<app::AvisaBackup>()->findChild<QPushButton*>("OkButton")->click();
    ASSERT_TRUE(p.waitFor([&] { return p.window<app::SelectPath>() != nullptr; }));
    EXPECT_TRUE(app::AvisaBackup::backupRequested());
    ASSERT_TRUE(p.waitFor([&] { return p.exists("copiado"); }));

    // Another folder: the login and the frame again, on it.
    auto* select = p.window<app::SelectPath>();
    select->findChild<QPushButton*>("Insert")->click();
    auto* form = select->openChildScreen();
    ASSERT_NE(form, nullptr);
    form->findChild<QLineEdit*>("PAT:PATH")->setText("./OUTROS");
    form->findChild<QPushButton*>("OK")->click();
    QApplication::processEvents();
    p.box.answer(button::Yes); // create ./OUTROS
    select->findChild<QPushButton*>("Select")->click();
    ASSERT_TRUE(p.waitFor([&] { return p.window<app::SplashLogin>() != nullptr; }));
    EXPECT_EQ(app::dataPathManager().dataFolderWithSlash(), "./OUTROS/");
    p.shift = false;
    p.login("ZUK", "ZUK"); // a new folder: its own first user
    ASSERT_TRUE(p.waitFor([&] { return app::MainFrame::current() != nullptr; }));
    EXPECT_TRUE(fs::exists(p.folder.path() / "OUTROS/USUARIO.sld"));
    app::MainFrame::current()->exitProgram();
    ASSERT_TRUE(p.waitFor([&] { return p.window<app::AvisaBackup>() != nullptr; }));
    p.window<app::AvisaBackup>()->findChild<QPushButton*>("CancelButton")->click();
    ASSERT_TRUE(p.waitFor([&] { return p.exitCode.has_value(); }));
}

TEST(Startup, MovimentoOpensThePostingCriteriaAndHoldsTheStatementWhileTheyStand) {
    Program p;
    fs::create_directory(p.folder.path() / "DADOS");
    {
        DataFile cadfil1(files::layouts::cadfil1());
        cadfil1.setLocation((p.folder.path() / "DADOS").string());
        OpenDataFile(cadfil1);
        files::Cadfil1 c;
        c.codfil = "ALFA";
        c.descricao = "Padaria Alfa";
        auto r = *toRecord(c);
        ASSERT_TRUE(cadfil1.db().add(r).ok());
        CloseDataFile(cadfil1);
    }
    p.preserved("./DADOS", 1);
    p.start();
    ASSERT_TRUE(p.waitFor([&] { return p.window<app::SplashLogin>() != nullptr; }));
    p.login("ZUK", "ZUK");
    ASSERT_TRUE(p.waitFor([&] { return app::MainFrame::current() != nullptr; }));
    app::MainFrame* frame = app::MainFrame::current();
    ASSERT_TRUE(frame->action("ACADASTROS3MOVIMENTO")->isEnabled());

    frame->action("ACADASTROS3MOVIMENTO")->trigger();
    auto* criteria = frame->findChild<screens::FiltraMovimento*>();
    ASSERT_NE(criteria, nullptr);
    EXPECT_TRUE(app::screens().held(app::ScreenId::Statement));
    EXPECT_FALSE(frame->action("CRELATORIOS3SALDORA")->isEnabled());

    // The posting browse takes the frame's navigation and holds its other tools.
    criteria->findChild<QLineEdit*>("Cliente1")->setText("ALFA");
    criteria->findChild<QPushButton*>("OkButton")->click();
    ASSERT_TRUE(p.waitFor([&] { return frame->findChild<screens::PesquisaMovimento*>() != nullptr; }));
    auto* browse = frame->findChild<screens::PesquisaMovimento*>();
    ASSERT_TRUE(p.waitFor([&] { return frame->toolButton("TBARBRWINSERT")->isEnabled(); }));
    EXPECT_FALSE(frame->toolButton("BSETUP")->isEnabled());
    EXPECT_FALSE(frame->toolButton("TBARBRWCHANGE")->isEnabled()); // nothing listed yet

    // The form's save-and-move buttons say what they do.
    frame->toolButton("TBARBRWINSERT")->click();
    ASSERT_TRUE(p.waitFor([&] { return browse->openChildScreen() != nullptr; }));
    ASSERT_TRUE(p.waitFor([&] { return frame->toolButton("BSETUP")->isEnabled(); }));
    EXPECT_EQ(frame->toolButton("TBARBRWINSERT")->toolTip(), "Grava registro e inclui outro");
    EXPECT_FALSE(frame->toolButton("TBARBRWTOP")->isEnabled());
    browse->openChildScreen()->finish(ui::result::Cancelled);
    browse->findChild<QPushButton*>("Close")->click();
    criteria->findChild<QPushButton*>("Cancel")->click();
    ASSERT_TRUE(p.waitFor([&] { return !app::screens().held(app::ScreenId::Statement); }));
    EXPECT_EQ(frame->toolButton("TBARBRWINSERT")->toolTip(), "Inclua um Novo Registro    ");

    frame->exitProgram();
    ASSERT_TRUE(p.waitFor([&] { return p.window<app::AvisaBackup>() != nullptr; }));
    p.window<app::AvisaBackup>()->findChild<QPushButton*>("CancelButton")->click();
    ASSERT_TRUE(p.waitFor([&] { return p.exitCode.has_value(); }));
}
