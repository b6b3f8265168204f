// saldora-dados: checks, repairs, dumps and loads the record files of a data folder, posts a file
// of postings as the posting windows do, and shows how pictures and dates come out. Messages in
// Portuguese; exit 0 on success, 1 on a failure or damage found (or a refused row), 2 on a wrong
// call.
#include "data/csv.h"
#include "data/date_time.h"
#include "data/file_routines.h"
#include "data/field_text.h"
#include "data/file_names.h"
#include "data/files.h"
#include "data/picture.h"
#include "data/store.h"
#include "data/text.h"
#include "ledger/day_balance_audit.h"
#include "ledger/posting_import.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

using namespace saldora;
using store::Database;

namespace {

constexpr int kOk = 0, kFailure = 1, kUsage = 2;

int usage() {
    std::cerr << "uso: saldora-dados check <pasta>\n"
                 "     saldora-dados rebuild <pasta> [arquivo]\n"
                 "     saldora-dados dump <pasta> <arquivo>[:tabela] [--key NOME]\n"
                 "     saldora-dados load <pasta> <arquivo>[:tabela] <csv>\n"
                 "     saldora-dados lancar <pasta> <csv>\n"
                 "     saldora-dados picture <picture> <valor>...\n"
                 "     saldora-dados picture --parse <picture> <texto>...\n"
                 "     saldora-dados date <número|dd/mm/aaaa>\n";
    return kUsage;
}

std::string pathOf(const std::string& folder, const store::FileLayout& l) {
    return file_names::resolveIn(folder, store::withDefaultExtension(l.physicalName));
}

bool exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// "CADMOV1" or "kvelt.lhl:QuickHelpFile".
struct Target {
    const store::FileLayout* layout = nullptr;
    const store::Table* table = nullptr;
};

Target findTarget(const std::string& wanted) {
    Target t;
    std::string name = wanted, table;
    if (auto colon = wanted.rfind(':'); colon != std::string::npos) {
        name = wanted.substr(0, colon);
        table = wanted.substr(colon + 1);
    }
    t.layout = files::layouts::find(name);
    if (!t.layout) return t;
    try {
        t.table = &t.layout->table(table);
    } catch (const std::out_of_range&) {
        t.layout = nullptr;
    }
    return t;
}

Result<std::unique_ptr<Database>> openExisting(const std::string& folder,
                                               const store::FileLayout& l,
                                               Database::Verify verify = Database::Verify::Full) {
    return Database::open(pathOf(folder, l), l, Database::Create::Never, verify);
}

std::string shownDate(int32_t day) {
    auto shown = picture::format("@d06", picture::Value(int64_t{day}));
    return shown ? *shown : std::to_string(day);
}

std::string shownMoney(Decimal value) {
    auto shown = picture::format("@n-14.`2", picture::Value(value));
    return shown ? std::string(fixed::clip(shown->substr(shown->find_first_not_of(' ')))) : value.toString();
}

// Day balances that do not follow from the postings: information for whoever looks after the
// data (mass deletion and carried-forward balances leave such records), not damage.
void reportDayBalances(Database& cadmov1) {
    auto found = ledger::auditDayBalances(cadmov1, [](const ledger::DayBalanceFinding& f) {
        std::cout << "  saldo do dia: " << cp1252::toUtf8(f.client) << " " << shownDate(f.date)
                  << ": ";
        if (f.stored)
            std::cout << "gravado " << shownMoney(*f.stored) << ", segundo os lançamentos "
                      << shownMoney(f.expected) << "\n";
        else
            std::cout << "sem registro de saldo; segundo os lançamentos " << shownMoney(f.expected)
                      << "\n";
    });
    if (!found) std::cout << "  saldos do dia não verificados: " << found.error().text << "\n";
    else if (*found > 0)
        std::cout << "  " << *found
                  << " saldo(s) do dia não seguem dos lançamentos (informação; exclusões e saldos "
                     "transportados podem deixá-los assim)\n";
}

// Postings are kept under client codes in upper case: a client whose code has lower-case letters
// can have none listed in "Movimento". Codes typed in the program are always upper case; this
// finds those brought in otherwise.
void reportLowerCaseCodes(Database& cadfil1) {
    const store::Table& t = files::Cadfil1::table();
    store::Cursor c(cadfil1, t, *t.key("FIL1:KEY_CADFIL"));
    c.seekFirst();
    int64_t found = 0;
    for (auto r = c.next(); r && *r; r = c.next()) {
        const std::string code = (*r)->text(t.fieldIndex("FIL1:CODFIL"));
        if (cp1252::upper(code) == code) continue;
        ++found;
        std::cout << "  código com minúsculas: " << cp1252::toUtf8(code) << "\n";
    }
    if (found > 0)
        std::cout << "  " << found
                  << " código(s) de cliente com minúsculas: seus lançamentos não aparecem no "
                     "Movimento (informação)\n";
}

int check(const std::string& folder) {
    if (!std::filesystem::is_directory(folder)) {
        std::cerr << "Pasta não encontrada: " << folder << "\n";
        return kFailure;
    }
    bool damaged = false;
    for (const auto* l : files::layouts::all()) {
        std::string path = pathOf(folder, *l);
        if (!exists(path)) {
            std::cout << l->name << ": ausente\n";
            continue;
        }
        auto db = openExisting(folder, *l, Database::Verify::Layout);
        if (!db) {
            std::cout << l->name << ": não pode ser aberto: " << db.error().text << "\n";
            damaged = true;
            continue;
        }
        auto faults = (*db)->check();
        if (!faults) {
            std::cout << l->name << ": erro na verificação: " << faults.error().text << "\n";
            damaged = true;
        } else if (faults->empty()) {
            int64_t records = 0;
            for (const auto& t : l->tables) records += (*db)->count(t).ok() ? *(*db)->count(t) : 0;
            std::cout << l->name << ": ok (" << records << " registros)\n";
            if (l == &files::layouts::cadmov1()) reportDayBalances(**db);
            if (l == &files::layouts::cadfil1()) reportLowerCaseCodes(**db);
        } else {
            damaged = true;
            std::cout << l->name << ": danificado:";
            for (const auto& f : *faults) std::cout << " " << f << ";";
            std::cout << "\n";
        }
    }
    return damaged ? kFailure : kOk;
}

int rebuild(const std::string& folder, const std::string& only) {
    std::vector<const store::FileLayout*> which;
    if (only.empty()) {
        which = files::layouts::all();
    } else {
        const auto* l = files::layouts::find(only);
        if (!l) {
            std::cerr << "Arquivo desconhecido: " << only << "\n";
            return kUsage;
        }
        which.push_back(l);
    }
    int result = kOk;
    for (const auto* l : which) {
        if (!exists(pathOf(folder, *l))) {
            if (!only.empty()) {
                std::cout << l->name << ": ausente\n";
                result = kFailure;
            }
            continue;
        }
        auto db = openExisting(folder, *l, Database::Verify::Layout);
        Status s = db ? (*db)->rebuildKeys() : Status(db.error());
        if (s) {
            std::cout << l->name << ": chaves reconstruídas\n";
        } else {
            std::cout << l->name << ": erro reconstruindo chaves: " << s.error().text << "\n";
            result = kFailure;
        }
    }
    return result;
}

std::vector<std::string> header(const store::Table& t) {
    std::vector<std::string> h;
    for (const auto& f : t.fields) h.push_back(f.name);
    return h;
}

int dump(const std::string& folder, const std::string& wanted, const std::string& keyName) {
    Target target = findTarget(wanted);
    if (!target.layout) {
        std::cerr << "Arquivo desconhecido: " << wanted << "\n";
        return kUsage;
    }
    const store::Table& t = *target.table;
    const store::Key* key = keyName.empty() ? (t.keys.empty() ? nullptr : &t.keys.front())
                                            : t.key(keyName);
    if (!keyName.empty() && !key) {
        std::cerr << "Chave desconhecida em " << t.name << ": " << keyName << "\n";
        return kUsage;
    }
    auto db = openExisting(folder, *target.layout);
    if (!db) {
        std::cerr << t.name << ": " << db.error().text << "\n";
        return kFailure;
    }
    std::cout << csv::line(header(t)) << "\n";
    auto emit = [&](const store::Record& r) {
        std::vector<std::string> fields;
        for (size_t i = 0; i < t.fields.size(); ++i)
            fields.push_back(store::plainText(t.fields[i], r[static_cast<int>(i)]));
        std::cout << csv::line(fields) << "\n";
    };
    if (key) {
        store::Cursor c(**db, t, *key);
        c.seekFirst();
        for (;;) {
            auto r = c.next();
            if (!r) {
                std::cerr << t.name << ": " << r.error().text << "\n";
                return kFailure;
            }
            if (!r->has_value()) break;
            emit(**r);
        }
    } else { // a file without keys (one record): in order of position
        for (int64_t pos = 1, seen = 0, total = *(*db)->count(t); seen < total; ++pos) {
            auto r = (*db)->get(t, pos);
            if (r) {
                emit(*r);
                ++seen;
            } else if (r.error().code != store::errc::RecordNotFound) {
                std::cerr << t.name << ": " << r.error().text << "\n";
                return kFailure;
            }
        }
    }
    return kOk;
}

int load(const std::string& folder, const std::string& wanted, const std::string& csvPath) {
    Target target = findTarget(wanted);
    if (!target.layout) {
        std::cerr << "Arquivo desconhecido: " << wanted << "\n";
        return kUsage;
    }
    const store::Table& t = *target.table;
    std::ifstream in(csvPath, std::ios::binary);
    if (!in) {
        std::cerr << "Não foi possível ler " << csvPath << "\n";
        return kFailure;
    }
    // Every row is checked before anything is written: a bad row leaves the file as it was.
    csv::Reader reader(in);
    std::vector<std::string> fields;
    auto head = reader.next(fields);
    if (!head || !*head || fields != header(t)) {
        std::cerr << "Linha 1: o cabeçalho deve ser: " << csv::line(header(t)) << "\n";
        return kFailure;
    }
    std::vector<std::pair<int, store::Record>> rows;
    bool bad = false;
    for (;;) {
        auto more = reader.next(fields);
        if (!more) {
            std::cerr << more.error().text << "\n";
            return kFailure;
        }
        if (!*more) break;
        if (fields.size() == 1 && fields[0].empty()) continue; // a blank line
        if (fields.size() != t.fields.size()) {
            std::cerr << "Linha " << reader.line() << ": " << fields.size() << " campos; "
                      << t.name << " tem " << t.fields.size() << ".\n";
            bad = true;
            continue;
        }
        store::Record r(t);
        for (size_t i = 0; i < fields.size(); ++i) {
            auto v = store::fromPlainText(t.fields[i], fields[i]);
            if (!v) {
                std::cerr << "Linha " << reader.line() << ": " << v.error().text << "\n";
                bad = true;
                break;
            }
            (void)r.set(static_cast<int>(i), std::move(*v));
        }
        rows.emplace_back(reader.line(), std::move(r));
    }
    if (bad) {
        std::cerr << "Nada foi gravado em " << t.name << ".\n";
        return kFailure;
    }
    auto db = Database::open(pathOf(folder, *target.layout), *target.layout,
                             Database::Create::IfMissing);
    if (!db) {
        std::cerr << t.name << ": " << db.error().text << "\n";
        return kFailure;
    }
    store::Transaction tx(**db);
    if (!tx.status()) {
        std::cerr << t.name << ": " << tx.status().error().text << "\n";
        return kFailure;
    }
    for (auto& [lineNo, r] : rows) {
        if (Status s = (*db)->add(r); !s) {
            std::cerr << "Linha " << lineNo << ": " << s.error().text << "\n"
                      << "Nada foi gravado em " << t.name << ".\n";
            return kFailure;
        }
    }
    if (Status s = tx.commit(); !s) {
        std::cerr << t.name << ": " << s.error().text << "\n";
        return kFailure;
    }
    std::cout << rows.size() << " registros incluídos em " << t.name << ".\n";
    return kOk;
}

// Nobody answers the tool's questions: a message goes to standard error, and a question that
// offers "No" (try again?) is answered with it, so that a failing write never loops.
class UnattendedMessages final : public MessageService {
  public:
    int show(const Message& m) override {
        std::cerr << (m.caption.empty() ? "Mensagem" : m.caption) << ": " << m.text << "\n";
        int flags = 0;
        try {
            flags = std::stoi(m.buttons);
        } catch (...) {
        }
        if (flags & button::No) return button::No;
        return m.defaultButton != 0 ? m.defaultButton : button::Ok;
    }
    void stop(const std::string& message, bool) override { std::cerr << message << "\n"; }
    [[noreturn]] void halt(int exitCode, const std::string& message) override {
        if (!message.empty()) std::cerr << message << "\n";
        std::exit(exitCode);
    }
};

// Posts the rows of a file as a user posts them through the posting windows.
int post(const std::string& folder, const std::string& csvPath) {
    if (!std::filesystem::is_directory(folder)) {
        std::cerr << "Pasta não encontrada: " << folder << "\n";
        return kFailure;
    }
    std::ifstream in(csvPath, std::ios::binary);
    if (!in) {
        std::cerr << "Não foi possível ler " << csvPath << "\n";
        return kFailure;
    }
    UnattendedMessages unattended;
    setMessageService(&unattended);
    DataFile cadfil1(files::layouts::cadfil1()), tabmov1(files::layouts::tabmov1()),
        cadmov1(files::layouts::cadmov1());
    for (DataFile* f : {&cadfil1, &tabmov1, &cadmov1}) {
        f->setLocation(folder);
        OpenDataFile(*f);
    }
    auto report = ledger::importPostings({cadfil1, tabmov1, cadmov1}, in);
    for (DataFile* f : {&cadfil1, &tabmov1, &cadmov1}) CloseDataFile(*f);
    setMessageService(nullptr);
    for (const auto& [line, why] : report.refused)
        std::cerr << "Linha " << line << ": " << why << "\n";
    std::cout << report.posted << " lançamento(s) incluído(s); " << report.refused.size()
              << " linha(s) recusada(s).\n";
    return report.refused.empty() ? kOk : kFailure;
}

int pictures(std::vector<std::string> args) {
    bool parse = !args.empty() && args[0] == "--parse";
    if (parse) args.erase(args.begin());
    if (args.size() < 2) return usage();
    auto pic = cp1252::fromUtf8(args[0]); // pictures hold cp1252 literals, as values do
    if (!pic) {
        std::cerr << pic.error().text << "\n";
        return kFailure;
    }
    int result = kOk;
    for (size_t i = 1; i < args.size(); ++i) {
        auto in = cp1252::fromUtf8(args[i]);
        if (!in) {
            std::cerr << in.error().text << "\n";
            result = kFailure;
            continue;
        }
        auto out = parse ? picture::readPlain(*pic, *in) : picture::formatPlain(*pic, *in);
        if (!out) {
            std::cerr << args[i] << ": " << out.error().text << "\n";
            result = kFailure;
            continue;
        }
        std::cout << "\"" << cp1252::toUtf8(*out) << "\"\n";
    }
    return result;
}

int dates(const std::string& arg) {
    static const char* kWeekdays[] = {"domingo", "segunda-feira", "terça-feira", "quarta-feira",
                                      "quinta-feira", "sexta-feira", "sábado"};
    bool number = !arg.empty() && arg.find_first_not_of("0123456789") == std::string::npos;
    int32_t day = 0;
    if (number) {
        try {
            day = std::stoi(arg);
        } catch (...) {
            day = -1;
        }
        if (!date::toYmd(day)) {
            std::cerr << "Número de data fora do intervalo de 01/01/1801 a 31/12/9999: " << arg
                      << "\n";
            return kFailure;
        }
    } else {
        auto read = picture::readPlain("@d06", arg);
        if (!read) {
            std::cerr << read.error().text << "\n";
            return kFailure;
        }
        day = std::stoi(*read);
    }
    auto shown = picture::format("@d06", picture::Value(int64_t{day}));
    std::cout << day << " = " << (shown ? *shown : std::string("?")) << " ("
              << kWeekdays[date::weekday(day)] << ")\n";
    return kOk;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    const std::string cmd = args[0];
    args.erase(args.begin());
    if (cmd == "check" && args.size() == 1) return check(args[0]);
    if (cmd == "rebuild" && (args.size() == 1 || args.size() == 2))
        return rebuild(args[0], args.size() == 2 ? args[1] : "");
    if (cmd == "dump" && args.size() == 2) return dump(args[0], args[1], "");
    if (cmd == "dump" && args.size() == 4 && args[2] == "--key") return dump(args[0], args[1], args[3]);
    if (cmd == "load" && args.size() == 3) return load(args[0], args[1], args[2]);
    if (cmd == "lancar" && args.size() == 2) return post(args[0], args[1]);
    if (cmd == "picture") return pictures(args);
    if (cmd == "date" && args.size() == 1) return dates(args[0]);
    return usage();
}
