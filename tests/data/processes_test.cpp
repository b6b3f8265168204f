// Several real processes on one data folder: another station's change, and writes cut short by
// SIGKILL at random moments.
#include "data/file_routines.h"
#include "data/files.h"
#include "support/child_process.h"
#include "support/scripted_messages.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <thread>

using namespace saldora;
using files::Cadmov1;
using saldora::testing::ChildProcess;
using saldora::testing::ScriptedMessages;
using saldora::testing::TempFolder;

namespace {

const std::string kWorker = std::string(SALDORA_BINARY_DIR) + "/tests/store_worker";
const std::string kTool = std::string(SALDORA_BINARY_DIR) + "/tools/saldora-dados";

int exitCode(ChildProcess& p) {
    int status = p.wait();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(TwoStations, TheSecondToSaveGetsWarning38AndSeesTheFirstsValues) {
    ScriptedMessages box;
    TempFolder dir;
    DataFile file(files::layouts::cadmov1());
    file.setLocation(dir.path());
    OpenDataFile(file);
    Cadmov1 m;
    m.codfil = "LOJA1";
    m.dtalanc = 81413;
    m.codmov = "001";
    m.complemento = "original";
    auto r = *toRecord(m);
    ASSERT_TRUE(file.db().add(r).ok());
    Cadmov1 buffer = fromRecord<Cadmov1>(r);

    ChildProcess other({kWorker, "put", dir.path(), std::to_string(buffer.position), "da outra"});
    ASSERT_EQ(exitCode(other), 0);

    buffer.complemento = "desta";
    EXPECT_EQ(UpdateRecord(file, buffer, true), update_result::ChangedByAnotherStation);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].caption, "Registro Não Foi Atualizado");
    EXPECT_EQ(buffer.complemento, "da outra");
    auto stored = fromRecord<Cadmov1>(*file.db().get(Cadmov1::table(), buffer.position));
    EXPECT_EQ(stored.complemento, "da outra");
    CloseDataFile(file);
}

TEST(Crash, EveryReportedCommitSurvivesSigkillAndTheFolderChecksSound) {
    TempFolder dir;
    std::mt19937 random(20261211);
    std::map<int64_t, int64_t> reported; // position -> the latest value reported committed
    const int kRuns = 40;
    for (int run = 0; run < kRuns; ++run) {
        ChildProcess worker({kWorker, "crash-loop", dir.path(), std::to_string((run + 1) * 1000000)});
        ASSERT_TRUE(worker.started());
        std::string first;
        ASSERT_TRUE(worker.readLine(first)) << "run " << run;
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 60));
        worker.kill(SIGKILL);
        worker.wait();
        std::vector<std::string> lines = worker.drainLines();
        lines.insert(lines.begin(), first);
        for (const auto& line : lines) {
            std::istringstream in(line);
            std::string op;
            int64_t position = 0, value = 0;
            in >> op >> position >> value;
            ASSERT_TRUE(op == "add" || op == "put") << line;
            reported[position] = std::max(reported[position], value);
        }
    }
    ASSERT_GT(reported.size(), static_cast<size_t>(kRuns));

    ChildProcess check({kTool, "check", dir.path()});
    std::string line, out;
    while (check.readLine(line)) out += line + "\n";
    EXPECT_EQ(exitCode(check), 0) << out;
    EXPECT_NE(out.find("CADMOV1: ok"), std::string::npos) << out;

    // Values only grow, so a record holds its last reported value or a later, unreported one.
    auto db = store::Database::open(dir.file("CADMOV1.sld"), files::layouts::cadmov1());
    ASSERT_TRUE(db.ok());
    for (const auto& [position, value] : reported) {
        auto r = (*db)->get(Cadmov1::table(), position);
        ASSERT_TRUE(r.ok()) << "position " << position << " lost";
        EXPECT_GE(fromRecord<Cadmov1>(*r).vlrcr.cents(), value) << "position " << position;
    }
}
