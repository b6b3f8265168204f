#pragma once
// The access control of the program: users and their passwords, logins, the named rights of each
// area of the program and each user's rights in it, and the sessions of every station that
// shares the data folder. Plain code over the record store; the windows and the ds_ calls of the
// program (component.h) sit on top of it.
//
// Rules:
// - Logins compare without regard to letter case ("zuk" is "ZUK"); passwords are case-sensitive.
//   Both are fixed-width texts of 12 characters, so trailing blanks do not count.
// - A new user's password is the login; the first user of an installation is an administrator.
// - Administrators, and the super user of the run, hold every right of every area; anyone else
//   holds exactly the rights granted to him, none until granted.
// - Only administrators list, add, change and delete users and change rights. Nobody deletes
//   himself, and the last administrator is neither deleted nor made an ordinary user.
// - Every answer reads the files afresh, so a change made on one station holds on every other at
//   its next question.
// - A session names its station (host and process) and gives a sign of life with refresh(); the
//   sessions that have given none for a while are no longer listed as connected.
//
// Text in and out is UTF-8; the files hold cp1252. Failures are values: Error texts are
// Portuguese and can be shown as they stand.
#include "data/file_routines.h"
#include "data/result.h"
#include "security/password_hash.h"
#include "security/security_files.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace saldora::security {

// Names the login of this component; nonzero while someone is logged in with it.
using Handle = int32_t;
// Seconds since 1970 (UTC).
using Clock = std::function<double()>;

inline constexpr int kPasswordWidth = 12;
inline constexpr int kRightsPerArea = 32;
inline constexpr uint32_t kEveryRight = 0xFFFFFFFFu;

// Error numbers of the component (Error::code); store errors keep the store's numbers.
namespace errc {
constexpr int NoDataFolder = 1001;
constexpr int NotLoggedIn = 1002;
constexpr int AdministratorsOnly = 1003;
constexpr int InvalidText = 1004; // blank, too long, or a character the files cannot hold
constexpr int DuplicateLogin = 1005;
constexpr int NoSuchUser = 1006;
constexpr int LastAdministrator = 1007;
constexpr int DeletingYourself = 1008;
constexpr int TooManyRights = 1009;
constexpr int UsersExist = 1010;
constexpr int Refused = 1011; // wrong login or password
} // namespace errc
// Whether the component itself refused (its text says why); otherwise the store failed.
inline bool isRefusal(const Error& e) {
    return e.engineCode == 0 && e.code >= errc::NoDataFolder && e.code <= errc::Refused;
}

struct User {
    int32_t id = 0;
    std::string login, name;
    bool administrator = false;
};

// An area of the program and the names of its rights (always 32, blank ones included), bit n
// being the right named rights[n].
struct Area {
    std::string name;
    std::vector<std::string> rights;
};

struct Connection {
    std::string login, name; // empty login: the user was deleted meanwhile
    std::string station;
    int32_t process = 0;
    double since = 0, lastSeen = 0;
};

// One user's rights to grant and to take away in one area.
struct RightsChange {
    int32_t user = 0;
    uint32_t grant = 0, revoke = 0;
};

enum class PasswordChange {
    Changed = 0,
    NotLoggedIn,
    WrongCurrent,
    EmptyNew,
    TooLong,
    InvalidCharacter,
    RepetitionDiffers,
    SameAsCurrent,
    NotStored,
};
// What the user is told about the result.
std::string passwordChangeText(PasswordChange result);

class Security {
  public:
    struct Options {
        HashLimits limits = HashLimits::interactive();
        Clock clock;         // the system clock when empty
        std::string station; // the host name when empty
        int32_t process = 0; // this process when 0
        double refreshSeconds = 30;
        double staleSeconds = 120; // a session silent for longer is not listed
    };

    Security();
    explicit Security(Options options);
    ~Security(); // ends the session
    Security(const Security&) = delete;
    Security& operator=(const Security&) = delete;

    const Options& options() const { return options_; }

    // The files follow the data folder. Another folder ends the session and closes the files;
    // they are opened (and created when missing) at the next question.
    void setDataFolder(const std::string& folder);
    const std::string& dataFolder() const { return folder_; }
    void closeTables();

    // --- Logins ---------------------------------------------------------------------------

    Result<int64_t> countUsers();
    // Creates the first user, an administrator, while the installation has none (UsersExist
    // otherwise, and nothing changes). Checked and done in one transaction, so two stations
    // starting on a new folder together create one first user.
    Status insertFirstUser(std::string_view login, std::string_view name,
                           std::string_view password);

    // A handle, or Error Refused for a wrong login or password (which of the two is not told).
    // A successful login ends this component's earlier session.
    Result<Handle> login(std::string_view login, std::string_view password);
    // Logs the other user in in place of the current one: the handle stays the same and now
    // names the new user. On refusal the current user stays.
    Status changeLogin(Handle handle, std::string_view login, std::string_view password);
    void logout(Handle handle);
    bool isLoggedIn(Handle handle) const;

    // The user the handle names, read afresh (NoSuchUser when deleted meanwhile).
    Result<User> currentUser(Handle handle);
    Result<bool> checkPassword(Handle handle, std::string_view password);
    PasswordChange changePassword(Handle handle, std::string_view current,
                                  std::string_view newPassword, std::string_view repeated);

    // --- Rights ---------------------------------------------------------------------------

    // The user with this login holds every right during this run.
    void setSuperUser(std::string_view login);
    Result<bool> isAdministrator(Handle handle);
    // The user's rights in the area; 0 without a valid login.
    Result<uint32_t> allowed(Handle handle, std::string_view area);

    // Records the area's rights names ("Access|Cadastros|..."; at most 32, blanks included).
    Status registerArea(std::string_view area, std::string_view rights);
    Result<std::vector<Area>> areas();
    Result<Area> area(std::string_view name); // unregistered: 32 blank names

    // --- Upkeep, for administrators -------------------------------------------------------

    Result<std::vector<User>> users(Handle handle); // in login order
    Result<User> addUser(Handle handle, std::string_view login, std::string_view name,
                         bool administrator);
    Status changeUser(Handle handle, int32_t id, std::string_view name, bool administrator);
    Status resetPassword(Handle handle, int32_t id); // back to the login
    Status deleteUser(Handle handle, int32_t id);
    // Stored rights of every user in the area, by user id (users without a record are absent).
    Result<std::map<int32_t, uint32_t>> rights(Handle handle, std::string_view area);
    // Applies each change to the rights stored now, in one transaction, so that a change made
    // meanwhile by another station to other rights is kept. Users deleted meanwhile are skipped.
    Status changeRights(Handle handle, std::string_view area,
                        const std::vector<RightsChange>& changes);

    // --- Sessions -------------------------------------------------------------------------

    // The sign of life of this component's session; puts the session back when another station
    // took it for stale. Nothing to do without a session.
    Status refresh();
    // Sessions with a recent sign of life, by login and station.
    Result<std::vector<Connection>> connections();

  private:
    struct Session {
        Handle handle = 0;
        int32_t user = 0;
        std::string token;
        double since = 0;
    };

    double now() const;
    Result<store::Database*> usersDb();
    Result<store::Database*> sessionsDb();
    Result<store::Database*> opened(DataFile& file, bool& open);
    Result<std::optional<files::SegUsuario>> userByLogin(std::string_view login);
    Result<std::optional<files::SegUsuario>> userById(store::Database& db, int32_t id);
    Result<User> administrator(Handle handle);
    Result<int> administratorCount(store::Database& db);
    Result<files::SegUsuario> verified(std::string_view login, std::string_view password);
    Status startSession(int32_t user);
    void endSession();
    files::SegSessao sessionRecord(const std::string& token, int32_t user, double since) const;

    Options options_;
    PasswordHasher hasher_;
    std::string folder_;
    DataFile usersFile_, sessionsFile_;
    bool usersOpen_ = false, sessionsOpen_ = false;
    std::string superUser_; // cp1252
    Session session_;
    Handle lastHandle_ = 0;
};

} // namespace saldora::security
