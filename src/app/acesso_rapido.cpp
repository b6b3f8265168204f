#include "app/acesso_rapido.h"

#include "app/about_window.h"
#include "app/session.h"
#include "data/settings_keys.h"
#include "platform/programs.h"
#include "security/component.h"
#include "ui/list_format.h"
#include "ui/pictures.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace saldora::app {
namespace {

QPointer<AcessoRapido> gOpen;
constexpr const char* kDesignFormat = "800L~Clique 2 vezes para processar um item~@s200@";
constexpr int kActionRole = Qt::UserRole;

} // namespace

const std::vector<QuickAccessLine>& quickAccessLines() {
    using S = ScreenId;
    static const std::vector<QuickAccessLine> lines = {
        {"Rotina Principal", 0, {}},
        {"A-Cadastros", 1, {}},
        {"0-Usuários", 2, S::CompanyData},
        {"1-Filiais/Clientes", 2, S::Clients},
        {"2-Contas", 2, S::Accounts},
        {"3-Movimento", 2, S::Postings},
        {"4-Fechamento", 2, S::Closing},
        {"B-Editar", 1, {}},
        {"C-Relatórios", 1, {}},
        {"1-Relação de Filiais", 2, S::ClientListing},
        {"2-Relação de Contas", 2, S::AccountListing},
        {"3-Saldora", 2, S::Statement},
        {"D-Outras Rotinas", 1, {}},
        {"1-Exclusão dos Lançamentos", 2, {}},
        {"0-Geral", 3, S::DeleteAll},
        {"1-Individual", 3, S::DeleteOne},
        {"2-Meu Papel de Parede", 2, S::Wallpaper},
        {"X-Estilos de Menu", 2, {}},
        {"Window2K", 3, S::Calculator},
        {"E-Window", 1, {}},
        {"F-Saída", 1, {}},
        {"3-Existe uma nova versão ?", 2, S::UpdateCheck},
        {"4-Exporta Cadastros", 2, {}},
        {"0-Clientes", 3, S::ExportClients},
        {"G-Ajuda", 1, {}},
        {"Sobre o Sistema", 2, S::About},
        {"H-Segurança", 1, {}},
        {"0-Pesquisa Usuários", 2, {}},
        {"1-Altera Senha", 2, S::ChangePassword},
    };
    return lines;
}

AcessoRapido* AcessoRapido::openWindow() { return gOpen; }

void AcessoRapido::start() {
    if (gOpen) {
        gOpen->frameWindow()->show();
        gOpen->frameWindow()->raise();
        gOpen->frameWindow()->activateWindow();
        if (auto* sub = qobject_cast<QMdiSubWindow*>(gOpen->frameWindow()))
            if (sub->mdiArea()) sub->mdiArea()->setActiveSubWindow(sub);
        return;
    }
    if (!(security::ds_Allowed(session().handle, "Acesso_rapido", 0) & 1)) {
        security::ds_SecurityMessage("AccessRestricted");
        return;
    }
    (new AcessoRapido)->open();
}

AcessoRapido::AcessoRapido() : ui::Screen(std::string(settings::window::acessoRapido)) {
    gOpen = this;
    setWindowTitle("Rotina Principal");

    auto* support = ui::makeButton(this, "SuporteOnline", "SUPORTE ONLINE",
                                   "Clique neste botão para conversar\nonline com um consultor.");
    support->setIcon(QIcon(ui::programPicture("../IMAGENS/suporte.gif")));
    tree_ = new QTreeWidget(this);
    tree_->setObjectName("RelTree");
    tree_->setColumnCount(1);
    auto format = ui::parseListFormat(
        ui::restoreListFormat(settings::preferences::acessoRapidoTree, kDesignFormat));
    tree_->setHeaderLabel(format ? QString::fromStdString((*format)[0].header)
                                 : "Clique 2 vezes para processar um item");
    tree_->installEventFilter(this);
    current_ = new QLabel(this);
    current_->setObjectName("LOC:Texto");
    auto* expand = ui::makeButton(this, "Expande", "+", "Expande todos os níveis do Menu");
    auto* group = new QGroupBox("Não deixe de ler este documento", this);
    group->setObjectName("Group1");
    auto* contract = ui::makeButton(this, "Contrai", "-", "Contrai todos os níveis do Menu");
    auto* leave = ui::makeButton(this, "Saida", "Saída");

    const QIcon menuIcon = ui::programIcon("menu_mais_1.ico");
    const QIcon itemIcon = ui::programIcon("seta_direita_1.ico");
    const QIcon rootIcon = ui::programIcon("menu_tree_1.ico");
    std::vector<QTreeWidgetItem*> parents(4, nullptr);
    const auto& lines = quickAccessLines();
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto& line = lines[i];
        QTreeWidgetItem* item = line.level == 0
                                    ? new QTreeWidgetItem(tree_)
                                    : new QTreeWidgetItem(parents[line.level - 1]);
        item->setText(0, QString::fromUtf8(line.text));
        item->setData(0, kActionRole, static_cast<int>(i));
        bool hasChildren = i + 1 < lines.size() && lines[i + 1].level > line.level;
        item->setIcon(0, line.level == 0 ? rootIcon : hasChildren ? menuIcon : itemIcon);
        if (line.action && !screens().exists(*line.action)) item->setDisabled(true);
        parents[line.level] = item;
    }
    contractAll();
    tree_->setCurrentItem(tree_->topLevelItem(0));
    current_->setText(tree_->topLevelItem(0)->text(0));

    auto* side = new QVBoxLayout;
    side->addWidget(expand);
    side->addWidget(contract);
    side->addStretch();
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(support);
    auto* layout = new QVBoxLayout(this);
    auto* middle = new QHBoxLayout;
    middle->addWidget(tree_, 1);
    middle->addLayout(side);
    layout->addWidget(group);
    layout->addLayout(middle, 1);
    layout->addWidget(current_);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(leave);
    layout->addLayout(bottom);
    resize(360, 460);

    connect(support, &QPushButton::clicked, this, [] { SupportWindow::start(); });
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) current_->setText(item->text(0));
    });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        activate(item);
    });
    connect(expand, &QPushButton::clicked, this, &AcessoRapido::expandAll);
    connect(contract, &QPushButton::clicked, this, &AcessoRapido::contractAll);
    connect(leave, &QPushButton::clicked, this, [this] { finish(ui::result::Completed); });
    auto* rights = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F8), this);
    connect(rights, &QShortcut::activated, this, [this] {
        security::ds_SetAccess(session().handle, "Acesso_rapido", kQuickAccessRights, this);
    });
}

AcessoRapido::~AcessoRapido() {
    if (gOpen == this) gOpen = nullptr;
}

void AcessoRapido::expandAll() { tree_->expandAll(); }

void AcessoRapido::contractAll() {
    tree_->collapseAll();
    // Every line below the root hidden; the root itself stays.
}

void AcessoRapido::activate(QTreeWidgetItem* item) {
    if (!item || item->isDisabled()) return;
    const auto& line = quickAccessLines()[item->data(0, kActionRole).toInt()];
    if (line.action) screens().start(*line.action); // the same rights check as the menu item
}

bool AcessoRapido::eventFilter(QObject* watched, QEvent* e) {
    if (watched == tree_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        QTreeWidgetItem* item = tree_->currentItem();
        if (item && (k->modifiers() & Qt::ControlModifier)) {
            if (k->key() == Qt::Key_Right) {
                item->setExpanded(true);
                for (int i = 0; i < item->childCount(); ++i) item->child(i)->setExpanded(false);
                return true;
            }
            if (k->key() == Qt::Key_Left) {
                item->setExpanded(false);
                return true;
            }
        }
        if (item && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
            !(k->modifiers() & Qt::ControlModifier)) {
            activate(item);
            return true;
        }
    }
    if (watched == tree_ && e->type() == QEvent::ContextMenu) {
        auto* menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addAction("E&xpand All", this, &AcessoRapido::expandAll);
        menu->addAction("Co&ntract All", this, &AcessoRapido::contractAll);
        menu->popup(static_cast<QContextMenuEvent*>(e)->globalPos());
        return true;
    }
    return ui::Screen::eventFilter(watched, e);
}

void AcessoRapido::closing() {
    if (gOpen == this) gOpen = nullptr;
    ui::ListColumnFormat column = (*ui::parseListFormat(kDesignFormat))[0];
    ui::saveListFormat(settings::preferences::acessoRapidoTree, ui::writeListFormat({column}));
}

} // namespace saldora::app
