#include "app/screen_catalog.h"

#include "app/session.h"
#include "security/component.h"

namespace saldora::app {

const char* const kMainRights =
    "Access|Cadastros|Relatórios|Exclusão de lançamen||||||||||||||||||||||||||||";
const char* const kQuickAccessRights = "Access|||||||||||||||||||||||||||||||";

uint32_t requiredRight(ScreenId id) {
    switch (id) {
    case ScreenId::CompanyData:
    case ScreenId::Clients:
    case ScreenId::Accounts:
    case ScreenId::Postings:
    case ScreenId::Closing: return main_right::Access | main_right::Cadastros;
    case ScreenId::PrinterSetup:
    case ScreenId::ClientListing:
    case ScreenId::AccountListing:
    case ScreenId::Statement: return main_right::Access | main_right::Relatorios;
    case ScreenId::DeleteAll:
    case ScreenId::DeleteOne: return main_right::Access | main_right::Exclusao;
    default: return main_right::Access;
    }
}

ScreenCatalog& screens() {
    static ScreenCatalog catalog;
    return catalog;
}

bool ScreenCatalog::allowed(ScreenId id) const {
    uint32_t need = requiredRight(id);
    uint32_t have = security::ds_Allowed(session().handle, "Main", 0);
    return (have & need) == need;
}

bool ScreenCatalog::start(ScreenId id) const {
    auto it = starters_.find(id);
    if (it == starters_.end()) return false;
    if (!allowed(id)) {
        security::ds_SecurityMessage("AccessRestricted");
        return false;
    }
    it->second();
    return true;
}

} // namespace saldora::app
