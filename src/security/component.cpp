#include "security/component.h"

#include "security/appearance.h"
#include "security/connected_users_window.h"
#include "security/lock_screen.h"
#include "security/login_change_window.h"
#include "security/rights_editor.h"
#include "security/user_browse.h"

#include <QCoreApplication>
#include <QTimer>

#include <memory>

namespace saldora::security {
namespace {

std::unique_ptr<Security>& installed() {
    static std::unique_ptr<Security> s;
    return s;
}

// The session's sign of life, for as long as the program runs; without a session it does
// nothing. A sign that cannot be written (the file busy for a moment) is given at the next beat.
void keepSessionAlive() {
    static QTimer* timer = nullptr;
    if (timer || !QCoreApplication::instance()) return;
    timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(static_cast<int>(component().options().refreshSeconds * 1000));
    QObject::connect(timer, &QTimer::timeout, [] { (void)component().refresh(); });
    timer->start();
}

void takeCaption(const std::string& caption) {
    if (!caption.empty()) appearance().caption = caption;
}

// Whether the handle's user may use an administrator's window; tells him when not.
bool administratorOrTold(Handle handle) {
    auto admin = component().isAdministrator(handle);
    if (!admin) {
        tellFailure(admin.error());
        return false;
    }
    if (!*admin) ds_SecurityMessage("AccessRestricted");
    return *admin;
}

} // namespace

Security& component() {
    if (!installed()) installed() = std::make_unique<Security>();
    return *installed();
}

void installComponent(Security::Options options) {
    installed().reset();
    installed() = std::make_unique<Security>(std::move(options));
}

void setDataFolder(const std::string& folder) {
    component().setDataFolder(folder);
}

void ds_SetLogo(const std::string& icon, int) {
    appearance().logo = icon;
}

void ds_SetPath(const std::string&, const std::string&, const std::string&, int, int, int) {}

void ds_SetDefaultFont(const std::string& name, int size, int weight, long color) {
    message_box::ScreenFont& font = appearance().font;
    font.name = name;
    font.size = size;
    font.style = weight;
    font.color = color;
}

int ds_CountUsers(const std::string& caption) {
    takeCaption(caption);
    auto count = component().countUsers();
    if (!count) {
        tellFailure(count.error());
        return -1;
    }
    return static_cast<int>(*count);
}

int ds_InsertFirstUser(const std::string& caption, const std::string& login,
                       const std::string& name, const std::string& password) {
    takeCaption(caption);
    Status s = component().insertFirstUser(login, name, password);
    if (s) return 0;
    if (s.error().code == errc::UsersExist) return 1;
    tellFailure(s.error());
    return 2;
}

Handle ds_LoginText(const std::string& caption, const std::string& login,
                    const std::string& password, int) {
    takeCaption(caption);
    auto handle = component().login(login, password);
    if (!handle) {
        if (handle.error().code != errc::Refused) tellFailure(handle.error());
        return 0;
    }
    keepSessionAlive();
    return *handle;
}

void ds_SetSuperUser(const std::string& login) {
    component().setSuperUser(login);
}

void ds_Logout(Handle handle) {
    component().logout(handle);
}

void ds_CloseTables() {
    component().closeTables();
}

std::string ds_CurrentName(Handle handle) {
    auto user = component().currentUser(handle);
    return user ? user->name : std::string();
}

uint32_t ds_Allowed(Handle handle, const std::string& area, int) {
    auto rights = component().allowed(handle, area);
    if (!rights) {
        tellFailure(rights.error());
        return 0;
    }
    return *rights;
}

void ds_SecurityMessage(const std::string& name) {
    if (name == "AccessRestricted") messages().show(accessRestrictedMessage());
}

void ds_SetAccess(Handle handle, const std::string& area, const std::string& rights,
                  QWidget* parent) {
    if (Status s = component().registerArea(area, rights); !s) return tellFailure(s.error());
    if (!administratorOrTold(handle)) return;
    auto a = component().area(area);
    if (!a) return tellFailure(a.error());
    RightsEditor::start(component(), handle, *a, parent);
}

void ds_operatorbrowse(Handle handle, QWidget* parent) {
    if (!administratorOrTold(handle)) return;
    UserBrowse::start(component(), handle, parent);
}

void ds_LockScreen(Handle handle, std::function<void()> unlocked, QWidget* frame) {
    if (!component().isLoggedIn(handle)) {
        if (unlocked) unlocked();
        return;
    }
    LockScreen::start(component(), handle, std::move(unlocked), frame);
}

void ds_ChangeLoginEx(Handle handle, const std::string& login, const std::string& password, int,
                      int, int, int, std::function<void(bool changed)> done, QWidget* parent) {
    if (!component().isLoggedIn(handle)) {
        if (done) done(false);
        return;
    }
    LoginChangeWindow::start(component(), handle, login, password, std::move(done), parent);
}

std::string ds_CurrentlyLoggedIn(int, int, QWidget* parent) {
    auto list = component().connections();
    if (!list) {
        tellFailure(list.error());
        return {};
    }
    ConnectedUsersWindow::start(component(), parent);
    std::string text;
    for (const Connection& c : *list)
        text +=
            c.login + " - " + c.name + " (" + c.station + ", " + std::to_string(c.process) + ")\n";
    return text;
}

int ds_ChangePasswordEx(Handle handle, int, const std::string& current,
                        const std::string& newPassword, const std::string& repeated) {
    PasswordChange result = component().changePassword(handle, current, newPassword, repeated);
    if (result != PasswordChange::Changed) tell(passwordChangeText(result));
    return static_cast<int>(result);
}

} // namespace saldora::security
