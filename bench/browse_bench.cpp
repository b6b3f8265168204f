// The clients browse over a large register: time to open it on its first page, a Page Down and
// an End, and the resident memory with the browse open. Run it once per register size, e.g.
//   browse_bench 1000 && browse_bench 1000000
// and compare the memory lines: the browse reads a page at a time, so it should not grow with
// the file. The registers are generated once under the build folder and reused.
#include "bench/timing.h"
#include "data/file_routines.h"
#include "data/files.h"
#include "screens/registers.h"
#include "support/scripted_messages.h"

#include <QApplication>
#include <QMdiArea>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace saldora;
using saldora::bench::Clock;
using saldora::bench::median;
using saldora::bench::ms;

namespace {

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

Status generate(const std::string& folder, int clients) {
    auto db = store::Database::open(folder + "/CADFIL1.sld", files::layouts::cadfil1(),
                                    store::Database::Create::IfMissing);
    if (!db) return db.error();
    if (*(*db)->count(files::Cadfil1::table()) == clients) return {};
    for (int i = 0; i < clients;) {
        store::Transaction tx(**db);
        for (int n = 0; n < 10000 && i < clients; ++n, ++i) {
            files::Cadfil1 c;
            char code[16], name[32];
            std::snprintf(code, sizeof code, "CLI%07d", i);
            // Names in an order unlike the codes', as a real register has.
            std::snprintf(name, sizeof name, "Cliente %07d", (i * 7919) % clients);
            c.codfil = code;
            c.descricao = name;
            c.cidade = "Recife";
            auto r = *toRecord(c);
            if (Status s = (*db)->add(r); !s) return s;
        }
        if (Status s = tx.commit(); !s) return s;
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int clients = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const std::string folder = std::string(SALDORA_BENCH_DATA) + "/clients-" + std::to_string(clients);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder); // KVELT.INI of the browse lands here
    if (Status s = generate(folder, clients); !s) {
        std::fprintf(stderr, "%s\n", s.error().text.c_str());
        return 1;
    }
    saldora::testing::ScriptedMessages box;
    DataFile cadfil1(files::layouts::cadfil1());
    cadfil1.setLocation(folder);
    DataFile tabmov1(files::layouts::tabmov1());
    tabmov1.setLocation(folder);
    screens::setRegisterFiles(&tabmov1, &cadfil1);
    QMdiArea area;
    area.resize(1000, 800);
    area.show();
    ui::setWorkspace(&area);

    std::vector<double> open, pageDown, end;
    long memory = 0;
    for (int run = 0; run < 9; ++run) {
        auto t0 = Clock::now();
        ui::RegisterBrowse* browse = screens::pesquisaFiliais();
        browse->open();
        auto t1 = Clock::now();
        if (browse->list()->page().empty()) return 1;
        browse->list()->pageDown();
        auto t2 = Clock::now();
        browse->list()->toLast();
        auto t3 = Clock::now();
        open.push_back(ms(t1 - t0));
        pageDown.push_back(ms(t2 - t1));
        end.push_back(ms(t3 - t2));
        memory = std::max(memory, residentKiB());
        browse->finish(ui::result::Completed);
        QApplication::processEvents();
    }
    std::printf("PesquisaFiliais over %d clients (medians of 9)\n", clients);
    std::printf("  open to the first page  %8.2f ms   (target <= 50 ms)\n", median(open));
    std::printf("  Page Down               %8.2f ms   (target <= 10 ms)\n", median(pageDown));
    std::printf("  End                     %8.2f ms   (target <= 20 ms)\n", median(end));
    std::printf("  resident memory         %8ld KiB\n", memory);
    ui::setWorkspace(nullptr);
    return 0;
}
