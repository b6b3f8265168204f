#include "app/screen_catalog.h"

#include "app/session.h"
#include "security/component.h"

#include <algorithm>

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

void ScreenCatalog::hold(ScreenId id, bool held) {
    int& n = holds_[id];
    n = held ? n + 1 : std::max(0, n - 1);
    if (holdChanged_) holdChanged_();
}

bool ScreenCatalog::held(ScreenId id) const {
    auto it = holds_.find(id);
    return it != holds_.end() && it->second > 0;
}

bool ScreenCatalog::start(ScreenId id) const {
    auto it = starters_.find(id);
    if (it == starters_.end() || held(id)) return false;
    if (!allowed(id)) {
        security::ds_SecurityMessage("AccessRestricted");
        return false;
    }
    it->second();
    return true;
}

} // namespace saldora::app
