#include "app/main_frame.h"

#include "app/about_window.h"
#include "app/acesso_rapido.h"
#include "app/avisa_backup.h"
#include "app/data_files.h"
#include "app/data_path_manager.h"
#include "app/program_setup.h"
#include "app/session.h"
#include "app/splash_login.h"
#include "app/version.h"
#include "data/file_names.h"
#include "data/files.h"
#include "data/globals.h"
#include "data/ini.h"
#include "data/settings_keys.h"
#include "messages/screen_font.h"
#include "platform/display_mode.h"
#include "platform/programs.h"
#include "screens/company_data.h"
#include "screens/filtra_movimento.h"
#include "screens/postings.h"
#include "screens/registers.h"
#include "security/component.h"
#include "security/troca_senha.h"
#include "ui/pictures.h"
#include "ui/screen.h"
#include "ui/window_state.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QStyle>
#include <QDesktopServices>
#include <QKeySequence>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QShortcut>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace saldora::app {
namespace {

MainFrame* gFrame = nullptr;

std::string caption() {
    return std::string(version::kTitle) + "  Versão " + version::text() + " Compilação " +
           std::to_string(version::kBuild) + "  " + version::kDate;
}

std::string backgroundVersion() {
    return "Versão " + version::paddedText() + " Compilação " + std::to_string(version::kBuild) +
           "  " + version::kDate;
}

// Edit commands go to the control with the focus.
void editCommand(const char* slot) {
    if (QWidget* w = QApplication::focusWidget()) QMetaObject::invokeMethod(w, slot);
}

void openHelpFile() {
    std::string file = file_names::resolveIn(".", "SALDORA.HLP");
    if (QFileInfo::exists(QString::fromStdString(file)))
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file)));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Workspace

Workspace::Workspace(QWidget* parent) : QMdiArea(parent) {
    setObjectName("Workspace");
    setWallpaper({});
}

void Workspace::setWallpaper(const QString& file) {
    QString name = file.isEmpty() ? QStringLiteral("TelaDeFundo.jpg") : file;
    wallpaper_ = ui::programPicture(name.toStdString());
    if (wallpaper_.isNull() && !file.isEmpty()) wallpaper_ = QPixmap(file);
    setBackground(wallpaper_.isNull() ? QBrush(QColor(0, 64, 128)) : QBrush(wallpaper_));
    viewport()->update();
}

void Workspace::paintEvent(QPaintEvent* event) {
    QMdiArea::paintEvent(event);
    QPainter p(viewport());
    p.setRenderHint(QPainter::TextAntialiasing);
    auto drawText = [&](const QString& text, const QFont& font, int y) {
        p.setFont(font);
        QRect r(0, y, viewport()->width(), QFontMetrics(font).height() + 4);
        p.setPen(QColor(0xC0, 0xC0, 0xC0)); // silver, a step behind
        p.drawText(r.translated(2, 2), Qt::AlignHCenter | Qt::AlignTop, text);
        p.setPen(Qt::white);
        p.drawText(r, Qt::AlignHCenter | Qt::AlignTop, text);
    };
    QFont title("Verdana", 30);
    QFont sub("Verdana", 20);
    int y = viewport()->height() / 3;
    drawText(QString::fromUtf8(version::kTitle), title, y);
    drawText(QString::fromStdString(backgroundVersion()), sub, y + QFontMetrics(title).height() + 8);
}

// ---------------------------------------------------------------------------------------------
// The login loop

MainFrame* MainFrame::current() { return gFrame; }

void MainFrame::run(std::function<void()> ended) { loginAttempt(1, std::move(ended)); }

void MainFrame::loginAttempt(int attempt, std::function<void()> ended) {
    SplashLogin::run([attempt, ended] {
        auto& g = globals();
        if (g.login.empty() || g.password.empty()) {
            ended();
            return;
        }
        auto handle = security::ds_LoginText(kSecurityCaption, g.login, g.password, 33088);
        if (handle != 0) {
            session().handle = handle;
            loggedIn(ended);
            return;
        }
        g.password.clear();
        if (attempt < 3) loginAttempt(attempt + 1, ended);
        else ended();
    });
}

void MainFrame::loggedIn(std::function<void()> ended) {
    // No super-user login is built into the program: administrators hold every right.
    // The areas' right names are known to the rights editor from the first login on.
    (void)security::component().registerArea("Main", kMainRights);
    (void)security::component().registerArea("Acesso_rapido", kQuickAccessRights);
    if (!(security::ds_Allowed(session().handle, "Main", 0) & main_right::Access)) {
        security::ds_SecurityMessage("AccessRestricted");
        security::ds_Logout(session().handle);
        session().handle = 0;
        ended();
        return;
    }
    session().userName = security::ds_CurrentName(session().handle);
    auto* frame = new MainFrame(std::move(ended));
    frame->open();
}

// ---------------------------------------------------------------------------------------------
// Opening

MainFrame::MainFrame(std::function<void()> ended) : ended_(std::move(ended)) {
    gFrame = this;
    setObjectName("Main");
    setAttribute(Qt::WA_DeleteOnClose);
    workspace_ = new Workspace(this);
    setCentralWidget(workspace_);
    ui::setWorkspace(workspace_);
    connect(workspace_, &QMdiArea::subWindowActivated, this, [this] { refreshNavigation(); });
}

MainFrame::~MainFrame() {
    if (gFrame == this) gFrame = nullptr;
    ui::setWorkspace(nullptr);
}

void MainFrame::open() {
    OpenDataFile(dataFiles().usuario);
    auto& font = message_box::screenFont();
    message_box::loadScreenFont(font);
    message_box::applyScreenFont(*this, font);

    setWindowTitle(QString::fromStdString(caption()));
    setWindowIcon(ui::programIcon("kvelt.ico"));
    registerScreens();
    buildMenus();
    buildToolbar();

    std::string wallpaper = ini::read(settings::wallpaper::file, settings::wallpaper::picture);
    globals().meuPapelParede = wallpaper;
    workspace_->setWallpaper(QString::fromStdString(wallpaper));

    // No close command: only the exit item and the notification-area menu close the frame.
    setWindowFlag(Qt::WindowCloseButtonHint, false);

    auto* status = statusBar();
    auto* help = new QLabel("F1=Ajuda", status);
    help->setObjectName("StatusHelp");
    dataFolderLabel_ = new QLabel(status);
    dataFolderLabel_->setObjectName("StatusDataFolder");
    dataFolderLabel_->setText(QString::fromStdString("Usando base de dados em: " +
                                                     dataPathManager().dataFolderWithSlash()));
    status->addWidget(help);
    status->addWidget(dataFolderLabel_, 1);

    auto* rights = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F8), this);
    connect(rights, &QShortcut::activated, this, [this] {
        security::ds_SetAccess(session().handle, "Main", kMainRights, this);
    });

    resize(1024, 720);
    ui::WindowState state = ui::readWindowState(settings::window::main);
    ui::applyState(this, state, true);
    if (!state.maximized && !state.minimized) show();
    buildTray();

    // The last company record decides Enter-as-Tab for every window opened from now on.
    globals().enterTab = 0;
    if (auto last = dataFiles().usuario.db().last(files::Usuario::table()); last && *last)
        globals().enterTab = fromRecord<files::Usuario>(**last).entertab;

    refreshRights();
    refreshNavigation();
    // The quick-access window opens with the frame, once the frame's window stands.
    QMetaObject::invokeMethod(this, [] { screens().start(ScreenId::QuickAccess); },
                              Qt::QueuedConnection);
}

QAction* MainFrame::item(QMenu* menu, const char* text, const char* name, const char* tip,
                         std::function<void()> act, const char* icon) {
    QAction* a = menu->addAction(QString::fromUtf8(text));
    a->setObjectName(name);
    if (tip) {
        a->setStatusTip(QString::fromUtf8(tip));
        a->setToolTip(QString::fromUtf8(tip));
    }
    if (icon) a->setIcon(ui::programIcon(icon));
    if (act) connect(a, &QAction::triggered, this, [this, act] {
        act();
        refreshRights();
    });
    else a->setEnabled(false);
    return a;
}

QAction* MainFrame::screenItem(QMenu* menu, const char* text, const char* name, const char* tip,
                               ScreenId id, const char* icon) {
    QAction* a = item(menu, text, name, tip, [id] { screens().start(id); }, icon);
    screenActions_[id] = a;
    return a;
}

void MainFrame::buildMenus() {
    QMenuBar* bar = menuBar();
    cadastros_ = bar->addMenu("&A-Cadastros");
    cadastros_->setObjectName("ACADASTROS");
    screenItem(cadastros_, "&0-Usuários", "USUARIOS", "Cadastro do usário do sistema",
               ScreenId::CompanyData);
    cadastros_->addSeparator();
    screenItem(cadastros_, "&1-Filiais/Clientes", "ACADASTROS1FILIAIS", "Cadastra filiais.",
               ScreenId::Clients, "Users.ico");
    screenItem(cadastros_, "&2-Contas", "ACADASTROS2CONTAS", "Cadastra Contas", ScreenId::Accounts);
    cadastros_->addSeparator();
    screenItem(cadastros_, "&3-Movimento", "ACADASTROS3MOVIMENTO",
               "Permite lançamentos de Entrada/Saída.", ScreenId::Postings);
    cadastros_->addSeparator();
    screenItem(cadastros_, "&4-Fechamento", "ACADASTROS4FECHAMENTO",
               "Saldos anteriores + lançamentos = 0", ScreenId::Closing);

    QMenu* edit = bar->addMenu("&B-Editar");
    edit->setObjectName("BEDITAR");
    item(edit, "C&ortar", "CUT", "Remove item para área de trasnferência do Windows",
         [] { editCommand("cut"); }, "EditCut.ico");
    item(edit, "&Copiar", "COPY", "Copia item para área de transferência do Windows",
         [] { editCommand("copy"); }, "EditCopy.ico");
    item(edit, "Co&lar", "PASTE", "Passa conteúdo da área de trabalho do Windows",
         [] { editCommand("paste"); }, "EditPaste.ico");

    relatorios_ = bar->addMenu("&C-Relatórios");
    relatorios_->setObjectName("CRELATORIOS");
    screenItem(relatorios_, "&0-Configuração da Impressora", "CRELATORIOS0CONFIGURACAODAIMPRESSORA",
               "Tipo de impressoa, tipo do papel, tamanho etc.", ScreenId::PrinterSetup,
               "print1.ico");
    relatorios_->addSeparator();
    screenItem(relatorios_, "&1-Relação de Filiais", "CRELATORIOS0RELACAODEFILIAIS",
               "Listagem das filiais.", ScreenId::ClientListing);
    screenItem(relatorios_, "&2-Relação de Contas", "CRELATORIOS2RELACAODECONTAS",
               "Listagem do plano de contas.", ScreenId::AccountListing);
    relatorios_->addSeparator();
    screenItem(relatorios_, "&3-Saldora", "CRELATORIOS3SALDORA", "Movimento de Saldora.",
               ScreenId::Statement);

    QMenu* outras = bar->addMenu("&D-Outras Rotinas");
    outras->setObjectName("DOUTRASROTINAS");
    exclusao_ = outras->addMenu("&1-Exclusão dos Lançamentos");
    exclusao_->menuAction()->setObjectName("DOUTRASROTINAS1EXCLUSAODOSLANCAMENTOS");
    screenItem(exclusao_, "&0-Geral", "1EXCLUSAODOSLANCAMENTOS0GERAL", "Exclui por período.",
               ScreenId::DeleteAll);
    screenItem(exclusao_, "&1-Individual", "1EXCLUSAODOSLANCAMENTOS1INDIVIDUAL",
               "Exclui por período e por cliente.", ScreenId::DeleteOne);
    outras->addSeparator();
    screenItem(outras, "&2-Meu Papel de Parede", "MEUPAPELDEPAREDE", nullptr, ScreenId::Wallpaper);
    outras->addSeparator();
    QMenu* styles = outras->addMenu("&X-Estilos de Menu");
    styles->menuAction()->setObjectName("MENUSTYLES");
    static const char* const kStyles[][2] = {
        {"WindowsClassic", "MENUSTYLESWINDOWSCLASSIC"},
        {"WindowsClassicLight", "MENUWINDOWSCLASSICLIGHT"},
        {"WindowsClassicLightWhite", "WINDOWSCLASSICLIGHTWHITE"},
        {"VistaBlack", "MENUSTYLESVISTABLACK"},
        {"VistaAero", "MENUSTYLESVISTAAERO"},
        {"VistaAeroWhite", "VISTAAEROWHITE"},
        {"Window2K", "MENUSTYLESWINDOW2K"},
        {"Luna Blue", "LUNABLUE"},
        {"Luna Blue Light", "MENUSTYLELUNABLUELIGHT"},
        {"Luna Green", "MENUSTYLESLUNAGREEN"},
        {"Luna Green Light", "MENUSTYLELUNAGREENLIGHT"},
        {"Luna Silver", "MENUSTYLESLUNASILVER"},
        {"XP Energy Blue", "MENUSTYLESXPENERGYBLUE"},
        {"Vista Energy Blue", "MENUSTYLEVISTAENERGYBLUE"},
        {"Energy Blue Light", "MENUSTYLEENERGYBLUELIGHT"},
        {"Baby Blue", "MENUSTYLESBABYBLUE"},
        {"Baby Blue White", "BABYBLUEWHITE"},
        {"Base on Windows Theme", "MENUSTYLESAUTOMATIC"},
        {"Base on Windows Theme No Bar", "MENUSTYLESAUTOMATICNOBAR"},
    };
    for (const auto& s : kStyles) item(styles, s[0], s[1], nullptr, nullptr); // menu styles: to come

    QMenu* window = bar->addMenu("&E-Window");
    window->setObjectName("EWINDOW");
    window->setToolTip("Create and Arrange windows");
    window->setToolTipsVisible(true);
    item(window, "&Lado a Lado", "LADO", "Torna todas as janelas visíveis",
         [this] { workspace_->tileSubWindows(); });
    item(window, "&Cascata", "CASCATA", "Sobrepõe todas as janelas abertas",
         [this] { workspace_->cascadeSubWindows(); });
    item(window, "&Reorganiza Ícones", "REORGANIZA", "Alinha todos os ícones do windows", [this] {
        int x = 0;
        for (QMdiSubWindow* w : workspace_->subWindowList())
            if (w->isMinimized()) {
                w->move(x, workspace_->viewport()->height() - w->height());
                x += w->width();
            }
    });

    QMenu* saida = bar->addMenu("&F-Saída");
    saida->setObjectName("FSAIDA");
    screenItem(saida, "&3-Existe uma nova versão ?", "VERIFICAATUALIZACOES", nullptr,
               ScreenId::UpdateCheck, "ABOUT.ICO");
    saida->addSeparator();
    QMenu* exporta = saida->addMenu("&4-Exporta Cadastros");
    exporta->menuAction()->setObjectName("EXPORTACADASTROS");
    exporta->menuAction()->setStatusTip("Exporta Cadastros para arquivos TXT");
    screenItem(exporta, "&0-Clientes", "EXPORTACLIENTES", nullptr, ScreenId::ExportClients);
    saida->addSeparator();
    item(saida, "&9-Saída do Sistema", "SAIDASISTEMA", "Abandona o sistema",
         [this] { exitProgram(); }, "exitsign.ico");

    QMenu* ajuda = bar->addMenu("&G-Ajuda");
    ajuda->setObjectName("GAJUDA");
    ajuda->setToolTip("Ajuda do windows");
    item(ajuda, "&Conteúdo", "HELPINDEX", "Ver o conteúdo do arquivo de ajuda", openHelpFile);
    item(ajuda, "&Pesquisa Ajuda em...", "HELPSEARCH", "Pesquisa ajuda sobre um assunto",
         openHelpFile);
    item(ajuda, "C&omo Usar a Ajuda", "HELPONHELP", "Como usar a ajuda do windows", openHelpFile);
    ajuda->addSeparator();
    screenItem(ajuda, "&Sobre o Sistema", "SOBREOSISTEMA", nullptr, ScreenId::About);

    QMenu* seguranca = bar->addMenu("&H-Segurança");
    seguranca->setObjectName("HSEGURANCA");
    screenItem(seguranca, "&0-Pesquisa Usuários", "SECURITYBROWSEUSERS", nullptr, ScreenId::Users);
    screenItem(seguranca, "&1-Altera Senha", "SECURITYCHANGEPASSWORD", nullptr,
               ScreenId::ChangePassword);
    screenItem(seguranca, "&2-Bloqueia Tela", "SECURITYLOCKSCREEN", nullptr, ScreenId::LockScreen);
    screenItem(seguranca, "&3-Altera Login", "SECURITYCHANGELOGIN", nullptr, ScreenId::ChangeLogin);
    seguranca->addSeparator();
    screenItem(seguranca, "&4-Quem está conectado...", "QUEMESTACONECTADO",
               "Mostra os usuários conectados agora.", ScreenId::WhoIsOn);
}

void MainFrame::buildToolbar() {
    QToolBar* bar = addToolBar("Ferramentas");
    bar->setObjectName("Toolbar");
    bar->setMovable(false);
    struct Nav {
        int control;
        const char *name, *tip;
        QStyle::StandardPixmap icon;
    };
    const Nav nav[] = {
        {ui::nav::Top, "TBARBRWTOP", "Vá para a Primeira Página", QStyle::SP_MediaSkipBackward},
        {ui::nav::PageUp, "TBARBRWPAGEUP", "Vá para a Página Anterior", QStyle::SP_MediaSeekBackward},
        {ui::nav::Up, "TBARBRWUP", "Vá para o Registro Anterior", QStyle::SP_ArrowUp},
        {ui::nav::Locate, "TBARBRWLOCATE", "Localize o Registro", QStyle::SP_FileDialogContentsView},
        {ui::nav::Down, "TBARBRWDOWN", "Vá para o Próximo Registro", QStyle::SP_ArrowDown},
        {ui::nav::PageDown, "TBARBRWPAGEDOWN", "Vá para a Próxima Página", QStyle::SP_MediaSeekForward},
        {ui::nav::Bottom, "TBARBRWBOTTOM", "Vá para a Última Página", QStyle::SP_MediaSkipForward},
        {ui::nav::Select, "TBARBRWSELECT", "Selecione este Registro", QStyle::SP_DialogApplyButton},
        {ui::nav::Insert, "TBARBRWINSERT", "Inclua um Novo Registro    ", QStyle::SP_FileIcon},
        {ui::nav::Change, "TBARBRWCHANGE", "Recupere este Registro", QStyle::SP_FileDialogDetailedView},
        {ui::nav::Delete, "TBARBRWDELETE", "Exclua este Registro", QStyle::SP_TrashIcon},
        {ui::nav::History, "TBARBRWHISTORY", "Valor Anterior", QStyle::SP_BrowserReload},
        {ui::nav::Help, "TBARBRWHELP", "Ajuda", QStyle::SP_DialogHelpButton},
    };
    for (const auto& n : nav) {
        auto* b = new QToolButton(bar);
        b->setObjectName(n.name);
        b->setToolTip(QString::fromUtf8(n.tip));
        b->setProperty("designTip", b->toolTip());
        b->setIcon(style()->standardIcon(n.icon));
        int control = n.control;
        connect(b, &QToolButton::clicked, this, [this, control] {
            // The button acts on the active screen's own list or form.
            if (QMdiSubWindow* w = workspace_->activeSubWindow())
                if (auto* s = qobject_cast<ui::Screen*>(w->widget()))
                    if (s->takesNavigation(control)) s->navigate(control);
            refreshNavigation();
        });
        bar->addWidget(b);
        navigation_[control] = b;
    }
    bar->addSeparator();
    struct Tool {
        const char *text, *name, *tip;
        std::function<void()> act;
        ScreenId id;
    };
    auto tool = [&](const char* text, const char* name, const char* tip, ScreenId id,
                    const char* icon = nullptr) {
        auto* b = new QToolButton(bar);
        b->setObjectName(name);
        b->setText(QString::fromUtf8(text));
        if (tip) b->setToolTip(QString::fromUtf8(tip));
        if (icon) b->setIcon(ui::programIcon(icon));
        b->setToolButtonStyle(icon ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly);
        b->setEnabled(screens().exists(id));
        connect(b, &QToolButton::clicked, this, [this, id] {
            screens().start(id);
            refreshRights();
        });
        bar->addWidget(b);
        tools_.emplace_back(b, [id] { return screens().exists(id); });
        return b;
    };
    tool("Calculadora", "CALCULADORA", "Calculadora", ScreenId::Calculator, "calculadora.ico");
    auto* help = new QToolButton(bar);
    help->setObjectName("AJUDASISTEMA");
    help->setText("Ajuda do Sistema");
    help->setToolTip("Orientação sobre o uso dos sistema");
    help->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    connect(help, &QToolButton::clicked, this, openHelpFile); // as F1
    bar->addWidget(help);
    tools_.emplace_back(help, [] { return true; });
    tool("Temas", "TEMAS", "Estilos", ScreenId::Themes, "temas.ico");
    tool("Agenda", "AGENDA", "Agenda", ScreenId::Agenda, "agenda.ico");
    tool("Seleciona Fonte das Telas do Sistema", "FONTES", "Seleciona Fonte das Telas do Sistema",
         ScreenId::Fonts, "fontes.ico");
    tool("Acesso Rápido", "ROTINAPRINCIPAL", nullptr, ScreenId::QuickAccess, "acesso.ico");
    tool("Parâmetros dos dados", "BSETUP", nullptr, ScreenId::DataParameters, "setup.ico");
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, openHelpFile);
}

void MainFrame::buildTray() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    tray_ = new QSystemTrayIcon(ui::programIcon("saldora.ico"), this);
    tray_->setToolTip("Saldora-Vexa");
    auto* menu = new QMenu(this);
    menu->addAction("Mostra", this, [this] {
        showNormal();
        raise();
        activateWindow();
    });
    menu->addAction("Esconde", this, [this] { hide(); });
    menu->addAction("Fecha", this, [this] { exitProgram(); });
    tray_->setContextMenu(menu);
    connect(tray_, &QSystemTrayIcon::activated, this, [menu](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger) menu->popup(QCursor::pos());
    });
    tray_->show();
}

void MainFrame::registerScreens() {
    auto& s = screens();
    s.setStarter(ScreenId::QuickAccess, [] { AcessoRapido::start(); });
    screens::setRegisterFiles(&dataFiles().tabmov1, &dataFiles().cadfil1);
    s.setStarter(ScreenId::Accounts, [] { screens::pesquisaContas()->open(); });
    s.setStarter(ScreenId::Clients, [] { screens::pesquisaFiliais()->open(); });
    screens::setPostingFiles(&dataFiles().cadmov1);
    s.setStarter(ScreenId::Postings, [] {
        // No statement while postings are being entered in this copy of the program.
        auto* criteria = new screens::FiltraMovimento;
        screens().hold(ScreenId::Statement, true);
        QObject::connect(criteria, &QObject::destroyed,
                         [] { screens().hold(ScreenId::Statement, false); });
        criteria->open();
    });
    s.setHoldChanged([this] { refreshRights(); });
    screens::setCompanyDataFile(&dataFiles().usuario);
    s.setStarter(ScreenId::CompanyData, [] { screens::pesquisaUsuarios()->open(); });
    s.setStarter(ScreenId::DataParameters, [] { (new ProgramSetup)->open(); });
    s.setStarter(ScreenId::About, [] { AboutWindow::start(); });
    s.setStarter(ScreenId::Calculator, [] { platform::startCalculator(); });
    s.setStarter(ScreenId::Agenda, [] { platform::startProgramIn(".", "Agenda.exe "); });
    s.setStarter(ScreenId::PrinterSetup, [this] {
        static QPrinter printer;
        auto* dialog = new QPageSetupDialog(&printer, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
    s.setStarter(ScreenId::Users, [this] { security::ds_operatorbrowse(session().handle, this); });
    s.setStarter(ScreenId::ChangePassword, [] { security::TrocaSenha::start(session().handle, MainFrame::current()); });
    s.setStarter(ScreenId::LockScreen,
                 [this] { security::ds_LockScreen(session().handle, {}, this); });
    s.setStarter(ScreenId::ChangeLogin, [this] { changeLogin(); });
    s.setStarter(ScreenId::WhoIsOn, [this] { security::ds_CurrentlyLoggedIn(0, 0, this); });
}

// ---------------------------------------------------------------------------------------------
// Rights

void MainFrame::refreshRights() {
    if (closing_) return;
    uint32_t rights = security::ds_Allowed(session().handle, "Main", 0);
    cadastros_->menuAction()->setEnabled(rights & main_right::Cadastros);
    relatorios_->menuAction()->setEnabled(rights & main_right::Relatorios);
    exclusao_->menuAction()->setEnabled(rights & main_right::Exclusao);
    for (auto& [id, action] : screenActions_) action->setEnabled(screens().available(id));
}

void MainFrame::refreshNavigation() {
    ui::Screen* active = nullptr;
    if (QMdiSubWindow* w = workspace_->activeSubWindow())
        active = qobject_cast<ui::Screen*>(w->widget());
    for (auto& [control, button] : navigation_) {
        button->setEnabled(active && active->isEnabled() && active->takesNavigation(control));
        QString tip = active ? active->navigationTip(control) : QString();
        button->setToolTip(tip.isEmpty() ? button->property("designTip").toString() : tip);
    }
    const bool held = active && active->holdsFrameTools();
    for (auto& [button, usable] : tools_) button->setEnabled(!held && usable());
}

bool MainFrame::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) refreshRights(); // rights changed meanwhile count
    return QMainWindow::event(e);
}

void MainFrame::changeLogin() {
    security::ds_ChangeLoginEx(session().handle, "", "", 0, 0, 0, 0, [this](bool changed) {
        if (!changed) return;
        if (!(security::ds_Allowed(session().handle, "Main", 0) & main_right::Access)) {
            security::ds_SecurityMessage("AccessRestricted");
            exitProgram();
            return;
        }
        session().userName = security::ds_CurrentName(session().handle);
        refreshRights();
        update();
    }, this);
}

// ---------------------------------------------------------------------------------------------
// Closing

void MainFrame::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        event->ignore(); // the frame closes only through its closing steps
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainFrame::exitProgram() {
    if (closing_) return;
    closing_ = true;
    if (displayWasSwitched()) platform::switchDisplay({640, 480});
    const std::string duplix = "./" + std::string(settings::duplix::fileName);
    (void)ini::write(duplix, settings::duplix::zipName, settings::duplix::zipNameValue);
    (void)ini::write(duplix, settings::duplix::systemName, settings::duplix::systemNameValue);
    (void)ini::write(settings::kvelt::file, settings::kvelt::defaultPath, globals().defaultPath);
    (void)ini::write(settings::kvelt::file, settings::kvelt::setDefaultPath,
                     std::to_string(globals().setDefaultPath));
    // The screens still open end with the frame.
    for (QMdiSubWindow* w : workspace_->subWindowList())
        if (auto* s = qobject_cast<ui::Screen*>(w->widget())) s->finish(ui::result::Cancelled);
    AvisaBackup::run([this](bool backup) { finishClosing(backup); });
}

void MainFrame::finishClosing(bool backupRequested) {
    CloseDataFile(dataFiles().usuario);
    if (backupRequested) platform::startProgramIn(".", "Duplix.exe");
    (void)ini::write("./" + std::string(settings::setup::fileName), settings::setup::version,
                     version::text());
    if (tray_) tray_->hide();
    ui::writeWindowState(settings::window::main, ui::stateOf(this), true);
    closed_ = true;
    ui::setWorkspace(nullptr);
    close();
    security::ds_Logout(session().handle);
    session().handle = 0;
    auto ended = std::move(ended_);
    if (ended) QMetaObject::invokeMethod(qApp, ended, Qt::QueuedConnection);
}

QAction* MainFrame::action(const QString& name) const { return findChild<QAction*>(name); }
QToolButton* MainFrame::toolButton(const QString& name) const {
    return findChild<QToolButton*>(name);
}

} // namespace saldora::app
