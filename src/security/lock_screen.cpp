#include "security/lock_screen.h"

#include "security/appearance.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace saldora::security {

LockScreen* LockScreen::start(Security& security, Handle handle, std::function<void()> unlocked,
                              QWidget* frame) {
    auto* lock = new LockScreen(security, handle, std::move(unlocked), frame);
    lock->show();
    lock->raise();
    lock->activateWindow();
    lock->password_->setFocus();
    return lock;
}

LockScreen::LockScreen(Security& security, Handle handle, std::function<void()> unlocked,
                       QWidget* frame)
    : QWidget(frame, Qt::Window | Qt::FramelessWindowHint), security_(security), handle_(handle),
      unlocked_(std::move(unlocked)), frame_(frame) {
    setObjectName("BloqueiaTela");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    dress(*this, "Tela Bloqueada");

    auto user = security_.currentUser(handle_);
    const QString who =
        user ? QString::fromStdString(user->name.empty() ? user->login
                                                         : user->name + " (" + user->login + ")")
             : QString();

    auto* title = new QLabel("Sistema bloqueado", this);
    title->setObjectName("TITULO");
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    title->setFont(big);
    auto* text = new QLabel("Em uso por " + who + ".\nDigite a senha para continuar.", this);
    text->setObjectName("USUARIO");
    text->setAlignment(Qt::AlignCenter);
    auto* prompt = new QLabel("&Senha:", this);
    prompt->setObjectName("SENHA:Prompt");
    password_ = namedEntry(*this, "SENHA", kPasswordWidth, true);
    prompt->setBuddy(password_);
    auto* open = namedButton(*this, "DESBLOQUEIA", "&Desbloqueia", "Desbloqueia a tela");
    open->setDefault(true);
    connect(open, &QPushButton::clicked, this, &LockScreen::unlock);
    connect(password_, &QLineEdit::returnPressed, this, &LockScreen::unlock);

    auto* panel = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{title, text, prompt, password_, open})
        panel->addWidget(w, 0, Qt::AlignHCenter);
    password_->setMinimumWidth(160);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addLayout(panel);
    layout->addStretch();

    if (frame_) frame_->installEventFilter(this);
    cover();
}

void LockScreen::cover() {
    if (frame_) {
        setGeometry(frame_->frameGeometry());
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(screen->geometry());
    }
}

bool LockScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frame_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        cover();
    return QWidget::eventFilter(watched, event);
}

void LockScreen::closeEvent(QCloseEvent* event) {
    if (open_)
        event->accept();
    else
        event->ignore();
}

void LockScreen::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) return; // nothing leaves the lock but the password
    QWidget::keyPressEvent(event);
}

void LockScreen::unlock() {
    auto right = security_.checkPassword(handle_, password_->text().toStdString());
    password_->clear();
    password_->setFocus();
    if (!right) return tellFailure(right.error());
    if (!*right) return tell("Senha incorreta. A tela continua bloqueada.");
    open_ = true;
    if (frame_) frame_->removeEventFilter(this);
    auto unlocked = std::move(unlocked_);
    close();
    if (unlocked) unlocked();
}

} // namespace saldora::security
