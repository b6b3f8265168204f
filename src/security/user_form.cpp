#include "security/user_form.h"

#include "security/appearance.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace saldora::security {

UserForm* UserForm::start(const User& user, bool adding, Save save, std::function<void()> saved,
                          QWidget* parent) {
    auto* form = new UserForm(user, adding, std::move(save), parent);
    connect(form, &QDialog::accepted, form, [saved = std::move(saved)] {
        if (saved) saved();
    });
    form->open();
    return form;
}

UserForm::UserForm(const User& user, bool adding, Save save, QWidget* parent)
    : QDialog(parent), save_(std::move(save)) {
    setObjectName("CadastraUsuario");
    setAttribute(Qt::WA_DeleteOnClose);
    dress(*this, adding ? "Registo será incluido" : "Registro será alterado");

    login_ = namedEntry(*this, "LOGIN", files::kLoginWidth, false);
    login_->setText(QString::fromStdString(user.login));
    login_->setReadOnly(!adding);
    name_ = namedEntry(*this, "NOME", files::kNameWidth, false);
    name_->setText(QString::fromStdString(user.name));
    administrator_ = new QCheckBox("Administrador (todos os direitos)", this);
    administrator_->setObjectName("ADMINISTRADOR");
    administrator_->setChecked(user.administrator);

    auto* form = new QFormLayout;
    auto addRow = [&](const char* prompt, QWidget* control) {
        auto* label = new QLabel(prompt, this);
        label->setObjectName(control->objectName() + ":Prompt");
        label->setBuddy(control);
        form->addRow(label, control);
    };
    addRow("&Login:", login_);
    addRow("&Nome:", name_);
    form->addRow(administrator_);
    if (adding) {
        auto* hint = new QLabel("A senha inicial do novo usuário é o próprio login.", this);
        hint->setObjectName("AVISO");
        form->addRow(hint);
    }

    auto* ok = namedButton(*this, "OK", "OK", "Grava e Fecha a Tela");
    ok->setDefault(true);
    auto* cancel = namedButton(*this, "CANCELA", "&Cancela", "Cancela Esta Operação");
    connect(ok, &QPushButton::clicked, this, &UserForm::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    (adding ? login_ : name_)->setFocus();
}

void UserForm::confirm() {
    Status s = save_(login_->text().toStdString(), name_->text().toStdString(),
                     administrator_->isChecked());
    if (!s) return tellFailure(s.error());
    accept();
}

} // namespace saldora::security
