#include "screens/company_data.h"

#include "data/files.h"
#include "data/globals.h"
#include "data/settings_keys.h"

#include <QFont>

namespace saldora::screens {
namespace {

DataFile* gUsuario = nullptr;

namespace prefs = settings::preferences;

QFont windowFont() {
    return QFont("MS Sans Serif", 8);
}

} // namespace

void setCompanyDataFile(DataFile* usuario) {
    gUsuario = usuario;
}

const Vendor& vendor() {
    static const Vendor v{"Saldora Sistemas Ltda.",
                          "Rua das Palmeiras, 250 - sala 12",
                          "Centro",
                          "Campinas",
                          "SP",
                          "13010100",
                          "24581360000192",
                          "30417852",
                          "suporte@saldora.com.br"};
    return v;
}

ui::RecordForm* cadastraUsuarios(ui::Request request, std::optional<store::Record> record) {
    ui::RecordFormSpec design;
    design.procedure = std::string(settings::window::cadastraUsuarios);
    design.title = "USUÁRIOS";
    design.file = gUsuario;
    design.table = &files::Usuario::table();
    design.tabs = {{"Tab:1", "&1-Usuário", "Dados do Usuário"},
                 {"Tab:2", "&2-Autor", "Dados do Autor"},
                 {"Tab:3", "&3-Enter=Tab", {}}};
    design.selectedTabText = QColor(255, 0, 0); // colour value 255
    using F = ui::FormField;
    auto user = [](std::string field, QString prompt, std::string picture, QString status) {
        return F::entry(std::move(field), std::move(prompt), std::move(picture), {})
            .withStatus(std::move(status));
    };
    const Vendor& v = vendor();
    design.fields = {
        user("USU:USUARIOEMPRESA", "Empresa:", "@s50", "Nome da empresa do usuário"),
        user("USU:USUARIOENDERECO", "Endereço:", "@s50", "Endereço do usuário"),
        user("USU:USUARIOBAIRRO", "Bairro:", "@s15", "Bairro do usuário"),
        user("USU:USUARIOCIDADE", "Cidade:", "@s15", "Cidade do usuário"),
        user("USU:USUARIOESTADO", "Estado:", "@s2", "Estado do usuário"),
        user("USU:USUARIOCEP", "CEP:", "@P#####-###P", "CEP do usuário"),
        user("USU:USUARIOEMPRRESU", "Abreviatura:", "@s30", "Nome abreviado da empresa"),
        user("USU:USUARIOCGC", "CNPJ:", "@S30", "CGC do usuário"),
        user("USU:USUARIOINSCREST", "Inscrição Estadual:", "@s20", "Inscrição estadual do usuário"),
        user("USU:USUARIOINSCRMUN", "Inscrição Munic.:", "@s20", "Inscrição municipal do usuário"),
        user("USU:USUARIOTELS", "Telefones:", "@s30", "Todos os telefones do usuário"),
        user("USU:USUARIOFAX", "FAX:", "@s14", "FAX do usuário"),
        // The vendor's data: shown, never taken from what is typed.
        F::line("AutorEmail", QString::fromStdString(v.email)).onTab(1),
        F::fixed("USU:AUTOREMPRESA", "Empresa:", "@s40", v.company)
            .withStatus("Empresa autora do sistema")
            .onTab(1),
        F::fixed("USU:AUTORENDERECO", "Endereço:", "@s40", v.address).onTab(1),
        F::fixed("USU:AUTORBAIRRO", "Bairro:", "@s15", v.district).onTab(1),
        F::fixed("USU:AUTORCIDADE", "Cidade:", "@s15", v.city).onTab(1),
        F::fixed("USU:AUTORESTADO", "Estado:", "@s2", v.state).onTab(1),
        F::fixed("USU:AUTORCEP", "CEP:", "@P#####-###P", v.postalCode).onTab(1),
        F::fixed("LOC:AUTORCNPJ", "CNPJ:", "@P##.###.###/####-##P", v.cnpj).onTab(1),
        F::fixed("LOC:INSCRICAOMUNICIPAL", "Inscrição Municipal:", "@p##.###.###p",
                 v.municipalRegistration)
            .onTab(1),
        F::choice("USU:ENTERTAB", "Enter = Tab", "Indica se a tecla Enter será igual a Tab",
                  {{"1", "Sim"}, {"0", "Não"}})
            .withStatus("Indica se a tecla Enter será igual a Tab")
            .onTab(2),
    };
    design.tabKey = std::string(prefs::cadastraUsuariosTab);
    // Every window opened from now on follows the setting as completed here.
    design.completed = [](const store::Record& r) {
        globals().enterTab = static_cast<uint8_t>(r.integer(r.table().fieldIndex("USU:ENTERTAB")));
    };
    auto* form = new ui::RecordForm(std::move(design), request, std::move(record));
    form->setFont(windowFont());
    return form;
}

ui::RegisterBrowse* pesquisaUsuarios() {
    ui::RegisterBrowseSpec design;
    design.procedure = std::string(settings::window::pesquisaUsuarios);
    design.title = "Pesquisa Usuários";
    design.file = gUsuario;
    design.table = &files::Usuario::table();
    design.tabs = {{"Tab1", "Tab1", "", "", "", {}}}; // no key: the records in file order
    design.listFormat = "120L|_M*~Abreviatura da Empresa~@s30@";
    design.listFields = {"USU:USUARIOEMPRRESU"};
    design.listKey = std::string(prefs::pesquisaUsuariosList);
    design.tabKey = std::string(prefs::pesquisaUsuariosTab);
    design.form = cadastraUsuarios;
    design.selectButton = false;
    design.insert.icon = "CRDFLE12.ICO";
    design.change.icon = "ERASE02.ICO";
    design.remove.icon = "TRASH01.ICO";
    design.close.icon = "DOORWAY.ICO";
    design.help.text = "Ajuda";
    design.help.icon = {};
    design.mostRecords = 1;
    design.fullMessage = Message::withButtons("Só pode existir um registro de usuário", "Aviso",
                                            Icon::Question, button::Ok);
    design.windowKeys = true;
    auto* browse = new ui::RegisterBrowse(std::move(design));
    browse->setFont(windowFont());
    browse->list()->setStatusTip("Pesquisando Registros");
    return browse;
}

} // namespace saldora::screens
