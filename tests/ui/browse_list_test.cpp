#include "data/files.h"
#include "support/temp_folder.h"
#include "ui/browse_list.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTableView>
#include <QTest>

using namespace saldora;
using files::Tabmov1;

namespace {

struct Fixture {
    saldora::testing::TempFolder dir;
    std::unique_ptr<store::Database> db;
    ui::BrowseList list;
    int reads = 0;

    explicit Fixture(int accounts) {
        db = std::move(*store::Database::open(dir.file("TABMOV1.sld"), files::layouts::tabmov1(),
                                             store::Database::Create::IfMissing));
        (void)db->begin();
        for (int i = 0; i < accounts; ++i) {
            Tabmov1 t;
            char code[8];
            std::snprintf(code, sizeof code, "%03d", i);
            t.codmov = code;
            t.descricao = std::string("Conta ") + code;
            t.crdb = i % 2 ? "+" : "-";
            auto r = *toRecord(t);
            (void)db->add(r);
        }
        (void)db->commit();
        const auto& table = Tabmov1::table();
        list.setSource(db.get(), &table, table.key("TAB1:KEY_TABMOV"));
        list.setFilter([this](const store::Record&) {
            ++reads;
            return true;
        });
        list.setColumns({{"Conta:", 0, "@s3", 27, Qt::AlignHCenter, 0, {}, {}, {}},
                         {"Descrição:", 1, "@s25", 123, Qt::AlignLeft, 4, {}, {}, {}}});
        list.resize(400, 10 * 30 + 40);
        list.show();
        QApplication::processEvents();
    }

    std::vector<std::string> codes() const {
        std::vector<std::string> out;
        for (const auto& r : list.page()) out.push_back(r.text(0));
        return out;
    }
    std::string current() const { return list.current() ? list.current()->text(0) : "-"; }
};

} // namespace

TEST(BrowseList, MovesAPageAtATimeWithoutReadingTheWholeFile) {
    Fixture f(1000);
    f.list.toFirst();
    const int n = f.list.pageSize();
    ASSERT_GT(n, 3);
    ASSERT_EQ(static_cast<int>(f.list.page().size()), n);
    EXPECT_EQ(f.codes().front(), "000");
    EXPECT_EQ(f.current(), "000");

    f.reads = 0;
    for (int i = 0; i < n - 1; ++i) f.list.down();
    EXPECT_EQ(f.current(), f.codes().back());
    f.list.down(); // past the last row: the page moves one record
    EXPECT_EQ(f.codes().front(), "001");
    EXPECT_EQ(f.current(), f.codes().back());
    EXPECT_LE(f.reads, 2);

    f.reads = 0;
    f.list.toLast();
    EXPECT_EQ(f.codes().back(), "999");
    EXPECT_EQ(f.current(), "999");
    EXPECT_LE(f.reads, n + 1);

    f.list.pageUp();
    EXPECT_EQ(f.codes().back(), std::to_string(999 - n));
    f.list.pageDown();
    EXPECT_EQ(f.codes().back(), "999");

    f.reads = 0;
    f.list.locate({std::string("5")});
    EXPECT_EQ(f.current(), "500");
    EXPECT_EQ(f.codes().front(), "500");
    EXPECT_LE(f.reads, n + 1);
    f.list.up();
    EXPECT_EQ(f.current(), "499");
    EXPECT_EQ(f.codes().front(), "499");

    // The keys move it too.
    f.list.view()->setFocus();
    QTest::keyClick(f.list.view(), Qt::Key_Home);
    EXPECT_EQ(f.current(), "000");
    QTest::keyClick(f.list.view(), Qt::Key_End);
    EXPECT_EQ(f.current(), "999");
}

TEST(BrowseList, StripesAndPicturesShowEachRow) {
    Fixture f(5);
    f.list.toFirst();
    auto* model = f.list.view()->model();
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Descrição:");
    EXPECT_EQ(model->index(0, 1).data().toString(), " Conta 000"); // 4-unit indent
    EXPECT_EQ(model->index(1, 0).data().toString(), "001");
    EXPECT_EQ(model->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(147, 201, 255));
    EXPECT_FALSE(model->index(1, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_EQ(model->index(2, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(147, 201, 255));
}

TEST(BrowseList, RefreshKeepsItsPlaceAndFollowsDeletesAndEmptiness) {
    Fixture f(40);
    bool empty = false;
    QObject::connect(&f.list, &ui::BrowseList::emptinessChanged, [&](bool e) { empty = e; });
    f.list.locate({std::string("010")});
    f.list.down();
    ASSERT_EQ(f.current(), "011");
    auto gone = *f.list.current();
    ASSERT_TRUE(f.db->remove(gone).ok());
    f.list.refresh();
    EXPECT_EQ(f.codes().front(), "010");
    f.list.locateRecord(gone); // the record that took its place
    EXPECT_EQ(f.current(), "012");

    // A range: only the records whose first component matches.
    const auto& table = Tabmov1::table();
    f.list.setSource(f.db.get(), &table, table.key("TAB1:KEY_TABMOV"), {std::string("02")});
    f.list.toFirst();
    EXPECT_TRUE(f.codes().empty()); // "02" is a whole code, not a prefix
    EXPECT_TRUE(empty);
    f.list.setSource(f.db.get(), &table, table.key("TAB1:KEY_TABMOV"), {std::string("020")});
    f.list.toFirst();
    EXPECT_EQ(f.codes(), std::vector<std::string>{"020"});
    EXPECT_FALSE(empty);
}
