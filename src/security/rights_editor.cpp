#include "security/rights_editor.h"

#include "security/appearance.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace saldora::security {
namespace {
constexpr int kFirstRightColumn = 2;
}

RightsEditor* RightsEditor::start(Security& security, Handle handle, const Area& area,
                                  QWidget* parent) {
    auto* editor = new RightsEditor(security, handle, area, parent);
    if (!editor->load()) {
        editor->deleteLater();
        return nullptr;
    }
    editor->open();
    return editor;
}

RightsEditor::RightsEditor(Security& security, Handle handle, Area area, QWidget* parent)
    : QDialog(parent), security_(security), handle_(handle), area_(std::move(area)) {
    setObjectName("DireitosDeAcesso");
    setAttribute(Qt::WA_DeleteOnClose);
    dress(*this, "Direitos de Acesso - " + QString::fromStdString(area_.name));

    table_ = new QTableWidget(this);
    table_->setObjectName("DIREITOS");
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->verticalHeader()->hide();

    auto* save = namedButton(*this, "GRAVA", "&Grava", "Grava e Fecha a Tela");
    auto* cancel = namedButton(*this, "CANCELA", "&Cancela", "Cancela Esta Operação");
    connect(save, &QPushButton::clicked, this, &RightsEditor::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    resize(640, 360);
}

bool RightsEditor::load() {
    auto users = security_.users(handle_);
    if (!users) {
        tellFailure(users.error());
        return false;
    }
    auto rights = security_.rights(handle_, area_.name);
    if (!rights) {
        tellFailure(rights.error());
        return false;
    }
    users_ = std::move(*users);
    loaded_ = std::move(*rights);

    QStringList headers{"Login", "Nome"};
    bits_.clear();
    for (size_t bit = 0; bit < area_.rights.size(); ++bit)
        if (!area_.rights[bit].empty()) {
            bits_.push_back(static_cast<int>(bit));
            headers << QString::fromStdString(area_.rights[bit]);
        }
    table_->setColumnCount(static_cast<int>(headers.size()));
    table_->setHorizontalHeaderLabels(headers);
    table_->setRowCount(static_cast<int>(users_.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const User& u = users_[row];
        auto fixedItem = [](const std::string& text) {
            auto* item = new QTableWidgetItem(QString::fromStdString(text));
            item->setFlags(Qt::ItemIsEnabled);
            return item;
        };
        table_->setItem(row, 0, fixedItem(u.login));
        table_->setItem(row, 1, fixedItem(u.name));
        const uint32_t mask = u.administrator ? kEveryRight : loaded_[u.id];
        for (size_t c = 0; c < bits_.size(); ++c) {
            auto* box = new QTableWidgetItem;
            const bool held = (mask >> bits_[c]) & 1u;
            box->setCheckState(held ? Qt::Checked : Qt::Unchecked);
            if (u.administrator) {
                box->setFlags(Qt::ItemIsUserCheckable); // shown, not changeable
                box->setToolTip("Administradores têm todos os direitos.");
            } else {
                box->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            }
            table_->setItem(row, kFirstRightColumn + static_cast<int>(c), box);
        }
    }
    table_->resizeColumnsToContents();
    return true;
}

std::vector<RightsChange> RightsEditor::changes() const {
    std::vector<RightsChange> list;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const User& u = users_[row];
        if (u.administrator) continue;
        const auto stored = loaded_.find(u.id);
        const uint32_t mask = stored == loaded_.end() ? 0 : stored->second;
        RightsChange change{u.id, 0, 0};
        for (size_t c = 0; c < bits_.size(); ++c) {
            const uint32_t bit = 1u << bits_[c];
            const bool checked =
                table_->item(row, kFirstRightColumn + static_cast<int>(c))->checkState() ==
                Qt::Checked;
            if (checked && !(mask & bit)) change.grant |= bit;
            if (!checked && (mask & bit)) change.revoke |= bit;
        }
        if (change.grant || change.revoke) list.push_back(change);
    }
    return list;
}

void RightsEditor::save() {
    if (Status s = security_.changeRights(handle_, area_.name, changes()); !s)
        return tellFailure(s.error());
    accept();
}

} // namespace saldora::security
