#include "data/text.h"
#include "support/temp_folder.h"
#include "support/work_folder.h"
#include "ui/auto_entry.h"
#include "ui/auto_entry_store.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <filesystem>

using namespace saldora;
using saldora::testing::TempFolder;
using saldora::testing::WorkFolder;
using ui::AutoEntryStore;

namespace {

// The tests speak UTF-8; the store holds cp1252.
std::string cp(const std::string& utf8) {
    return *cp1252::fromUtf8(utf8);
}

std::vector<std::string> utf8(const std::vector<std::string>& values) {
    std::vector<std::string> out;
    for (const auto& v : values)
        out.push_back(cp1252::toUtf8(v));
    return out;
}

std::unique_ptr<AutoEntryStore> openStore(const std::string& path) {
    auto s = AutoEntryStore::open(path);
    EXPECT_TRUE(s.ok()) << (s.ok() ? "" : s.error().text);
    return s ? std::move(*s) : nullptr;
}

void remember(AutoEntryStore& s, const char* procedure, const char* field,
              const std::string& value) {
    Status st = s.remember(procedure, field, cp(value));
    EXPECT_TRUE(st.ok()) << value << ": " << st.error().text;
}

std::vector<std::string> suggest(AutoEntryStore& s, const char* procedure, const char* field,
                                 const std::string& prefix, int limit = 100) {
    auto found = s.suggestions(procedure, field, cp(prefix), limit);
    EXPECT_TRUE(found.ok()) << prefix;
    return found ? utf8(*found) : std::vector<std::string>{};
}

// Types the text key by key (letters beyond ASCII too, which QTest::keyClicks refuses).
void type(QWidget* entry, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, entry, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

constexpr const char* kForm = "CadastraFiliais";
constexpr const char* kName = "FIL1:DESCRICAO";

} // namespace

TEST(AutoEntry, SuggestsWhatBeginsWithThePrefixMostUsedFirstThenLatest) {
    TempFolder dir;
    auto s = openStore(dir.file("AutoEntry.tps"));
    ASSERT_TRUE(s);
    // In order of use; a value again in another letter case is one value, in its new spelling.
    for (const char* v : {"João da Silva", "JOANA Prado", "Joaquim", "Maria", "joão da silva",
                          "Jose", "José Alves", "Joaquim", "Ânia", "Jo   ", "Jo Soares", "   ", ""})
        remember(*s, kForm, kName, v);
    remember(*s, kForm, "FIL1:CIDADE", "Joinville");
    remember(*s, "CadastraMovimento", kName, "Jornal");

    struct Case {
        std::string prefix;
        std::vector<std::string> expected;
        int limit = 100;
    } cases[] = {
        // Used twice (Joaquim latest), then once, latest first; trailing blanks were clipped.
        {"jo",
         {"Joaquim", "joão da silva", "Jo Soares", "Jo", "José Alves", "Jose", "JOANA Prado"}},
        {"jo", {"Joaquim", "joão da silva"}, 2},
        {"JOÃ", {"joão da silva"}},          // accented letters fold with their case
        {"joa", {"Joaquim", "JOANA Prado"}}, // an accent is not folded away
        {"jos", {"José Alves", "Jose"}},
        {"JOSÉ ALVES", {"José Alves"}},
        {"joão ", {"joão da silva"}}, // a trailing blank of the prefix counts
        {"jo ", {"Jo Soares"}},       // not "Jo", which sorts before the prefix
        {"âni", {"Ânia"}},
        {"x", {}},
        {"",
         {"Joaquim", "joão da silva", "Jo Soares", "Jo", "Ânia", "José Alves", "Jose", "Maria",
          "JOANA Prado"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(suggest(*s, kForm, kName, c.prefix, c.limit), c.expected)
            << "'" << c.prefix << "'";

    // Procedure and field each keep their own values, and their names ignore letter case.
    EXPECT_EQ(suggest(*s, kForm, "FIL1:CIDADE", "j"), std::vector<std::string>{"Joinville"});
    EXPECT_EQ(suggest(*s, "cadastramovimento", "fil1:descricao", "j"),
              std::vector<std::string>{"Jornal"});

    // A name the file would cut is refused rather than mixed with another field's values.
    EXPECT_FALSE(s->remember(kForm, std::string(65, 'F'), "x").ok());
    EXPECT_FALSE(s->remember("", kName, "x").ok());
    // A value wider than the file holds is not remembered cut short.
    remember(*s, kForm, kName, "Jo" + std::string(300, 'x'));
    EXPECT_EQ(suggest(*s, kForm, kName, "jox"), std::vector<std::string>{});
}

TEST(AutoEntry, AFieldKeepsItsHundredLatestValues) {
    TempFolder dir;
    auto s = openStore(dir.file("AutoEntry.tps"));
    ASSERT_TRUE(s);
    remember(*s, kForm, "FIL1:CIDADE", "Recife");
    auto value = [](int i) {
        char b[16];
        std::snprintf(b, sizeof b, "Valor %03d", i);
        return std::string(b);
    };
    for (int i = 1; i <= 105; ++i) {
        remember(*s, kForm, kName, value(i));
        if (i == 50) remember(*s, kForm, kName, value(1)); // used again: among the latest
    }
    auto kept = suggest(*s, kForm, kName, "valor", 1000);
    ASSERT_EQ(kept.size(), 100u);
    EXPECT_EQ(kept.front(), value(1)); // used twice
    for (int i = 2; i <= 6; ++i)
        EXPECT_EQ(std::count(kept.begin(), kept.end(), value(i)), 0) << i;
    EXPECT_EQ(std::count(kept.begin(), kept.end(), value(7)), 1);
    EXPECT_EQ(kept[1], value(105));
    EXPECT_EQ(suggest(*s, kForm, "FIL1:CIDADE", ""), std::vector<std::string>{"Recife"});
}

TEST(AutoEntry, TheFileKeepsValuesAcrossRunsEncryptedAndReadsThroughItsKeys) {
    WorkFolder folder;
    // An existing file is found whatever the letter case of its name.
    const auto file = folder.path() / "AUTOENTRY.TPS";
    {
        auto s = openStore(file.string());
        ASSERT_TRUE(s);
        remember(*s, "CadastraContas", "TAB1:DESCRICAO", "Aluguel da loja");
        remember(*s, "CadastraContas", "TAB1:DESCRICAO", "Aluguel da loja");
        remember(*s, "CadastraContas", "TAB1:DESCRICAO", "Aluguel do depósito");
    }
    ASSERT_TRUE(ui::auto_entry::start(folder.path().string()).ok());
    AutoEntryStore* s = ui::auto_entry::store();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->path(), file.string());
    EXPECT_EQ(suggest(*s, "CadastraContas", "TAB1:DESCRICAO", "alu"),
              (std::vector<std::string>{"Aluguel da loja", "Aluguel do depósito"}));
    remember(*s, "CadastraContas", "TAB1:DESCRICAO", "aluguel do depósito");
    remember(*s, "CadastraContas", "TAB1:DESCRICAO", "Aluguel do depósito");
    ui::auto_entry::stop();
    EXPECT_EQ(ui::auto_entry::store(), nullptr);

    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder.path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1); // no second file beside the one found

    const std::string bytes = WorkFolder::contents(file);
    for (const std::string& plain :
         {std::string("SQLite format"), std::string("Aluguel"), cp("depósito"),
          std::string("CadastraContas"), std::string("DESCRICAO")})
        EXPECT_EQ(bytes.find(plain), std::string::npos) << plain;

    auto again = openStore(file.string());
    ASSERT_TRUE(again);
    EXPECT_EQ(suggest(*again, "CadastraContas", "TAB1:DESCRICAO", "aluguel d"),
              (std::vector<std::string>{"Aluguel do depósito", "Aluguel da loja"}));

    auto db = store::Database::open(file.string(), ui::auto_entry::layout());
    ASSERT_TRUE(db.ok());
    const store::Table& t = ui::auto_entry::AutoEntryValue::table();
    for (const store::Key& k : t.keys) {
        store::Cursor c(**db, t, k);
        for (const auto& line : c.explain()) {
            EXPECT_EQ(line.find("TEMP B-TREE"), std::string::npos) << k.name << " " << line;
            EXPECT_NE(line.find("USING INDEX " + k.name), std::string::npos) << k.name << line;
        }
    }
}

TEST(AutoEntry, AnAttachedEntryOffersTheRememberedValuesAsTheUserTypes) {
    WorkFolder folder;
    ASSERT_TRUE(ui::auto_entry::start(".").ok());
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "AutoEntry.tps"));

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* descricao = new QLineEdit(&window);
    descricao->setObjectName("TAB1:DESCRICAO");
    auto* codigo = new QLineEdit(&window);
    codigo->setObjectName("TAB1:CODMOV");
    auto* other = new QLineEdit(&window); // not registered
    layout->addWidget(descricao);
    layout->addWidget(codigo);
    layout->addWidget(other);
    ui::auto_entry::attach(descricao, "CadastraContas");
    ui::auto_entry::attach(codigo, "CadastraContas", "TAB1:CODMOV");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // What the form accepted is offered next time.
    descricao->setText("Água e luz");
    codigo->setText("010");
    other->setText("Água fria");
    ui::auto_entry::rememberEntries(&window);
    descricao->setText("Água mineral");
    ui::auto_entry::remember(descricao);
    EXPECT_EQ(suggest(*ui::auto_entry::store(), "CadastraContas", "TAB1:DESCRICAO", ""),
              (std::vector<std::string>{"Água mineral", "Água e luz"}));
    EXPECT_EQ(suggest(*ui::auto_entry::store(), "CadastraContas", "TAB1:CODMOV", ""),
              std::vector<std::string>{"010"});

    descricao->clear();
    descricao->setFocus();
    type(descricao, "á");
    QCompleter* completer = descricao->completer();
    ASSERT_NE(completer, nullptr);
    auto* model = completer->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, 0).data().toString(), QString("Água mineral"));
    EXPECT_EQ(model->index(1, 0).data().toString(), QString("Água e luz"));
    EXPECT_TRUE(completer->popup()->isVisible());

    // Picking a suggestion puts it in the entry.
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    EXPECT_EQ(descricao->text(), QString("Água e luz"));
    EXPECT_FALSE(completer->popup()->isVisible());

    // Typed further, the list narrows.
    QTest::keyClick(descricao, Qt::Key_Backspace);
    QTest::keyClick(descricao, Qt::Key_Backspace);
    QTest::keyClick(descricao, Qt::Key_Backspace);
    ASSERT_EQ(model->rowCount(), 1); // "Água e "
    EXPECT_EQ(model->index(0, 0).data().toString(), QString("Água e luz"));

    // Nothing matches: no list.
    descricao->clear();
    type(descricao, "zz");
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_FALSE(completer->popup()->isVisible());

    // Without the store the entries still work, with nothing to offer.
    ui::auto_entry::stop();
    descricao->clear();
    type(descricao, "A");
    EXPECT_EQ(model->rowCount(), 0);
    ui::auto_entry::remember(descricao); // no store: nothing happens
}
