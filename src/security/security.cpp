#include "security/security.h"

#include "data/text.h"

#include <sodium.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <tuple>

#include <unistd.h>

namespace saldora::security {

using files::SegArea;
using files::SegDireito;
using files::SegSessao;
using files::SegUsuario;

namespace {

constexpr int kPage = 64;

Error error(int code, std::string text) {
    return Error{code, std::move(text)};
}

std::string clipped(std::string_view s) {
    return std::string(fixed::clip(s));
}

size_t characters(std::string_view utf8) {
    return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// A text for a field of the files: clipped, converted to cp1252 and within the width.
Result<std::string> storedText(std::string_view utf8, int width, const std::string& what,
                               bool required) {
    auto text = cp1252::fromUtf8(fixed::clip(utf8));
    if (!text) return error(errc::InvalidText, what + ": " + text.error().text);
    if (required && fixed::isBlank(*text))
        return error(errc::InvalidText, what + " não pode ficar em branco.");
    if (text->size() > static_cast<size_t>(width))
        return error(errc::InvalidText,
                     what + " pode ter no máximo " + std::to_string(width) + " caracteres.");
    return text;
}

User shown(const SegUsuario& u) {
    return User{u.id, cp1252::toUtf8(u.login), cp1252::toUtf8(u.nome), u.administrador != 0};
}

std::string randomToken() {
    unsigned char bytes[files::kTokenWidth / 2];
    randombytes_buf(bytes, sizeof bytes);
    char hex[files::kTokenWidth + 1];
    sodium_bin2hex(hex, sizeof hex, bytes, sizeof bytes);
    return hex;
}

std::string hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return "?";
    return name;
}

const store::Key& key(const store::Table& table, const char* name) {
    return *table.key(name);
}

// Reads the records of R in the order of a key from a prefix on; `f` answers whether to go on.
template <class R, class F>
Status forEach(store::Database& db, const char* keyName, const std::vector<store::Value>& prefix,
               F&& f) {
    const store::Table& table = R::table();
    store::Cursor cursor(db, table, key(table, keyName));
    cursor.seekAtOrAfter(prefix);
    for (;;) {
        auto page = cursor.page(kPage);
        if (!page) return page.error();
        if (page->empty()) return {};
        for (const store::Record& r : *page)
            if (!f(fromRecord<R>(r))) return {};
    }
}

// The first record at or after the key value, when `matches` accepts it.
template <class R, class M>
Result<std::optional<R>> first(store::Database& db, const char* keyName,
                               const std::vector<store::Value>& value, M&& matches) {
    const store::Table& table = R::table();
    store::Cursor cursor(db, table, key(table, keyName));
    cursor.seekAtOrAfter(value);
    auto r = cursor.next();
    if (!r) return r.error();
    if (!*r) return std::optional<R>();
    R typed = fromRecord<R>(**r);
    if (!matches(typed)) return std::optional<R>();
    return std::optional<R>(std::move(typed));
}

template <class R> Status add(store::Database& db, R& typed) {
    auto record = toRecord(typed);
    if (!record) return record.error();
    if (Status s = db.add(*record); !s) return s;
    typed = fromRecord<R>(*record);
    return {};
}

template <class R> Status put(store::Database& db, R& typed) {
    auto record = toRecord(typed);
    if (!record) return record.error();
    if (Status s = db.put(*record); !s) return s;
    typed = fromRecord<R>(*record);
    return {};
}

template <class R> Status remove(store::Database& db, const R& typed) {
    store::Record r(R::table());
    r.position = typed.position;
    r.version = typed.version;
    return db.remove(r);
}

Result<std::optional<SegDireito>> rightsRecord(store::Database& db, int32_t user,
                                               const std::string& area) {
    return first<SegDireito>(
        db, "SEGD:KEY_USUARIO_AREA", {int64_t{user}, area}, [&](const SegDireito& d) {
            return d.usuario == user && cp1252::compareNoCase(d.area, area) == 0;
        });
}

std::vector<std::string> splitRights(std::string_view joined) {
    std::vector<std::string> names;
    size_t start = 0;
    for (;;) {
        size_t bar = joined.find('|', start);
        names.emplace_back(joined.substr(start, bar - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    return names;
}

const char* const kStoreFailed = "A nova senha não pôde ser gravada. Tente outra vez.";

} // namespace

std::string passwordChangeText(PasswordChange result) {
    switch (result) {
    case PasswordChange::Changed:
        return "Senha alterada.";
    case PasswordChange::NotLoggedIn:
        return "Nenhum usuário está conectado.";
    case PasswordChange::WrongCurrent:
        return "A senha atual não confere.";
    case PasswordChange::EmptyNew:
        return "A nova senha não pode ficar em branco.";
    case PasswordChange::TooLong:
        return "A nova senha pode ter no máximo " + std::to_string(kPasswordWidth) + " caracteres.";
    case PasswordChange::InvalidCharacter:
        return "A nova senha tem um caractere que não pode ser digitado no login.";
    case PasswordChange::RepetitionDiffers:
        return "A nova senha e a sua repetição não conferem. Digite-as outra vez.";
    case PasswordChange::SameAsCurrent:
        return "A nova senha deve ser diferente da atual.";
    case PasswordChange::NotStored:
        return kStoreFailed;
    }
    return {};
}

Security::Security() : Security(Options{}) {}

Security::Security(Options options)
    : options_(std::move(options)), hasher_(options_.limits),
      usersFile_(files::layouts::seguranca()), sessionsFile_(files::layouts::segsessao()) {
    if (!options_.clock)
        options_.clock = [] {
            using namespace std::chrono;
            return duration<double>(system_clock::now().time_since_epoch()).count();
        };
    if (options_.station.empty()) options_.station = hostName();
    if (options_.process == 0) options_.process = static_cast<int32_t>(getpid());
}

Security::~Security() {
    closeTables();
}

double Security::now() const {
    return options_.clock();
}

void Security::setDataFolder(const std::string& folder) {
    if (folder == folder_) return;
    closeTables();
    folder_ = folder;
    usersFile_.setLocation(folder);
    sessionsFile_.setLocation(folder);
}

void Security::closeTables() {
    endSession();
    if (usersOpen_) CloseDataFile(usersFile_);
    if (sessionsOpen_) CloseDataFile(sessionsFile_);
    usersOpen_ = sessionsOpen_ = false;
}

// A file that cannot be opened ends the program with the standard warnings, as every data file
// does: nobody works without the users.
Result<store::Database*> Security::opened(DataFile& file, bool& open) {
    if (folder_.empty())
        return error(errc::NoDataFolder, "A pasta de dados ainda não foi definida.");
    if (!open) {
        OpenDataFile(file);
        open = true;
    }
    return &file.db();
}

Result<store::Database*> Security::usersDb() { return opened(usersFile_, usersOpen_); }
Result<store::Database*> Security::sessionsDb() { return opened(sessionsFile_, sessionsOpen_); }

// ---------------------------------------------------------------------------------------------
// Users

Result<std::optional<SegUsuario>> Security::userByLogin(std::string_view login) {
    auto db = usersDb();
    if (!db) return db.error();
    auto text = cp1252::fromUtf8(fixed::clip(login));
    if (!text || fixed::isBlank(*text)) return std::optional<SegUsuario>();
    return first<SegUsuario>(**db, "SEGU:KEY_LOGIN", {*text}, [&](const SegUsuario& u) {
        return cp1252::compareNoCase(u.login, *text) == 0;
    });
}

Result<std::optional<SegUsuario>> Security::userById(store::Database& db, int32_t id) {
    return first<SegUsuario>(db, "SEGU:KEY_ID", {int64_t{id}},
                             [&](const SegUsuario& u) { return u.id == id; });
}

Result<int> Security::administratorCount(store::Database& db) {
    int count = 0;
    Status s = forEach<SegUsuario>(db, "SEGU:KEY_ID", {}, [&](const SegUsuario& u) {
        count += u.administrador != 0;
        return true;
    });
    if (!s) return s.error();
    return count;
}

Result<int64_t> Security::countUsers() {
    auto db = usersDb();
    if (!db) return db.error();
    return (*db)->count(SegUsuario::table());
}

Status Security::insertFirstUser(std::string_view login, std::string_view name,
                                 std::string_view password) {
    auto db = usersDb();
    if (!db) return db.error();
    auto storedLogin = storedText(login, files::kLoginWidth, "O login", true);
    if (!storedLogin) return storedLogin.error();
    auto storedName = storedText(name, files::kNameWidth, "O nome", false);
    if (!storedName) return storedName.error();
    auto hash = hasher_.hash(clipped(password));
    if (!hash) return hash.error();

    store::Transaction tx(**db);
    if (!tx.status()) return tx.status();
    auto count = (*db)->count(SegUsuario::table());
    if (!count) return count.error();
    if (*count > 0) return error(errc::UsersExist, "O sistema já tem usuários.");
    SegUsuario user;
    user.id = 1; // later users get random ids from 2 on
    user.login = *storedLogin;
    user.nome = *storedName;
    user.senha = *hash;
    user.administrador = 1;
    if (Status s = add(**db, user); !s) return s;
    return tx.commit();
}

// ---------------------------------------------------------------------------------------------
// Logins

Result<SegUsuario> Security::verified(std::string_view login, std::string_view password) {
    const std::string& dummy = hasher_.dummyHash();
    auto user = userByLogin(login);
    if (!user) return user.error();
    const std::string typed = clipped(password);
    bool ok = hasher_.verify(*user ? (*user)->senha : dummy, typed) && user->has_value();
    if (!ok) return error(errc::Refused, "Login ou senha inválidos.");
    SegUsuario u = **user;
    if (hasher_.needsRehash(u.senha)) { // best effort: the login stands either way
        auto db = usersDb();
        auto renewed = hasher_.hash(typed);
        if (db && renewed) {
            store::Transaction tx(**db);
            auto fresh = userById(**db, u.id);
            if (tx.status() && fresh && *fresh) {
                SegUsuario r = **fresh;
                r.senha = *renewed;
                if (put(**db, r) && tx.commit()) u = r;
            }
        }
    }
    return u;
}

Result<Handle> Security::login(std::string_view login, std::string_view password) {
    auto user = verified(login, password);
    if (!user) return user.error();
    endSession();
    if (Status s = startSession(user->id); !s) return s.error();
    session_.handle = ++lastHandle_;
    return session_.handle;
}

Status Security::changeLogin(Handle handle, std::string_view login, std::string_view password) {
    if (!isLoggedIn(handle)) return error(errc::NotLoggedIn, "Nenhum usuário está conectado.");
    auto user = verified(login, password);
    if (!user) return user.error();
    endSession();
    if (Status s = startSession(user->id); !s) return s;
    session_.handle = handle;
    return {};
}

void Security::logout(Handle handle) {
    if (isLoggedIn(handle)) endSession();
}

bool Security::isLoggedIn(Handle handle) const {
    return handle != 0 && handle == session_.handle;
}

Result<User> Security::currentUser(Handle handle) {
    if (!isLoggedIn(handle)) return error(errc::NotLoggedIn, "Nenhum usuário está conectado.");
    auto db = usersDb();
    if (!db) return db.error();
    auto user = userById(**db, session_.user);
    if (!user) return user.error();
    if (!*user) return error(errc::NoSuchUser, "Este usuário foi excluído por outra estação.");
    User u = shown(**user);
    if (!superUser_.empty() && cp1252::compareNoCase((*user)->login, superUser_) == 0)
        u.administrator = true;
    return u;
}

Result<bool> Security::checkPassword(Handle handle, std::string_view password) {
    auto user = currentUser(handle);
    if (!user) return user.error();
    auto db = usersDb();
    if (!db) return db.error();
    auto stored = userById(**db, user->id);
    if (!stored) return stored.error();
    return *stored && hasher_.verify((*stored)->senha, clipped(password));
}

PasswordChange Security::changePassword(Handle handle, std::string_view current,
                                        std::string_view newPassword, std::string_view repeated) {
    auto user = currentUser(handle);
    if (!user) return PasswordChange::NotLoggedIn;
    auto db = usersDb();
    if (!db) return PasswordChange::NotStored;
    auto stored = userById(**db, user->id);
    if (!stored || !*stored) return PasswordChange::NotStored;
    const std::string old = clipped(current), typed = clipped(newPassword);
    if (!hasher_.verify((*stored)->senha, old)) return PasswordChange::WrongCurrent;
    if (typed.empty()) return PasswordChange::EmptyNew;
    if (characters(typed) > static_cast<size_t>(kPasswordWidth)) return PasswordChange::TooLong;
    if (!cp1252::fromUtf8(typed)) return PasswordChange::InvalidCharacter;
    if (clipped(repeated) != typed) return PasswordChange::RepetitionDiffers;
    if (typed == old) return PasswordChange::SameAsCurrent;
    auto hash = hasher_.hash(typed);
    if (!hash) return PasswordChange::NotStored;

    store::Transaction tx(**db);
    if (!tx.status()) return PasswordChange::NotStored;
    auto fresh = userById(**db, user->id);
    if (!fresh || !*fresh) return PasswordChange::NotStored;
    SegUsuario u = **fresh;
    u.senha = *hash;
    if (!put(**db, u) || !tx.commit()) return PasswordChange::NotStored;
    return PasswordChange::Changed;
}

// ---------------------------------------------------------------------------------------------
// Rights

void Security::setSuperUser(std::string_view login) {
    auto text = cp1252::fromUtf8(fixed::clip(login));
    superUser_ = text ? *text : std::string();
}

Result<bool> Security::isAdministrator(Handle handle) {
    auto user = currentUser(handle);
    if (!user) {
        int code = user.error().code;
        if (code == errc::NotLoggedIn || code == errc::NoSuchUser) return false;
        return user.error();
    }
    return user->administrator;
}

Result<User> Security::administrator(Handle handle) {
    auto user = currentUser(handle);
    if (!user) return user.error();
    if (!user->administrator)
        return error(errc::AdministratorsOnly, "Somente um administrador pode fazer isso.");
    return user;
}

Result<uint32_t> Security::allowed(Handle handle, std::string_view area) {
    auto user = currentUser(handle);
    if (!user) {
        int code = user.error().code;
        if (code == errc::NotLoggedIn || code == errc::NoSuchUser) return 0u;
        return user.error();
    }
    if (user->administrator) return kEveryRight;
    auto name = cp1252::fromUtf8(fixed::clip(area));
    if (!name) return 0u;
    auto db = usersDb();
    if (!db) return db.error();
    auto rights = rightsRecord(**db, user->id, *name);
    if (!rights) return rights.error();
    return *rights ? (*rights)->direitos : 0u;
}

Status Security::registerArea(std::string_view area, std::string_view rights) {
    auto name = storedText(area, files::kAreaWidth, "O nome da área", true);
    if (!name) return name.error();
    auto joined = cp1252::fromUtf8(rights);
    if (!joined) return error(errc::InvalidText, "Os direitos: " + joined.error().text);
    std::vector<std::string> names = splitRights(*joined);
    if (names.size() > static_cast<size_t>(kRightsPerArea))
        return error(errc::TooManyRights,
                     "Uma área tem no máximo " + std::to_string(kRightsPerArea) + " direitos.");
    names.resize(kRightsPerArea);
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i ? "|" : "") + clipped(names[i]);

    auto db = usersDb();
    if (!db) return db.error();
    store::Transaction tx(**db);
    if (!tx.status()) return tx.status();
    auto stored = first<SegArea>(**db, "SEGA:KEY_AREA", {*name}, [&](const SegArea& a) {
        return cp1252::compareNoCase(a.area, *name) == 0;
    });
    if (!stored) return stored.error();
    if (*stored && (*stored)->direitos == text) return {};
    SegArea a = *stored ? **stored : SegArea{};
    a.area = *name;
    a.direitos = text;
    if (Status s = *stored ? put(**db, a) : add(**db, a); !s) return s;
    return tx.commit();
}

Result<std::vector<Area>> Security::areas() {
    auto db = usersDb();
    if (!db) return db.error();
    std::vector<Area> list;
    Status s = forEach<SegArea>(**db, "SEGA:KEY_AREA", {}, [&](const SegArea& a) {
        Area shownArea{cp1252::toUtf8(a.area), {}};
        for (const std::string& n : splitRights(a.direitos))
            shownArea.rights.push_back(cp1252::toUtf8(n));
        shownArea.rights.resize(kRightsPerArea);
        list.push_back(std::move(shownArea));
        return true;
    });
    if (!s) return s.error();
    return list;
}

Result<Area> Security::area(std::string_view name) {
    auto list = areas();
    if (!list) return list.error();
    auto wanted = cp1252::fromUtf8(fixed::clip(name));
    for (Area& a : *list)
        if (wanted && cp1252::compareNoCase(*cp1252::fromUtf8(a.name), *wanted) == 0) return a;
    return Area{clipped(name), std::vector<std::string>(kRightsPerArea)};
}

// ---------------------------------------------------------------------------------------------
// Upkeep

Result<std::vector<User>> Security::users(Handle handle) {
    if (auto admin = administrator(handle); !admin) return admin.error();
    auto db = usersDb();
    if (!db) return db.error();
    std::vector<User> list;
    Status s = forEach<SegUsuario>(**db, "SEGU:KEY_LOGIN", {}, [&](const SegUsuario& u) {
        list.push_back(shown(u));
        return true;
    });
    if (!s) return s.error();
    return list;
}

Result<User> Security::addUser(Handle handle, std::string_view login, std::string_view name,
                               bool administrator) {
    if (auto admin = this->administrator(handle); !admin) return admin.error();
    auto storedLogin = storedText(login, files::kLoginWidth, "O login", true);
    if (!storedLogin) return storedLogin.error();
    auto storedName = storedText(name, files::kNameWidth, "O nome", false);
    if (!storedName) return storedName.error();
    auto hash = hasher_.hash(clipped(login)); // the first password is the login
    if (!hash) return hash.error();

    auto db = usersDb();
    if (!db) return db.error();
    store::Transaction tx(**db);
    if (!tx.status()) return tx.status().error();
    auto existing = userByLogin(login);
    if (!existing) return existing.error();
    if (*existing)
        return error(errc::DuplicateLogin, "Já existe um usuário com o login " +
                                               cp1252::toUtf8((*existing)->login) + ".");
    SegUsuario u;
    u.login = *storedLogin;
    u.nome = *storedName;
    u.senha = *hash;
    u.administrador = administrator ? 1 : 0;
    // Ids are drawn at random, so that a deleted user's id never comes back through the
    // position or a counter: rights and sessions of the deleted user name nobody.
    for (;;) {
        u.id = static_cast<int32_t>(randombytes_uniform(INT32_MAX - 1)) + 2;
        auto taken = userById(**db, u.id);
        if (!taken) return taken.error();
        if (!*taken) break;
    }
    if (Status s = add(**db, u); !s) return s.error();
    if (Status s = tx.commit(); !s) return s.error();
    return shown(u);
}

Status Security::changeUser(Handle handle, int32_t id, std::string_view name, bool administrator) {
    if (auto admin = this->administrator(handle); !admin) return admin.error();
    auto storedName = storedText(name, files::kNameWidth, "O nome", false);
    if (!storedName) return storedName.error();
    auto db = usersDb();
    if (!db) return db.error();
    store::Transaction tx(**db);
    if (!tx.status()) return tx.status();
    auto user = userById(**db, id);
    if (!user) return user.error();
    if (!*user) return error(errc::NoSuchUser, "Este usuário foi excluído por outra estação.");
    SegUsuario u = **user;
    if (u.administrador && !administrator) {
        auto count = administratorCount(**db);
        if (!count) return count.error();
        if (*count <= 1)
            return error(errc::LastAdministrator,
                         "O sistema precisa de ao menos um administrador: " +
                             cp1252::toUtf8(u.login) + " é o último.");
    }
    u.nome = *storedName;
    u.administrador = administrator ? 1 : 0;
    if (Status s = put(**db, u); !s) return s;
    return tx.commit();
}

Status Security::resetPassword(Handle handle, int32_t id) {
    if (auto admin = administrator(handle); !admin) return admin.error();
    auto db = usersDb();
    if (!db) return db.error();
    store::Transaction tx(**db);
    if (!tx.status()) return tx.status();
    auto user = userById(**db, id);
    if (!user) return user.error();
    if (!*user) return error(errc::NoSuchUser, "Este usuário foi excluído por outra estação.");
    SegUsuario u = **user;
    auto hash = hasher_.hash(cp1252::toUtf8(u.login));
    if (!hash) return hash.error();
    u.senha = *hash;
    if (Status s = put(**db, u); !s) return s;
    return tx.commit();
}

Status Security::deleteUser(Handle handle, int32_t id) {
    auto admin = administrator(handle);
    if (!admin) return admin.error();
    if (admin->id == id)
        return error(errc::DeletingYourself, "Você não pode excluir o seu próprio usuário.");
    auto db = usersDb();
    if (!db) return db.error();
    store::Transaction tx(**db);
    if (!tx.status()) return tx.status();
    auto user = userById(**db, id);
    if (!user) return user.error();
    if (!*user) return {}; // gone already
    if ((*user)->administrador) {
        auto count = administratorCount(**db);
        if (!count) return count.error();
        if (*count <= 1)
            return error(errc::LastAdministrator,
                         "O último administrador do sistema não pode ser excluído.");
    }
    std::vector<SegDireito> rights;
    Status s =
        forEach<SegDireito>(**db, "SEGD:KEY_USUARIO_AREA", {int64_t{id}}, [&](const SegDireito& d) {
            if (d.usuario != id) return false;
            rights.push_back(d);
            return true;
        });
    if (!s) return s;
    for (const SegDireito& d : rights)
        if (Status r = remove(**db, d); !r) return r;
    if (Status r = remove(**db, **user); !r) return r;
    return tx.commit();
}

Result<std::map<int32_t, uint32_t>> Security::rights(Handle handle, std::string_view area) {
    if (auto admin = administrator(handle); !admin) return admin.error();
    auto name = cp1252::fromUtf8(fixed::clip(area));
    if (!name) return std::map<int32_t, uint32_t>();
    auto db = usersDb();
    if (!db) return db.error();
    std::map<int32_t, uint32_t> masks;
    Status s = forEach<SegDireito>(**db, "SEGD:KEY_USUARIO_AREA", {}, [&](const SegDireito& d) {
        if (cp1252::compareNoCase(d.area, *name) == 0) masks[d.usuario] = d.direitos;
        return true;
    });
    if (!s) return s.error();
    return masks;
}

Status Security::changeRights(Handle handle, std::string_view area,
                              const std::vector<RightsChange>& changes) {
    if (auto admin = administrator(handle); !admin) return admin.error();
    auto name = storedText(area, files::kAreaWidth, "O nome da área", true);
    if (!name) return name.error();
    auto db = usersDb();
    if (!db) return db.error();
    store::Transaction tx(**db);
    if (!tx.status()) return tx.status();
    for (const RightsChange& change : changes) {
        auto user = userById(**db, change.user);
        if (!user) return user.error();
        if (!*user) continue;
        auto stored = rightsRecord(**db, change.user, *name);
        if (!stored) return stored.error();
        SegDireito d = *stored ? **stored : SegDireito{{}, change.user, *name, 0};
        const uint32_t mask = (d.direitos | change.grant) & ~change.revoke;
        if (*stored && mask == d.direitos) continue;
        d.direitos = mask;
        if (Status s = *stored ? put(**db, d) : add(**db, d); !s) return s;
    }
    return tx.commit();
}

// ---------------------------------------------------------------------------------------------
// Sessions

Status Security::startSession(int32_t user) {
    auto db = sessionsDb();
    if (!db) return db.error();
    const double t = now();
    store::Transaction tx(**db);
    if (!tx.status()) return tx.status();
    // Sessions of stations that stopped without logging out are dropped here.
    std::vector<SegSessao> stale;
    Status s = forEach<SegSessao>(**db, "SEGS:KEY_SESSAO", {}, [&](const SegSessao& r) {
        if (t - r.sinal > options_.staleSeconds) stale.push_back(r);
        return true;
    });
    if (!s) return s;
    for (const SegSessao& r : stale)
        if (Status d = remove(**db, r); !d) return d;
    SegSessao r = sessionRecord(randomToken(), user, t);
    if (Status a = add(**db, r); !a) return a;
    if (Status c = tx.commit(); !c) return c;
    session_ = Session{0, user, r.sessao, t};
    return {};
}

SegSessao Security::sessionRecord(const std::string& token, int32_t user, double since) const {
    auto station = cp1252::fromUtf8(options_.station);
    SegSessao r;
    r.sessao = token;
    r.usuario = user;
    r.estacao = fixed::fit(station ? *station : std::string("?"), files::kStationWidth);
    r.processo = options_.process;
    r.inicio = r.sinal = since;
    return r;
}

void Security::endSession() {
    if (session_.handle == 0 && session_.token.empty()) return;
    const std::string token = session_.token;
    session_ = Session{};
    if (!sessionsOpen_ || token.empty()) return;
    store::Database& db = sessionsFile_.db();
    auto r = first<SegSessao>(db, "SEGS:KEY_SESSAO", {token},
                              [&](const SegSessao& s) { return s.sessao == token; });
    if (r && *r) (void)remove(db, **r); // a session left behind goes stale by itself
}

Status Security::refresh() {
    if (session_.token.empty()) return {};
    auto db = sessionsDb();
    if (!db) return db.error();
    store::Transaction tx(**db);
    if (!tx.status()) return tx.status();
    const std::string token = session_.token;
    auto r = first<SegSessao>(**db, "SEGS:KEY_SESSAO", {token},
                              [&](const SegSessao& s) { return s.sessao == token; });
    if (!r) return r.error();
    if (*r) {
        SegSessao s = **r;
        s.sinal = now();
        if (Status p = put(**db, s); !p) return p;
    } else {
        SegSessao s = sessionRecord(token, session_.user, session_.since);
        s.sinal = now();
        if (Status a = add(**db, s); !a) return a;
    }
    return tx.commit();
}

Result<std::vector<Connection>> Security::connections() {
    auto db = sessionsDb();
    if (!db) return db.error();
    auto userDb = usersDb();
    if (!userDb) return userDb.error();
    const double t = now();
    std::vector<SegSessao> live;
    Status s = forEach<SegSessao>(**db, "SEGS:KEY_SESSAO", {}, [&](const SegSessao& r) {
        if (t - r.sinal <= options_.staleSeconds) live.push_back(r);
        return true;
    });
    if (!s) return s.error();
    std::vector<Connection> list;
    for (const SegSessao& r : live) {
        auto user = userById(**userDb, r.usuario);
        if (!user) return user.error();
        Connection c;
        if (*user) {
            c.login = cp1252::toUtf8((*user)->login);
            c.name = cp1252::toUtf8((*user)->nome);
        }
        c.station = cp1252::toUtf8(r.estacao);
        c.process = r.processo;
        c.since = r.inicio;
        c.lastSeen = r.sinal;
        list.push_back(std::move(c));
    }
    std::sort(list.begin(), list.end(), [](const Connection& a, const Connection& b) {
        return std::tie(a.login, a.station, a.process) < std::tie(b.login, b.station, b.process);
    });
    return list;
}

} // namespace saldora::security
