#include "app/splash_login.h"

#include "app/session.h"
#include "data/globals.h"
#include "data/message_service.h"
#include "data/settings_keys.h"
#include "data/text.h"
#include "platform/display_mode.h"
#include "platform/single_instance.h"
#include "platform/window_animation.h"
#include "security/component.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFormLayout>
#include <QFrame>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace saldora::app {
namespace {

constexpr const char* kHint = "Login: ZUK e Senha: ZUK, ambos em maiúsculas";
bool gFirstOpening = true;
bool gDisplaySwitched = false;

void tell(const std::string& text) {
    messages().show(Message::withButtons(text, "Aviso", Icon::Exclamation, button::Ok));
}

// The 640 × 480 question; the frame puts the display back when it closes.
void offerResolution() {
    auto size = platform::displaySize();
    if (!size || !(*size == platform::DisplaySize{640, 480})) return;
    int answer = messages().show(Message::withButtons(
        "O programa vai mudar a resolução do seu monitor para 800 x 600. Ao encerrar, a "
        "configuração original será restaurada||  Continua?",
        "Modifica Resolução do Vídeo", Icon::Question, button::Yes | button::No, button::Yes));
    if (answer != button::Yes) return;
    switch (platform::switchDisplay({800, 600})) {
    case platform::SwitchResult::Switched: gDisplaySwitched = true; break;
    case platform::SwitchResult::NeedsRestart:
        messages().show(Message::withButtons("Isso pode fazer o seu micro reiniciar", "",
                                             Icon::Exclamation, button::Ok));
        break;
    case platform::SwitchResult::Failed:
        messages().show(Message::withButtons("Isso parece ser bem apropriado", "",
                                             Icon::Exclamation, button::Ok));
        break;
    }
}

} // namespace

bool displayWasSwitched() { return gDisplaySwitched; }

void SplashLogin::beginRun() { gFirstOpening = true; }

SplashLogin::SplashLogin()
    : ui::Screen(std::string(settings::window::splashLogin)),
      ticker_(*cp1252::fromUtf8(kHint), 33) {
    setWindowTitle("Saldora");
    setWindowIcon(ui::programIcon("kvelt.ico"));
    setResizable(false);

    picture_ = new QLabel(this);
    picture_->setObjectName("Image1");
    picture_->setPixmap(ui::programPicture("Login.jpg"));
    picture_->setAlignment(Qt::AlignCenter);
    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameShape(QFrame::StyledPanel);
    hint_ = new QLabel(panel);
    hint_->setObjectName("LOC:Hint");
    hint_->setFont(QFont("Courier New", 9));
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(4, 2, 4, 2);
    panelLayout->addWidget(hint_);

    login_ = new QLineEdit(this);
    login_->setObjectName("GLO:Login");
    login_->setMaxLength(12);
    password_ = new QLineEdit(this);
    password_->setObjectName("GLO:Password");
    password_->setMaxLength(12);
    password_->setEchoMode(QLineEdit::Password);
    login_->installEventFilter(this);

    auto* ok = ui::makeButton(this, "Ok", "&Sim", "Confirma a ação", "ok.ico");
    auto* cancel = ui::makeButton(this, "Cancel", "&Cancela", "Cancela Esta Operação", "cancela.ico");
    auto* help = ui::makeButton(this, "Help", "&Ajuda", "Ajuda desta Tela", "Ajuda.ico");
    ok->setFocusPolicy(Qt::ClickFocus); // skipped by the Tab key
    cancel->setFocusPolicy(Qt::ClickFocus);
    ok->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow("Login:", login_);
    form->addRow("Senha:", password_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture_);
    layout->addWidget(panel);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &SplashLogin::accept);
    connect(cancel, &QPushButton::clicked, this, &SplashLogin::cancel);
    connect(help, &QPushButton::clicked, this, [this] {
        QKeyEvent f12(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : this,
                                &f12);
    });
    connect(&timer_, &QTimer::timeout, this, &SplashLogin::stepHint);
    timer_.start(200);
    stepHint();
    login_->setFocus();
}

void SplashLogin::run(std::function<void()> done) {
    auto* window = new SplashLogin;
    connect(window, &ui::Screen::finished, window, [done](int) {
        if (done) done();
    });
    if (gFirstOpening) {
        gFirstOpening = false;
        if (!platform::acquireSingleInstance("SALDORA")) {
            QApplication::beep();
            tell("Este programa já está ativo, provavelmente está minimizado. Portanto, não é "
                 "necessário processá-lo outra vez.|Verifique.");
            globals().login.clear();
            globals().password.clear();
            window->finish(ui::result::Cancelled);
            window->deleteLater();
            return;
        }
    }
    window->open();
    platform::growOpen(window, 200);
    offerResolution();
    if (security::ds_CountUsers(kSecurityCaption) == 0)
        security::ds_InsertFirstUser(kSecurityCaption, "ZUK", "Vexa", "ZUK");
}

void SplashLogin::stepHint() {
    ticker_.step();
    hint_->setText(QString::fromStdString(cp1252::toUtf8(ticker_.shown())));
}

void SplashLogin::resizeEvent(QResizeEvent* e) {
    ui::Screen::resizeEvent(e);
    int fits = hint_->parentWidget()->width() / 5;
    if (fits > 0) ticker_.setWidth(fits);
}

bool SplashLogin::eventFilter(QObject* watched, QEvent* e) {
    // Selecting the login field starts a new login.
    if (watched == login_ && e->type() == QEvent::FocusIn) {
        login_->clear();
        password_->clear();
        globals().login.clear();
        globals().password.clear();
    }
    return ui::Screen::eventFilter(watched, e);
}

void SplashLogin::accept() {
    globals().login = login_->text().toStdString();
    globals().password = password_->text().toStdString();
    auto handle = security::ds_LoginText(kSecurityCaption, globals().login, globals().password, 33600);
    if (handle != 0) {
        session().handle = handle;
        leave(ui::result::Completed);
        return;
    }
    ++failures_;
    if (failures_ <= 3) {
        tell("Login Inválido|Clique no botão Ajuda para obter mais informações");
        globals().password.clear();
        password_->clear();
        login_->setFocus(); // also clears the login: a new login starts
        return;
    }
    tell("Acesso Negado|Clique no botão Ajuda para obter mais informações");
    leave(ui::result::Cancelled);
}

void SplashLogin::cancel() {
    // Cancelling leaves nobody to log in: the frame then ends.
    globals().login.clear();
    globals().password.clear();
    leave(ui::result::Cancelled);
}

void SplashLogin::leave(int result) {
    // The window shrinks to its centre as it closes.
    timer_.stop();
    platform::shrinkClosed(this, 200, [this, result] { finish(result); });
}

void SplashLogin::closing() { timer_.stop(); }

} // namespace saldora::app
