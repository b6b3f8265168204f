#pragma once
// Every screen the frame, its toolbar and the quick-access tree can start, with the right of area
// "Main" it needs. Starting goes through one place, so that a screen started from the tree, the
// toolbar or a key passes the same check as its menu item. A screen not yet built has no starter:
// its menu item, button and tree line are there, disabled.
#include <cstdint>
#include <functional>
#include <map>

namespace saldora::app {

enum class ScreenId {
    CompanyData, Clients, Accounts, Postings, Closing,          // A-Cadastros
    PrinterSetup, ClientListing, AccountListing, Statement,     // C-Relatórios
    DeleteAll, DeleteOne, Wallpaper, MenuStyle,                 // D-Outras Rotinas
    UpdateCheck, ExportClients,                                 // F-Saída
    About,                                                      // G-Ajuda
    Users, ChangePassword, LockScreen, ChangeLogin, WhoIsOn,    // H-Segurança
    QuickAccess, DataParameters, Themes, Fonts, Calculator, Agenda,
};

// Bits of the rights of area "Main", in the order given to the rights editor.
namespace main_right {
constexpr uint32_t Access = 1, Cadastros = 2, Relatorios = 4, Exclusao = 8;
} // namespace main_right

// The rights of area "Main" as the rights editor shows them: four names and 28 empty ones.
extern const char* const kMainRights;
extern const char* const kQuickAccessRights;

uint32_t requiredRight(ScreenId id);

class ScreenCatalog {
  public:
    void setStarter(ScreenId id, std::function<void()> start) { starters_[id] = std::move(start); }
    bool exists(ScreenId id) const { return starters_.count(id) != 0; }
    // Whether the logged-in user may start it now (reads the rights each time).
    bool allowed(ScreenId id) const;
    bool available(ScreenId id) const { return exists(id) && allowed(id) && !held(id); }
    // A screen held back while another window stands (the statement while the posting criteria
    // are open): its commands are greyed and starting it does nothing. Holds count.
    void hold(ScreenId id, bool held);
    bool held(ScreenId id) const;
    // Runs whenever a hold changes, so the frame greys or restores the commands.
    void setHoldChanged(std::function<void()> handler) { holdChanged_ = std::move(handler); }
    // Starts the screen when it exists and the user may; a refused right shows the component's
    // "AccessRestricted" message. True when started.
    bool start(ScreenId id) const;

  private:
    std::map<ScreenId, std::function<void()>> starters_;
    std::map<ScreenId, int> holds_;
    std::function<void()> holdChanged_;
};

ScreenCatalog& screens();

} // namespace saldora::app
