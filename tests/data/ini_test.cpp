#include "data/ini.h"
#include "data/settings_keys.h"
#include "support/work_folder.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <filesystem>

using namespace saldora;
using saldora::testing::WorkFolder;
namespace fs = std::filesystem;

namespace {

// Reads an INI file with Python's configparser (the empty section allowed, "=" the only
// delimiter, no interpolation) and returns {section: {key: value}}; keys come lower-cased.
QJsonObject readWithPython(const fs::path& file) {
    const char* script = R"(
import configparser, json, re, sys
cp = configparser.ConfigParser(interpolation=None, delimiters=('=',))
cp.SECTCRE = re.compile(r"\[(?P<header>.*)\]")
with open(sys.argv[1], encoding='cp1252', newline='') as f:
    cp.read_file(f)
print(json.dumps({s: dict(cp.items(s, raw=True)) for s in cp.sections()}))
)";
    QProcess python;
    python.start("python3", {"-c", script, QString::fromStdString(file.string())});
    EXPECT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

} // namespace

TEST(Ini, FileWrittenHereReadsTheSameInPython) {
    WorkFolder folder;
    const std::string file = "./KVELT.INI";
    struct Entry {
        std::string section, key, value;
    };
    const Entry entries[] = {
        {"Preserved", "GLO:DefaultPath", "/home/loja/Dados Ação"},
        {"Preserved", "GLO:SetDefaultPath", "1"},
        {"Preferences", "ktBrowseFormat10_PesquisaContas_Browse:1", "12|34 % 5=6"},
        {"", "FontName", "Liberation Sans"},
        {"", "FontSize", "-1"},
        {"PesquisaMovimento", "XPos", ""},
        {"Preserved", "GLO:DefaultPath", "/dados/ÚLTIMO €"}, // rewrites the first one
    };
    for (const auto& e : entries)
        ASSERT_TRUE(ini::write(file, e.section, e.key, e.value).ok());

    QJsonObject read = readWithPython(folder.path() / "KVELT.INI");
    EXPECT_EQ(read.size(), 4);
    auto value = [&](const char* s, const char* k) {
        return read.value(s).toObject().value(k).toString().toStdString();
    };
    EXPECT_EQ(value("Preserved", "glo:defaultpath"), "/dados/ÚLTIMO €");
    EXPECT_EQ(value("Preserved", "glo:setdefaultpath"), "1");
    EXPECT_EQ(value("Preferences", "ktbrowseformat10_pesquisacontas_browse:1"), "12|34 % 5=6");
    EXPECT_EQ(value("", "fontname"), "Liberation Sans");
    EXPECT_EQ(value("", "fontsize"), "-1");
    EXPECT_TRUE(read.value("PesquisaMovimento").toObject().contains("xpos"));
    EXPECT_EQ(read.value("Preserved").toObject().size(), 2);
}

TEST(Ini, WriteKeepsEverythingElseOfAFileEditedByHand) {
    WorkFolder folder;
    const std::string before = "; settings of the shop\r\n"
                               "[Preserved]\r\n"
                               "  GLO:DefaultPath = /old/path  \r\n"
                               "# a note\n" // a line with its own line end
                               "Loose line without equals\r\n"
                               "\r\n"
                               "[Main]\r\n"
                               "Maximize=No\r\n"
                               "\r\n"
                               "\r\n"
                               "[Other]\r\n"
                               "last=1"; // no line end at the very end
    WorkFolder::put(folder.path() / "KVELT.INI", before);

    ASSERT_TRUE(ini::write("./KVELT.INI", "preserved", "glo:defaultpath", "/new").ok());
    ASSERT_TRUE(ini::write("./KVELT.INI", "Main", "XPos", "10").ok());
    ASSERT_TRUE(ini::write("./KVELT.INI", "Other", "next", "2").ok());
    ASSERT_TRUE(ini::write("./KVELT.INI", "New", "k", "v").ok());

    const std::string after = "; settings of the shop\r\n"
                              "[Preserved]\r\n"
                              "  GLO:DefaultPath = /new\r\n"
                              "# a note\n"
                              "Loose line without equals\r\n"
                              "\r\n"
                              "[Main]\r\n"
                              "Maximize=No\r\n"
                              "XPos=10\r\n"
                              "\r\n"
                              "\r\n"
                              "[Other]\r\n"
                              "last=1\r\n"
                              "next=2\r\n"
                              "[New]\r\n"
                              "k=v\r\n";
    EXPECT_EQ(WorkFolder::contents(folder.path() / "KVELT.INI"), after);

    // Comments and loose lines are not keys.
    EXPECT_EQ(ini::section("./KVELT.INI", "Preserved"),
              (std::vector<std::pair<std::string, std::string>>{{"GLO:DefaultPath", "/new"}}));
}

TEST(Ini, NamesOfFilesSectionsAndKeysIgnoreCase) {
    WorkFolder folder;
    WorkFolder::put(folder.path() / "kvelt.ini", "[preserved]\r\nglo:setdefaultpath=1\r\n");
    WorkFolder::put(folder.path() / "Acentos.ini", "[A\xE7\xE3o]\r\nChave=1\r\n");

    EXPECT_EQ(ini::read("./KVELT.INI", settings::kvelt::setDefaultPath), "1");
    EXPECT_EQ(ini::read(".\\Kvelt.Ini", "PRESERVED", "GLO:SETDEFAULTPATH"), "1");
    EXPECT_EQ(ini::read("./ACENTOS.INI", "AÇÃO", "chave"), "1");

    ASSERT_TRUE(ini::write("./KVELT.INI", "Preserved", "GLO:SetDefaultPath", "0").ok());
    EXPECT_FALSE(fs::exists(folder.path() / "KVELT.INI")); // no second file beside kvelt.ini
    EXPECT_EQ(WorkFolder::contents(folder.path() / "kvelt.ini"),
              "[preserved]\r\nglo:setdefaultpath=0\r\n");
}

TEST(Ini, EmptySectionNameIsASectionOfItsOwn) {
    WorkFolder folder;
    WorkFolder::put(folder.path() / "KVELT.INI", "FontName=before any section\r\n[Main]\r\n");
    EXPECT_EQ(ini::read("./KVELT.INI", settings::screen_font::name), "");
    EXPECT_EQ(ini::readNumber("./KVELT.INI", settings::screen_font::size), -1);

    ASSERT_TRUE(ini::write("./KVELT.INI", settings::screen_font::name, "Arial").ok());
    EXPECT_EQ(ini::read("./KVELT.INI", settings::screen_font::name), "Arial");
    EXPECT_EQ(ini::read("./KVELT.INI", "Main", "FontName"), "");
    EXPECT_EQ(WorkFolder::contents(folder.path() / "KVELT.INI"),
              "FontName=before any section\r\n[Main]\r\n[]\r\nFontName=Arial\r\n");
}

TEST(Ini, FirstWriteCreatesTheFileWhereItsNameSays) {
    WorkFolder folder;
    EXPECT_EQ(ini::read("./preferences.ini", settings::hooks::messageHook), "1");
    EXPECT_FALSE(fs::exists(folder.path() / "preferences.ini"));

    ASSERT_TRUE(ini::write("./preferences.ini", settings::hooks::messageHook, "0").ok());
    EXPECT_EQ(WorkFolder::contents(folder.path() / "preferences.ini"), "[0]\r\nMessageHook=0\r\n");

    // A bare name lives in the per-user configuration folder.
    ASSERT_TRUE(ini::write("WALLPAPER.INI", settings::wallpaper::picture, "fundo.jpg").ok());
    EXPECT_TRUE(fs::exists(folder.configFolder() / "WALLPAPER.INI"));
    EXPECT_FALSE(fs::exists(folder.path() / "WALLPAPER.INI"));
    EXPECT_EQ(ini::read("wallpaper.ini", settings::wallpaper::picture), "fundo.jpg");

    // A folder that does not exist is not made up: the write fails and says so.
    Status missing = ini::write(settings::estilos::file, settings::estilos::enabled, "0");
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.error().text.find("ESTILOS.INI"), std::string::npos);
}

TEST(Ini, TextOnDiskIsCp1252WithCrLfAndWhatItCannotHoldIsRefused) {
    WorkFolder folder;
    ASSERT_TRUE(ini::write("./KVELT.INI", "Seção", "Descrição", "Preço € 10").ok());
    EXPECT_EQ(WorkFolder::contents(folder.path() / "KVELT.INI"),
              "[Se\xE7\xE3o]\r\nDescri\xE7\xE3o=Pre\xE7o \x80 10\r\n");
    EXPECT_EQ(ini::read("./KVELT.INI", "SEÇÃO", "descrição"), "Preço € 10");

    const std::string kept = WorkFolder::contents(folder.path() / "KVELT.INI");
    struct Bad {
        std::string section, key, value;
    };
    const Bad bad[] = {
        {"Seção", "Descrição", "Preço ≥ 10"}, // not in cp1252
        {"Seção", "Descrição", "two\r\nlines"},
        {"Seção", "Descrição", "two\nlines"},
        {"Se]ção", "k", "v"},
        {"Seção", "", "v"},
        {"Seção", "a=b", "v"},
        {"Seção", "; comment", "v"},
        {"Seção", "[x]", "v"},
    };
    for (const auto& b : bad)
        EXPECT_FALSE(ini::write("./KVELT.INI", b.section, b.key, b.value).ok())
            << b.section << "/" << b.key << "/" << b.value;
    EXPECT_EQ(WorkFolder::contents(folder.path() / "KVELT.INI"), kept);
}

TEST(Ini, ValuesNumbersRemovalAndSectionListing) {
    WorkFolder folder;
    WorkFolder::put(folder.path() / "T.INI", "[S]\r\n"
                                             "quoted = \"  two words  \"\r\n"
                                             "single='x'\r\n"
                                             "unbalanced=\"x\r\n"
                                             "number= 12abc\r\n"
                                             "negative=-3\r\n"
                                             "word=abc\r\n"
                                             "empty=\r\n"
                                             "QUOTED=second is ignored\r\n");
    EXPECT_EQ(ini::read("./T.INI", "S", "quoted"), "  two words  ");
    EXPECT_EQ(ini::read("./T.INI", "S", "single"), "x");
    EXPECT_EQ(ini::read("./T.INI", "S", "unbalanced"), "\"x");
    EXPECT_EQ(ini::read("./T.INI", "S", "empty", "default"), "");
    EXPECT_EQ(ini::read("./T.INI", "S", "absent", "default"), "default");

    struct Number {
        const char* key;
        long expected;
    };
    for (auto n : {Number{"number", 12}, Number{"negative", -3}, Number{"word", 0},
                   Number{"empty", 0}, Number{"absent", 7}})
        EXPECT_EQ(ini::readNumber("./T.INI", "S", n.key, 7), n.expected) << n.key;

    auto keys = ini::section("./T.INI", "s");
    ASSERT_EQ(keys.size(), 7u);
    EXPECT_EQ(keys.front().first, "quoted");
    EXPECT_EQ(keys.back().first, "empty");

    ASSERT_TRUE(ini::remove("./T.INI", "S", "NUMBER").ok());
    ASSERT_TRUE(ini::remove("./T.INI", "S", "absent").ok());
    EXPECT_EQ(ini::read("./T.INI", "S", "number", "gone"), "gone");
    EXPECT_EQ(ini::section("./T.INI", "S").size(), 6u);
}

TEST(Ini, SeveralKeysOfASectionAreWrittenTogetherOrNotAtAll) {
    WorkFolder dir;
    WorkFolder::put("./K.INI", "; kept\r\n[Main]\r\nX = 1\r\n");
    ASSERT_TRUE(ini::write("./K.INI", "main", {{"x", "5"}, {"Y", "6"}}).ok());
    EXPECT_EQ(WorkFolder::contents("./K.INI"), "; kept\r\n[Main]\r\nX = 5\r\nY=6\r\n");
    // A refused value leaves the file as it was, the good keys included.
    EXPECT_FALSE(ini::write("./K.INI", "Main", {{"X", "7"}, {"Z", "a\nb"}}).ok());
    EXPECT_EQ(ini::read("./K.INI", "Main", "X"), "5");
    ASSERT_TRUE(ini::write("./K.INI", "Novo", {{"A", "1"}, {"B", "2"}}).ok());
    EXPECT_EQ(WorkFolder::contents("./K.INI"),
              "; kept\r\n[Main]\r\nX = 5\r\nY=6\r\n[Novo]\r\nA=1\r\nB=2\r\n");
}
