#include "security/login_change_window.h"

#include "security/appearance.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace saldora::security {

LoginChangeWindow* LoginChangeWindow::start(Security& security, Handle handle,
                                            const std::string& login, const std::string& password,
                                            std::function<void(bool changed)> done,
                                            QWidget* parent) {
    auto* window = new LoginChangeWindow(security, handle, login, password, parent);
    connect(window, &QDialog::finished, window, [done = std::move(done)](int result) {
        if (done) done(result == QDialog::Accepted);
    });
    window->open();
    return window;
}

LoginChangeWindow::LoginChangeWindow(Security& security, Handle handle, const std::string& login,
                                     const std::string& password, QWidget* parent)
    : QDialog(parent), security_(security), handle_(handle) {
    setObjectName("AlteraLogin");
    setAttribute(Qt::WA_DeleteOnClose);
    dress(*this, "Altera Login");

    login_ = namedEntry(*this, "LOGIN", files::kLoginWidth, false);
    login_->setText(QString::fromStdString(login).trimmed());
    password_ = namedEntry(*this, "SENHA", kPasswordWidth, true);
    password_->setText(QString::fromStdString(password).trimmed());
    auto* form = new QFormLayout;
    auto addRow = [&](const char* prompt, QLineEdit* entry) {
        auto* label = new QLabel(prompt, this);
        label->setObjectName(entry->objectName() + ":Prompt");
        label->setBuddy(entry);
        form->addRow(label, entry);
    };
    addRow("&Login:", login_);
    addRow("&Senha:", password_);

    auto* ok = namedButton(*this, "OK", "&Sim", "Confirma a ação");
    ok->setDefault(true);
    auto* cancel = namedButton(*this, "CANCELA", "&Cancela", "Cancela Esta Operação");
    connect(ok, &QPushButton::clicked, this, &LoginChangeWindow::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    login_->setFocus();
}

void LoginChangeWindow::confirm() {
    Status s = security_.changeLogin(handle_, login_->text().toStdString(),
                                     password_->text().toStdString());
    if (s) return accept();
    password_->clear();
    if (s.error().code == errc::Refused) {
        tell("Login ou senha inválidos.");
        login_->setFocus();
        login_->selectAll();
        return;
    }
    tellFailure(s.error());
    if (s.error().code == errc::NotLoggedIn) reject();
}

} // namespace saldora::security
