#pragma once
// The access control as the program calls it: the ds_ calls, over one component per run.
//
// Handles: a login gives a nonzero handle, which the later calls pass back. Each run keeps one
// session: a new login (or a login change) ends the session before it, and the handles of
// earlier sessions name nobody. Windows never wait in a loop of their own: the calls that open
// one return at once, and those whose caller goes on afterwards take what to do then.
#include "security/security.h"

#include <functional>
#include <string>

class QWidget;

namespace saldora::security {

// The component of the run, with the program's hash limits until one is installed.
Security& component();
// Replaces the component of the run; the old one ends its session and closes its files. Tests
// install one with the least hash limits and a clock of their own.
void installComponent(Security::Options options);

// Start-up, whenever it applies the data folder to the files.
void setDataFolder(const std::string& folder);

// --- Start-up settings ---------------------------------------------------------------------

// The icon of the component's windows.
void ds_SetLogo(const std::string& icon, int iconIndex);
// Three folders for the component's tables and three switches. The tables follow the data
// folder (setDataFolder), so that every station sharing it shares the users; the program passes
// blank folders, and others are not used.
void ds_SetPath(const std::string& users, const std::string& rights, const std::string& log, int,
                int, int);
// The font of the component's windows: name, points, weight and colour (BGR).
void ds_SetDefaultFont(const std::string& name, int size, int weight, long color);

// --- Logins --------------------------------------------------------------------------------

// The caption given to these calls becomes the caption of the component's messages.
// Number of users; -1 when the users cannot be read (the component has said why).
int ds_CountUsers(const std::string& caption);
// 0: created; 1: there are users already, nothing done; 2: failed (the component has said why).
int ds_InsertFirstUser(const std::string& caption, const std::string& login,
                       const std::string& name, const std::string& password);
// A handle; 0 for a wrong login or password, which the caller tells, or for a failure, which
// the component has told. The option word selects nothing here.
Handle ds_LoginText(const std::string& caption, const std::string& login,
                    const std::string& password, int option);
void ds_SetSuperUser(const std::string& login);
void ds_Logout(Handle handle);
// Ends the session and closes the tables (at the end of the program).
void ds_CloseTables();
// The user's name, or blank without a valid login.
std::string ds_CurrentName(Handle handle);

// --- Rights --------------------------------------------------------------------------------

// The user's rights in the area, bit n for the area's right n; 0 without a valid login.
uint32_t ds_Allowed(Handle handle, const std::string& area, int);
// Shows one of the component's messages by name: "AccessRestricted".
void ds_SecurityMessage(const std::string& name);
// Records the area's rights ("|"-separated names, the first "Access") and, for an
// administrator, opens the editor of every user's rights in it; anyone else is told
// "AccessRestricted".
void ds_SetAccess(Handle handle, const std::string& area, const std::string& rights,
                  QWidget* parent = nullptr);
// The upkeep of users, for administrators ("AccessRestricted" for anyone else).
void ds_operatorbrowse(Handle handle, QWidget* parent = nullptr);

// --- Windows and the password --------------------------------------------------------------

// Covers the frame until the user of the handle types his password; then `unlocked` runs. Runs
// it at once without a valid login: there would be nobody to unlock.
void ds_LockScreen(Handle handle, std::function<void()> unlocked = {}, QWidget* frame = nullptr);
// A login window, opened with the login and password given: a successful login there logs that
// user in in place of the current one, the handle naming him from then on, and `done(true)`
// runs (the caller reads the rights again); cancelling keeps the current user: `done(false)`.
void ds_ChangeLoginEx(Handle handle, const std::string& login, const std::string& password, int,
                      int, int, int, std::function<void(bool changed)> done,
                      QWidget* parent = nullptr);
// Opens the list of the users connected on every station; returns the list as text, one line
// each.
std::string ds_CurrentlyLoggedIn(int, int, QWidget* parent = nullptr);
// 0 when changed; otherwise the component has told why and the result says it too
// (PasswordChange).
int ds_ChangePasswordEx(Handle handle, int, const std::string& current,
                        const std::string& newPassword, const std::string& repeated);

} // namespace saldora::security
