// The data path manager and its windows.
#include "app/data_path_manager.h"
#include "app/paths_file.h"
#include "app/select_path.h"
#include "app/update_paths.h"
#include "data/files.h"
#include "data/ini.h"
#include "support/scripted_messages.h"
#include "support/work_folder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>
#include <fstream>

using namespace saldora;
using app::DataPathManager;
namespace fs = std::filesystem;

TEST(DataPathManager, RelativeFoldersAndTheNamesOfTheRegisteredFiles) {
    saldora::testing::WorkFolder cwd;
    const std::string here = fs::current_path().string();
    struct Case { std::string folder, stored; };
    const Case cases[] = {
        {here + "/DADOS", "./DADOS"},
        {here + "/DADOS/2024/", "./DADOS/2024"},
        {here, here},                              // the folder itself is not inside it
        {here + "X/DADOS", here + "X/DADOS"},      // a sibling whose name starts alike
        {"/outro/disco/DADOS", "/outro/disco/DADOS"},
        {"./JA", "./JA"},
    };
    for (const auto& c : cases) EXPECT_EQ(DataPathManager::makeRelative(c.folder), c.stored) << c.folder;

    DataPathManager m;
    m.init(false, "");
    DataFile clients(files::layouts::cadfil1()), named(files::layouts::messages()),
        full(files::layouts::mesContr());
    m.addFile(&clients, "CADFIL1");
    m.addFile(&named, "MESSAGES", "Messages", false);
    m.addFile(&full, "MESCONTR", "C:\\OUTRO\\MesContr", false);
    m.setDataFolder("./X/Y/");
    EXPECT_EQ(m.dataFolderWithSlash(), "./X/Y/"); // no second slash
    ASSERT_TRUE(m.applyPaths());                  // creates every missing level
    EXPECT_TRUE(fs::is_directory("X/Y"));
    EXPECT_EQ(clients.path(), "./X/Y/CADFIL1.sld");
    EXPECT_EQ(named.path(), "./X/Y/Messages.sld");
    EXPECT_EQ(full.path(), "./X/Y/MesContr.sld"); // a full path keeps only its file name
}

TEST(DataPathManager, AFolderThatCannotBeCreatedIsReportedAndAskedAgain) {
    saldora::testing::WorkFolder cwd;
    saldora::testing::ScriptedMessages box;
    std::ofstream("ARQUIVO") << "x"; // a file where a folder should go
    box.answer(button::Yes);
    box.answer(button::Ok);
    box.answer(button::No);
    EXPECT_FALSE(DataPathManager::ensureFolder("./ARQUIVO/DADOS"));
    ASSERT_EQ(box.shown.size(), 3u);
    EXPECT_EQ(box.shown[0].text, "Caminho não encontrado, criar ?");
    EXPECT_EQ(box.shown[1].text, "Erro criando caminho !");
    EXPECT_EQ(box.shown[2].text, "Caminho não encontrado, criar ?");
}

TEST(SelectPath, PathsAreAddedRelativeRememberedAndSelected) {
    saldora::testing::WorkFolder cwd;
    saldora::testing::ScriptedMessages box;
    const std::string here = fs::current_path().string();
    auto* select = new app::SelectPath(true);
    select->open();
    select->findChild<QPushButton*>("Insert")->click();
    auto* form = qobject_cast<app::UpdatePaths*>(select->openChildScreen());
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(select->isEnabled());
    form->findChild<QLineEdit*>("PAT:PATH")->setText(QString::fromStdString(here + "/LOJA/DADOS"));
    form->findChild<QCheckBox*>("LOC:Relativo")->setChecked(true);
    form->findChild<QLineEdit*>("PAT:COMMENTS")->setText("Loja do centro");
    form->findChild<QPushButton*>("OK")->click();
    QApplication::processEvents();
    EXPECT_TRUE(select->isEnabled());

    auto db = store::Database::open("PATHS.sld", files::layouts::paths());
    ASSERT_TRUE(db.ok());
    auto stored = (*db)->last(files::Paths::table());
    ASSERT_TRUE(stored.ok() && stored->has_value());
    EXPECT_EQ((**stored).text(0), "./LOJA/DADOS");
    EXPECT_EQ((**stored).text(1), "Loja do centro");

    // Selecting a missing folder: Yes creates it, and the highlighted path is remembered.
    box.answer(button::Yes);
    select->findChild<QPushButton*>("Select")->click();
    QApplication::processEvents();
    EXPECT_TRUE(fs::is_directory("LOJA/DADOS"));
    EXPECT_TRUE(app::dataPathManager().chosen);
    EXPECT_EQ(app::dataPathManager().dataFolder(), "./LOJA/DADOS");
    EXPECT_EQ(ini::read("./KVELT.INI", "SelectPath", "PreviousPath", ""), "./LOJA/DADOS");
}
