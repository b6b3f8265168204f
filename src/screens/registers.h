#pragma once
// The accounts and clients registers: PesquisaContas with CadastraContas, PesquisaFiliais with
// CadastraFiliais. Each browse is a declaration on the register framework; called with the select
// request it hands back the chosen record.
#include "ui/record_form.h"
#include "ui/register_browse.h"

namespace saldora {
class DataFile;
}

namespace saldora::screens {

// The register files, as the program has registered them with the data path manager.
void setRegisterFiles(DataFile* tabmov1, DataFile* cadfil1);
DataFile& tabmov1File();
DataFile& cadfil1File();

ui::RegisterBrowse* pesquisaContas(ui::Request request = ui::Request::Change);
ui::RecordForm* cadastraContas(ui::Request request, std::optional<store::Record> record);

ui::RegisterBrowse* pesquisaFiliais(ui::Request request = ui::Request::Change);
ui::RecordForm* cadastraFiliais(ui::Request request, std::optional<store::Record> record);

} // namespace saldora::screens
