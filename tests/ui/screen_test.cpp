#include "data/globals.h"
#include "data/ini.h"
#include "support/work_folder.h"
#include "ui/screen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace saldora;
using ui::Screen;

namespace {

struct Workspace {
    QMdiArea area;
    Workspace() {
        area.resize(900, 700);
        area.show();
        ui::setWorkspace(&area);
    }
    ~Workspace() {
        ui::setWorkspace(nullptr);
        area.closeAllSubWindows();
        QApplication::processEvents();
    }
};

Screen* screen(const char* name) {
    auto* s = new Screen(name);
    auto* layout = new QVBoxLayout(s);
    auto* edit = new QLineEdit(s);
    edit->setObjectName("edit");
    layout->addWidget(edit);
    return s;
}

} // namespace

TEST(Screens, ChildrenOfTwoScreensCloseInEitherOrderAndEachCallerGoesOn) {
    saldora::testing::WorkFolder cwd; // KVELT.INI lands here
    Workspace ws;
    Screen* a = screen("TelaA");
    Screen* b = screen("TelaB");
    a->open();
    b->open();

    std::vector<std::string> events;
    Screen* childA = screen("FilhaA");
    Screen* childB = screen("FilhaB");
    a->openChild(childA, [&](int r) { events.push_back("A:" + std::to_string(r)); });
    b->openChild(childB, [&](int r) { events.push_back("B:" + std::to_string(r)); });
    EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(childA->isEnabled());

    // Opened A then B; B's child finishes first, then A's: each caller continues at once.
    childB->finish(ui::result::Completed);
    QApplication::processEvents();
    EXPECT_EQ(events, std::vector<std::string>{"B:1"});
    EXPECT_TRUE(b->isEnabled());
    EXPECT_FALSE(a->isEnabled());

    childA->finish(ui::result::Cancelled);
    QApplication::processEvents();
    EXPECT_EQ(events, (std::vector<std::string>{"B:1", "A:0"}));
    EXPECT_TRUE(a->isEnabled());

    // And the other order, one level deeper on A.
    events.clear();
    Screen* c1 = screen("FilhaA");
    Screen* c2 = screen("FilhaB");
    a->openChild(c1, [&](int r) { events.push_back("A:" + std::to_string(r)); });
    b->openChild(c2, [&](int r) { events.push_back("B:" + std::to_string(r)); });
    Screen* grandchild = screen("Neta");
    c1->openChild(grandchild, [&](int r) { events.push_back("A1:" + std::to_string(r)); });
    grandchild->finish(ui::result::Completed);
    c1->finish(ui::result::Completed);
    c2->finish(ui::result::Completed);
    QApplication::processEvents();
    EXPECT_EQ(events, (std::vector<std::string>{"A1:1", "A:1", "B:1"}));
}

TEST(Screens, AScreenWithAChildOpenOrWithoutCloseCommandStaysOpen) {
    saldora::testing::WorkFolder cwd;
    Workspace ws;
    QPointer<Screen> a = screen("TelaA");
    a->open();
    Screen* child = screen("FilhaA");
    bool done = false;
    a->openChild(child, [&](int) { done = true; });
    a->frameWindow()->close();
    QApplication::processEvents();
    EXPECT_FALSE(a.isNull());
    EXPECT_FALSE(done);

    child->frameWindow()->close(); // the close box: cancelled
    QApplication::processEvents();
    EXPECT_TRUE(done);

    a->setClosable(false);
    a->frameWindow()->close();
    QApplication::processEvents();
    ASSERT_FALSE(a.isNull());
    a->finish(ui::result::Completed);
    QApplication::processEvents();
    EXPECT_TRUE(a.isNull());
}

TEST(Screens, StateIsKeptUnderTheProcedureName) {
    saldora::testing::WorkFolder cwd;
    Workspace ws;
    Screen* a = screen("PesquisaContas");
    a->open();
    a->frameWindow()->setGeometry(30, 40, 320, 200);
    a->finish(ui::result::Completed);
    QApplication::processEvents();
    std::string ini = saldora::testing::WorkFolder::contents(cwd.path() / "KVELT.INI");
    EXPECT_NE(ini.find("[PesquisaContas]\r\nMaximize=No\r\nMinimize=No\r\nXPos=30\r\nYPos=40\r\n"
                       "Width=320\r\nHeight=200\r\n"),
              std::string::npos)
        << ini;

    QPointer<Screen> again = screen("PesquisaContas");
    again->open();
    EXPECT_EQ(again->frameWindow()->geometry(), QRect(30, 40, 320, 200));
    again->frameWindow()->showMaximized();
    again->finish(ui::result::Completed);
    QApplication::processEvents();
    ini = saldora::testing::WorkFolder::contents(cwd.path() / "KVELT.INI");
    EXPECT_NE(ini.find("Maximize=Yes\r\nMinimize=No\r\nXPos=\r\nYPos=\r\nWidth=\r\nHeight=\r\n"),
              std::string::npos)
        << ini;
    Screen* third = screen("PesquisaContas");
    third->open();
    EXPECT_TRUE(third->frameWindow()->isMaximized());
}

TEST(Screens, EnterMovesOnOrPressesAsTheSettingStoodAtOpening) {
    saldora::testing::WorkFolder cwd;
    Workspace ws;
    for (int on : {0, 1}) {
        globals().enterTab = static_cast<uint8_t>(on);
        Screen* s = screen("Tela");
        auto* second = new QLineEdit(s);
        second->setObjectName("second");
        auto* ok = new QPushButton("OK", s);
        int presses = 0;
        QObject::connect(ok, &QPushButton::clicked, [&] { ++presses; });
        s->layout()->addWidget(second);
        s->layout()->addWidget(ok);
        s->open();
        QApplication::setActiveWindow(ws.area.window());
        auto* first = s->findChild<QLineEdit*>("edit");
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget() == second, on == 1) << on;
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key_Return);
        EXPECT_EQ(presses, on) << on;
        s->finish(ui::result::Completed);
        QApplication::processEvents();
    }
    globals().enterTab = 0;
}

TEST(Screens, FinishingAScreenEndsItsOpenChildFirst) {
    saldora::testing::WorkFolder cwd;
    Workspace ws;
    QPointer<Screen> a = screen("TelaA");
    a->open();
    QPointer<Screen> child = screen("FilhaA");
    int answer = -1;
    a->openChild(child, [&](int r) { answer = r; });
    a->finish(ui::result::Completed); // as the frame does when it closes
    QApplication::processEvents();
    EXPECT_EQ(answer, ui::result::Cancelled);
    EXPECT_TRUE(child.isNull());
    EXPECT_TRUE(a.isNull());
}

TEST(Screens, AWindowLeftPartlyOutsideTheWorkspaceOpensInsideIt) {
    saldora::testing::WorkFolder cwd;
    Workspace ws;
    ASSERT_TRUE(ini::write("./KVELT.INI", "Fora", {{"XPos", "850"}, {"YPos", "650"}}).ok());
    Screen* s = screen("Fora");
    s->resize(300, 200);
    s->open();
    QApplication::processEvents();
    const QRect inside = ws.area.viewport()->rect();
    EXPECT_TRUE(inside.contains(s->frameWindow()->frameGeometry()))
        << s->frameWindow()->frameGeometry().x() << "," << s->frameWindow()->frameGeometry().y();
    s->finish(ui::result::Completed);
}
