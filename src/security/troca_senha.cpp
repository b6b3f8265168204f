#include "security/troca_senha.h"

#include "messages/screen_font.h"
#include "security/appearance.h"
#include "security/component.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace saldora::security {

TrocaSenha* TrocaSenha::start(Handle handle, QWidget* parent, std::function<void()> closed) {
    auto* window = new TrocaSenha(handle, parent);
    connect(window, &QDialog::finished, window, [closed = std::move(closed)] {
        if (closed) closed();
    });
    window->show();
    window->current_->setFocus();
    return window;
}

Message TrocaSenha::explanation() {
    return Message::withButtons(
        "ATENÇÃO:|Você acaba de trocar a Senha de acesso ao sistema. Lembre-se que a troca da "
        "Senha não significa a troca do Login. Esse permanece o mesmo, ou seja, se antes para "
        "ter acesso ao sistema você digitava: |Login: ZUK Senha: ZUK|Agora digitará:|Login: ZUK "
        "Senha: NOVA SENHA|Para trocar o Login é necessário incluir um Usuário. Ao incluir um "
        "novo Usuário inclui-se o Login que também passa a ser a Senha inicial. Isso quer dizer "
        "que se incluiu novo Usuário com o Login: XXX, então para entrar no sistema digita-se:|"
        "Login: XXX Senha: XXX|Aí sim, entra-se nesta tela para trocar a senha.",
        "Aviso", Icon::Asterisk, button::Ok);
}

TrocaSenha::TrocaSenha(Handle handle, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), handle_(handle) {
    setObjectName("TrocaSenha");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Troca de Senha");
    setFont(QFont("MS Sans Serif", 8));
    message_box::applyScreenFont(*this, message_box::screenFont());

    auto* form = new QFormLayout;
    auto entry = [&](const char* name, const char* prompt) {
        QLineEdit* e = namedEntry(*this, name, kPasswordWidth, true);
        auto* label = new QLabel(prompt, this);
        label->setObjectName(QString(name) + ":Prompt");
        label->setBuddy(e);
        form->addRow(label, e);
        return e;
    };
    current_ = entry("OLDPASSWORD", "Senha Atual:");
    new_ = entry("NEWPASSWORD", "Nova Senha:");
    repeated_ = entry("VERIFYPASSWORD", "Redigita:");

    auto* ok = namedButton(*this, "OK", "OK", "Grava e Fecha a Tela");
    ok->setIcon(programPicture("ok.ico"));
    ok->setDefault(true);
    auto* cancel = namedButton(*this, "CANCEL", "&Cancela", "Cancela Esta Operação");
    cancel->setIcon(programPicture("cancela.ico"));
    cancel->setFocusPolicy(Qt::ClickFocus); // not in the tab order
    auto* help = namedButton(*this, "AJUDA", "&Ajuda", "Ajuda desta Tela");
    help->setIcon(programPicture("Ajuda.ico"));
    connect(ok, &QPushButton::clicked, this, &TrocaSenha::confirm);
    connect(cancel, &QPushButton::clicked, this, [this] { leave(QDialog::Rejected); });
    connect(help, &QPushButton::clicked, this, [] { messages().show(explanation()); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setTabOrder(current_, new_);
    setTabOrder(new_, repeated_);
    setTabOrder(repeated_, ok);
    setTabOrder(ok, help);
}

void TrocaSenha::confirm() {
    const int result =
        ds_ChangePasswordEx(handle_, 0, current_->text().toStdString(), new_->text().toStdString(),
                            repeated_->text().toStdString());
    if (result != 0) return; // the component has said why; the entries stay for another try
    messages().show(explanation());
    leave(QDialog::Accepted);
}

void TrocaSenha::leave(int result) {
    leaving_ = true;
    done(result);
}

void TrocaSenha::reject() {
    leave(QDialog::Rejected);
}

void TrocaSenha::closeEvent(QCloseEvent* event) {
    if (leaving_)
        event->accept();
    else
        event->ignore();
}

} // namespace saldora::security
