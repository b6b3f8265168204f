#include "security/user_browse.h"

#include "data/file_routines.h"
#include "security/appearance.h"
#include "security/rights_editor.h"
#include "security/user_form.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace saldora::security {

UserBrowse* UserBrowse::start(Security& security, Handle handle, QWidget* parent) {
    auto* browse = new UserBrowse(security, handle, parent);
    if (!browse->reload()) {
        browse->deleteLater();
        return nullptr;
    }
    browse->show();
    return browse;
}

UserBrowse::UserBrowse(Security& security, Handle handle, QWidget* parent)
    : QDialog(parent), security_(security), handle_(handle) {
    setObjectName("PesquisaUsuarios");
    setAttribute(Qt::WA_DeleteOnClose);
    dress(*this, "Usuários do Sistema");

    table_ = new QTableWidget(0, 3, this);
    table_->setObjectName("USUARIOS");
    table_->setHorizontalHeaderLabels({"Login", "Nome", "Administrador"});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { change(); });
    connect(table_, &QTableWidget::itemSelectionChanged, this, &UserBrowse::enableButtons);

    auto* insert = namedButton(*this, "INCLUIR", "&Inclui", "Inclui um usuário");
    change_ = namedButton(*this, "ALTERAR", "&Altera", "Altera o nome e o tipo do usuário");
    delete_ = namedButton(*this, "EXCLUIR", "&Exclui", "Exclui o usuário");
    reset_ = namedButton(*this, "SENHAINICIAL", "&Senha Inicial",
                         "A senha do usuário volta a ser o seu login");
    area_ = new QComboBox(this);
    area_->setObjectName("AREA");
    area_->setToolTip("Área do sistema");
    rights_ = namedButton(*this, "DIREITOS", "&Direitos...", "Direitos dos usuários na área");
    auto* close = namedButton(*this, "FECHAR", "&Fecha", "Fecha a tela");
    connect(insert, &QPushButton::clicked, this, &UserBrowse::insert);
    connect(change_, &QPushButton::clicked, this, &UserBrowse::change);
    connect(delete_, &QPushButton::clicked, this, &UserBrowse::remove);
    connect(reset_, &QPushButton::clicked, this, &UserBrowse::resetPassword);
    connect(rights_, &QPushButton::clicked, this, &UserBrowse::editRights);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{insert, change_, delete_, reset_})
        buttons->addWidget(w);
    buttons->addStretch();
    buttons->addWidget(area_);
    buttons->addWidget(rights_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    resize(560, 360);
}

bool UserBrowse::reload(int32_t highlight) {
    if (highlight == 0)
        if (const User* u = highlighted()) highlight = u->id;
    auto users = security_.users(handle_);
    if (!users) {
        tellFailure(users.error());
        return false;
    }
    users_ = std::move(*users);
    table_->setRowCount(static_cast<int>(users_.size()));
    int row = 0;
    for (const User& u : users_) {
        table_->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(u.login)));
        table_->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(u.name)));
        table_->setItem(row, 2, new QTableWidgetItem(u.administrator ? "Sim" : ""));
        if (u.id == highlight) table_->selectRow(row);
        ++row;
    }
    if (!highlighted() && !users_.empty()) table_->selectRow(0);

    const QString area = area_->currentText();
    area_->clear();
    if (auto areas = security_.areas())
        for (const Area& a : *areas)
            area_->addItem(QString::fromStdString(a.name));
    if (int i = area_->findText(area); i >= 0) area_->setCurrentIndex(i);
    enableButtons();
    return true;
}

const User* UserBrowse::highlighted() const {
    const auto rows = table_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return nullptr;
    const int row = rows.first().row();
    return row < static_cast<int>(users_.size()) ? &users_[row] : nullptr;
}

void UserBrowse::enableButtons() {
    const bool any = highlighted() != nullptr;
    for (QPushButton* b : {change_, delete_, reset_})
        b->setEnabled(any);
    rights_->setEnabled(area_->count() > 0);
}

void UserBrowse::insert() {
    auto added = std::make_shared<int32_t>(0);
    UserForm::start(
        User{}, true,
        [this, added](const std::string& login, const std::string& name, bool administrator) {
            auto user = security_.addUser(handle_, login, name, administrator);
            if (!user) return Status(user.error());
            *added = user->id;
            return Status();
        },
        [this, added] { reload(*added); }, this);
}

void UserBrowse::change() {
    const User* u = highlighted();
    if (!u) return;
    const int32_t id = u->id;
    UserForm::start(
        *u, false,
        [this, id](const std::string&, const std::string& name, bool administrator) {
            return security_.changeUser(handle_, id, name, administrator);
        },
        [this, id] { reload(id); }, this);
}

void UserBrowse::remove() {
    const User* u = highlighted();
    if (!u) return;
    if (FileWarning(warning::ConfirmDelete) != button::Ok) return;
    if (Status s = security_.deleteUser(handle_, u->id); !s) tellFailure(s.error());
    reload();
}

void UserBrowse::resetPassword() {
    const User* u = highlighted();
    if (!u) return;
    const int answer = messages().show(Message::withButtons(
        "A senha de " + u->login + " voltará a ser o próprio login.|Confirma?",
        appearance().caption, Icon::Question, button::Yes | button::No, button::No));
    if (answer != button::Yes) return;
    if (Status s = security_.resetPassword(handle_, u->id); !s) return tellFailure(s.error());
    tell("A senha de " + u->login + " agora é o próprio login.", Icon::Asterisk);
}

void UserBrowse::editRights() {
    if (area_->count() == 0) return;
    auto area = security_.area(area_->currentText().toStdString());
    if (!area) return tellFailure(area.error());
    RightsEditor::start(security_, handle_, *area, this);
}

void UserBrowse::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Insert:
    case Qt::Key_F2:
        return insert();
    case Qt::Key_F4:
        return change();
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ctrl) return change();
        break;
    case Qt::Key_Delete:
    case Qt::Key_F6:
        return remove();
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

} // namespace saldora::security
