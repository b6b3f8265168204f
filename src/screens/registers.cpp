#include "screens/registers.h"

#include "data/files.h"
#include "data/settings_keys.h"
#include "data/text.h"

#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QLayout>

namespace saldora::screens {
namespace {

DataFile* gTabmov1 = nullptr;
DataFile* gCadfil1 = nullptr;

namespace prefs = settings::preferences;

} // namespace

void setRegisterFiles(DataFile* tabmov1, DataFile* cadfil1) {
    gTabmov1 = tabmov1;
    gCadfil1 = cadfil1;
}

DataFile& tabmov1File() { return *gTabmov1; }
DataFile& cadfil1File() { return *gCadfil1; }

// ---- Accounts ---------------------------------------------------------------------------------

ui::RecordForm* cadastraContas(ui::Request request, std::optional<store::Record> record) {
    ui::RecordFormSpec design;
    design.procedure = std::string(settings::window::cadastraContas);
    design.title = "CADASTRO DE CONTAS";
    design.file = gTabmov1;
    design.table = &files::Tabmov1::table();
    using F = ui::FormField;
    design.fields = {
        F::entry("TAB1:CODMOV", "Conta:", "@s3", "Código da conta"),
        F::entry("TAB1:DESCRICAO", "Descrição:", "@s25", "Nome da conta"),
        F::choice("TAB1:CRDB", "Escolha:", "Indicador de Débito ou Crédito",
                  {{"+", "Crédito"}, {"-", "Débito"}}),
    };
    design.keyDescriptions = {{"TAB1:KEY_TABMOV", "Código"}, {"TAB1:KEY_DESCRICAO", "Descrição"}};
    design.tabKey = std::string(prefs::cadastraContasTab);
    return new ui::RecordForm(std::move(design), request, std::move(record));
}

ui::RegisterBrowse* pesquisaContas(ui::Request request) {
    ui::RegisterBrowseSpec design;
    design.procedure = std::string(settings::window::pesquisaContas);
    design.title = "Pesquisa Contas";
    design.file = gTabmov1;
    design.table = &files::Tabmov1::table();
    design.tabs = {
        {"&1-Descrição", "Tab2", "TAB1:KEY_DESCRICAO", "", "", {}},
        {"&2-Código", "Tab1", "TAB1:KEY_TABMOV", "TAB1:CODMOV", "@s3", "Código da conta"},
    };
    design.listFormat = "27C|_M*~Conta:~@s3@123L|_M*~Descrição:~@s25@4C|_M*~CRDB:~@s1@";
    design.listFields = {"TAB1:CODMOV", "TAB1:DESCRICAO", "TAB1:CRDB"};
    design.listKey = std::string(prefs::pesquisaContasList);
    design.tabKey = std::string(prefs::pesquisaContasTab);
    design.letterKey = std::string(prefs::pesquisaContasLocator);
    design.form = cadastraContas;
    return new ui::RegisterBrowse(std::move(design), request);
}

// ---- Clients and branches ---------------------------------------------------------------------

ui::RecordForm* cadastraFiliais(ui::Request request, std::optional<store::Record> record) {
    ui::RecordFormSpec design;
    design.procedure = std::string(settings::window::cadastraFiliais);
    design.title = "CADASTRO DE FILIAIS/CLIENTES";
    design.file = gCadfil1;
    design.table = &files::Cadfil1::table();
    using F = ui::FormField;
    design.fields = {
        F::entry("FIL1:CODFIL", "Sigla:", "@s15", "Código da filial", true), // codes in upper case
        F::entry("FIL1:DESCRICAO", "Descrição:", "@s30", "Nome da filial"),
        F::entry("FIL1:ENDERECO", "Endereço:", "@s50", "Endereço da Filial/Cliente"),
        F::entry("FIL1:NUMERO", "Número:", "@s5", "Número do endereço da Filial/Cliente"),
        F::entry("FIL1:BAIRRO", "Bairro:", "@s30", "Bairro da Filial/Cliente"),
        F::entry("FIL1:CEP", "CEP:", "@s8", "CEP da Filial/Cliente"),
        F::entry("FIL1:CIDADE", "Cidade:", "@s30", "Cidade da Filial/Cliente"),
        F::entry("FIL1:UF", "UF:", "@s2", "Unidade da Federeção da Filial/Cliente"),
        F::entry("FIL1:TELEFONES", "Telefones:", "@s50", "Telefones da Filial/Cliente"),
        F::entry("FIL1:EMAIL", "Email:", "@s50", "E-mail do Cliente"),
    };
    design.keyDescriptions = {{"FIL1:KEY_CADFIL", "Código"}, {"FIL1:KEY_DESCRICAO", "Descrição"}};
    design.tabKey = std::string(prefs::cadastraFiliaisTab);
    return new ui::RecordForm(std::move(design), request, std::move(record));
}

ui::RegisterBrowse* pesquisaFiliais(ui::Request request) {
    ui::RegisterBrowseSpec design;
    design.procedure = std::string(settings::window::pesquisaFiliais);
    design.title = "Pesquisa Filiais/Clientes";
    design.file = gCadfil1;
    design.table = &files::Cadfil1::table();
    design.tabs = {
        {"&1-Descrição", "Tab2", "FIL1:KEY_DESCRICAO", "", "", {}},
        {"&2-Código", "Tab1", "FIL1:KEY_CADFIL", "FIL1:CODFIL", "@s15", "Código da filial"},
    };
    design.listFormat = "62L|_M*~Filial/Cliente:~L(4)@s15@120L|_M*~Descrição:~L(4)@s30@";
    design.listFields = {"FIL1:CODFIL", "FIL1:DESCRICAO"};
    design.listKey = std::string(prefs::pesquisaFiliaisList);
    design.tabKey = std::string(prefs::pesquisaFiliaisTab);
    design.letterKey = std::string(prefs::pesquisaFiliaisLocator);
    design.form = cadastraFiliais;
    auto* browse = new ui::RegisterBrowse(std::move(design), request);

    // The detail panel follows the highlight.
    auto* panel = new QFrame(browse);
    panel->setObjectName("Panel1");
    panel->setFrameShape(QFrame::StyledPanel);
    auto* form = new QFormLayout(panel);
    struct Detail { const char* prompt; const char* field; int width; };
    const Detail details[] = {{"Endereço:", "FIL1:ENDERECO", 30}, {"Cidade:", "FIL1:CIDADE", 20},
                              {"", "FIL1:UF", 2},                 {"Bairro:", "FIL1:BAIRRO", 30},
                              {"Telefones:", "FIL1:TELEFONES", 30}, {"E-mail:", "FIL1:EMAIL", 40}};
    std::vector<std::pair<QLabel*, Detail>> labels;
    for (const auto& d : details) {
        auto* l = new QLabel(panel);
        l->setObjectName(d.field);
        form->addRow(d.prompt, l);
        labels.emplace_back(l, d);
    }
    browse->layout()->addWidget(panel);
    QObject::connect(browse, &ui::RegisterBrowse::highlighted, panel,
                     [labels](const std::optional<store::Record>& r) {
                         for (const auto& [label, d] : labels) {
                             std::string text = r ? r->text(files::Cadfil1::table().fieldIndex(d.field))
                                                  : std::string();
                             label->setText(QString::fromStdString(
                                 cp1252::toUtf8(text.substr(0, static_cast<size_t>(d.width)))));
                         }
                     });
    return browse;
}

} // namespace saldora::screens
