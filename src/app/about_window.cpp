#include "app/about_window.h"

#include "app/version.h"
#include "data/ini.h"
#include "ui/pictures.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace saldora::app {

std::string AboutWindow::page() {
    return std::string(
               "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
               "\"http://www.w3.org/TR/html4/strict.dtd\">\n"
               "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
               "charset=utf-8\">\n<title>Sobre o Sistema</title>\n</head>\n"
               "<body style=\"font-family: Verdana, sans-serif\">\n<h1>") +
           version::kTitle + "</h1>\n<p>Versão " + version::text() + " Compilação " +
           std::to_string(version::kBuild) + " de " + version::kDate +
           "</p>\n"
           "<p>Suporte: suporte@saldora.com.br &mdash; atendimento de segunda a sexta, das 8h "
           "às 18h.</p>\n"
           "<h2>Por que o Saldora</h2>\n<ul>\n"
           "<li>O saldo de cada cliente ao fim de cada dia, sempre certo.</li>\n"
           "<li>Várias estações trabalhando na mesma pasta de dados, em rede.</li>\n"
           "<li>Dados gravados criptografados, com acesso por usuário e senha.</li>\n"
           "<li>Bases de dados em qualquer pasta: no micro, na rede, em pen drive ou HD "
           "externo.</li>\n</ul>\n"
           "<h2>O que ele faz</h2>\n<ul>\n"
           "<li>Cadastro de filiais/clientes e do plano de contas.</li>\n"
           "<li>Lançamentos de crédito e débito por cliente e data.</li>\n"
           "<li>Extrato com saldo anterior, totais e saldos do dia.</li>\n"
           "<li>Fechamento do dia, listagens e exportação de cadastros.</li>\n"
           "<li>Exclusão de lançamentos por período.</li>\n</ul>\n"
           "</body>\n</html>\n";
}

AboutWindow::AboutWindow() : ui::Screen("SobreOSistema") {
    setWindowTitle("Sobre o Sistema");
    address_ = new QLineEdit(this);
    address_->setObjectName("LOC:Endereco");
    address_->setMaxLength(255);
    auto* back = ui::makeButton(this, "Volta", "Volta");
    auto* forward = ui::makeButton(this, "ParaAFrente", "Para a Frente");
    auto* go = ui::makeButton(this, "Ir", "Ir");
    auto* reload = ui::makeButton(this, "Atualizar", "Atualizar");
    view_ = new QWebEngineView(this);
    view_->setObjectName("Browser");
    loading_ = new QLabel("Carregando o formulário. Aguarde...", this);
    loading_->setObjectName("LOC:Carregando");
    auto* leave = ui::makeButton(this, "Sair", "&Sair");
    status_ = new QStatusBar(this);

    auto* bar = new QHBoxLayout;
    bar->addWidget(address_, 1);
    for (auto* b : {back, forward, go, reload}) bar->addWidget(b);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(loading_, 1);
    bottom->addWidget(leave);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(view_, 1);
    layout->addLayout(bottom);
    layout->addWidget(status_);
    resize(720, 520);

    connect(back, &QPushButton::clicked, view_, &QWebEngineView::back);
    connect(forward, &QPushButton::clicked, view_, &QWebEngineView::forward);
    connect(reload, &QPushButton::clicked, view_, &QWebEngineView::reload);
    connect(go, &QPushButton::clicked, this, &AboutWindow::go);
    connect(leave, &QPushButton::clicked, this, [this] { finish(ui::result::Completed); });
    connect(view_, &QWebEngineView::loadFinished, loading_, &QLabel::hide);
    connect(view_, &QWebEngineView::titleChanged, this, [this](const QString& title) {
        setWindowTitle(title);
        frameWindow()->setWindowTitle(title);
    });
    connect(view_->page(), &QWebEnginePage::linkHovered, status_,
            [this](const QString& link) { status_->showMessage(link); });

    // The page is written anew at every opening.
    QFile::remove("sobreosistema.html");
    QFile file("sobreosistema.html");
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(QByteArray::fromStdString(page()));
    file.close();
    address_->setText(QFileInfo(file).absoluteFilePath());
    go->click();
}

AboutWindow::~AboutWindow() { delete view_; } // the page goes before the browser's profile

void AboutWindow::go() {
    QString text = address_->text().trimmed();
    QUrl url = QFileInfo::exists(text) ? QUrl::fromLocalFile(text) : QUrl::fromUserInput(text);
    loading_->show();
    view_->load(url);
}

void AboutWindow::start() { (new AboutWindow)->open(); }

QString SupportWindow::address() {
    std::string server = ini::read("saldora.INI", "Suporte", "Endereco", "https://www.saldora.com.br");
    while (!server.empty() && server.back() == '/') server.pop_back();
    return QString::fromStdString(server + "/SuporteOnLine.html");
}

SupportWindow::SupportWindow() : ui::Screen("SuporteOnline") {
    setWindowTitle("Vexa");
    view_ = new QWebEngineView(this);
    view_->setObjectName("Browser");
    auto* leave = ui::makeButton(this, "Sair", "&Sair");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(leave);
    layout->addLayout(bottom);
    resize(720, 520);
    connect(leave, &QPushButton::clicked, this, [this] { finish(ui::result::Completed); });
    view_->load(QUrl(address()));
}

SupportWindow::~SupportWindow() { delete view_; }

void SupportWindow::start() { (new SupportWindow)->open(); }

} // namespace saldora::app
