#include "app/startup.h"

#include "app/data_files.h"
#include "app/data_path_manager.h"
#include "app/main_frame.h"
#include "app/select_path.h"
#include "app/session.h"
#include "app/splash_login.h"
#include "data/globals.h"
#include "data/ini.h"
#include "data/settings_keys.h"
#include "data/text.h"
#include "messages/hook_switches.h"
#include "messages/message_boxes.h"
#include "security/component.h"
#include "ui/auto_entry.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QGuiApplication>

#include <memory>

namespace saldora::app {
namespace {

struct Run {
    StartupOptions options;
    std::unique_ptr<message_box::MessageBoxes> boxes;
};
Run* gRun = nullptr;

void finalSteps() {
    security::ds_CloseTables();
    ui::auto_entry::stop();
    if (gRun->boxes) (void)message_box::writeHookSwitches(gRun->boxes->switches());
    if (gRun->boxes) setMessageService(nullptr);
    auto end = gRun->options.end;
    end(0);
}

// Applies the chosen data folder to every registered file and to the security component.
void applyDataFolder() {
    auto& manager = dataPathManager();
    if (!manager.applyPaths()) DataPathManager::ask(2); // ends the program
    security::setDataFolder(manager.dataFolder());
    if (gRun->boxes)
        gRun->boxes->setMessageFiles(message_box::messageFilesIn(
            manager.dataFolderWithSlash(), "Messages", "MesContr"));
}

void runFrame();

void afterFrame() {
    // Holding Shift as the frame ends: another data folder, and the frame again.
    if (gRun->options.shiftHeld()) {
        auto* select = new SelectPath(true);
        QObject::connect(select, &ui::Screen::finished, [](int) {
            if (!dataPathManager().chosen) {
                finalSteps();
                return;
            }
            applyDataFolder();
            runFrame();
        });
        select->open();
        return;
    }
    finalSteps();
}

void runFrame() { MainFrame::run(afterFrame); }

void chosen() {
    applyDataFolder();
    // Typed values are offered again from AutoEntry.tps in the program folder; without it the
    // program goes on without completions.
    (void)ui::auto_entry::start(dataPathManager().startFolder());
    QApplication::setWindowIcon(ui::programIcon("kvelt.ico"));
    security::ds_SetLogo("kvelt.ico", -1);
    security::ds_SetPath("", "", "", 1, 1, 1);
    security::ds_SetDefaultFont("Ms Sans Serif", 8, 400, 0xFF0000);
    runFrame();
}

} // namespace

void startProgram(StartupOptions options) {
    static Run run;
    gRun = &run;
    run.options = std::move(options);
    if (!run.options.end) run.options.end = [](int code) { QCoreApplication::exit(code); };
    if (!run.options.shiftHeld)
        run.options.shiftHeld = [] {
            return (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier) != 0;
        };

    SplashLogin::beginRun();
    // The program folder becomes the current folder; the data files are registered.
    auto& manager = dataPathManager();
    manager.init(true, run.options.programPath);
    registerDataFiles();

    // The message, stop and halt boxes, as preferences.ini says.
    run.boxes.reset();
    if (run.options.messages) {
        setMessageService(run.options.messages);
    } else {
        message_box::MessageBoxes::Setup setup;
        setup.hooks = message_box::readHookSwitches();
        setup.endProgram = [](int code) { gRun->options.end(code); };
        run.boxes = std::make_unique<message_box::MessageBoxes>(std::move(setup));
        setMessageService(run.boxes.get());
    }

    auto& g = globals();
    g.defaultPath = ini::read(settings::kvelt::file, settings::kvelt::defaultPath);
    if (g.defaultPath.empty()) g.defaultPath = manager.startFolder();
    g.setDefaultPath = static_cast<uint8_t>(
        ini::readNumber(settings::kvelt::file, settings::kvelt::setDefaultPath));

    if (g.setDefaultPath != 0 && !fixed::isBlank(g.defaultPath)) {
        if (DataPathManager::ensureFolder(g.defaultPath)) {
            manager.setDataFolder(g.defaultPath);
            manager.chosen = true;
            chosen();
        } else {
            run.options.end(0); // no data folder: end at once, without a message
        }
        return;
    }
    auto* select = new SelectPath(true);
    QObject::connect(select, &ui::Screen::finished, [](int) {
        if (!dataPathManager().chosen) {
            gRun->options.end(0); // without a message and without the end steps
            return;
        }
        chosen();
    });
    select->open();
}

} // namespace saldora::app
