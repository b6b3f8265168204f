#pragma once
// The company data: Pesquisa_usuarios lists the one USUARIO record (the company that uses the
// program) and Cadastra_usuarios adds, changes or shows it, with the vendor's data on its second
// tab and the "Enter = Tab" setting on its third. Completing the form sets GLO:EnterTab, which
// every window opened afterwards follows.
#include "ui/record_form.h"
#include "ui/register_browse.h"

namespace saldora {
class DataFile;
}

namespace saldora::screens {

// The USUARIO file, as the program has registered it with the data path manager.
void setCompanyDataFile(DataFile* usuario);

ui::RegisterBrowse* pesquisaUsuarios();
ui::RecordForm* cadastraUsuarios(ui::Request request, std::optional<store::Record> record);

// The vendor's own data shown on the form's "&2-Autor" tab (plain text as the pictures take it).
struct Vendor {
    std::string company, address, district, city, state, postalCode, cnpj, municipalRegistration,
        email;
};
const Vendor& vendor();

} // namespace saldora::screens
