#include "security/connected_users_window.h"

#include "security/appearance.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace saldora::security {
namespace {

QString shownTime(double seconds) {
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(seconds)).toString("dd/MM/yyyy hh:mm");
}

} // namespace

ConnectedUsersWindow* ConnectedUsersWindow::start(Security& security, QWidget* parent) {
    auto* window = new ConnectedUsersWindow(security, parent);
    window->reload();
    window->show();
    return window;
}

ConnectedUsersWindow::ConnectedUsersWindow(Security& security, QWidget* parent)
    : QDialog(parent), security_(security) {
    setObjectName("QuemEstaConectado");
    setAttribute(Qt::WA_DeleteOnClose);
    dress(*this, "Quem está conectado");

    table_ = new QTableWidget(0, 5, this);
    table_->setObjectName("CONECTADOS");
    table_->setHorizontalHeaderLabels({"Login", "Nome", "Estação", "Desde", "Último sinal"});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);

    auto* refresh = namedButton(*this, "ATUALIZA", "&Atualiza", "Lê a lista outra vez");
    auto* close = namedButton(*this, "FECHAR", "&Fecha", "Fecha a tela");
    connect(refresh, &QPushButton::clicked, this, &ConnectedUsersWindow::reload);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(refresh);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    resize(620, 300);
}

void ConnectedUsersWindow::reload() {
    auto list = security_.connections();
    if (!list) return tellFailure(list.error());
    table_->setRowCount(static_cast<int>(list->size()));
    int row = 0;
    for (const Connection& c : *list) {
        const QString login =
            c.login.empty() ? QString("(excluído)") : QString::fromStdString(c.login);
        const QStringList cells{login, QString::fromStdString(c.name),
                                QString::fromStdString(c.station) + " (" +
                                    QString::number(c.process) + ")",
                                shownTime(c.since), shownTime(c.lastSeen)};
        for (int col = 0; col < cells.size(); ++col)
            table_->setItem(row, col, new QTableWidgetItem(cells[col]));
        ++row;
    }
    table_->resizeColumnsToContents();
}

} // namespace saldora::security
