#include "messages/message_boxes.h"

#include "data/files.h"
#include "data/ini.h"
#include "data/store.h"
#include "messages/message_options.h"
#include "messages/neat_message.h"
#include "messages/screen_font.h"
#include "support/modal_driver.h"
#include "support/work_folder.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

using namespace saldora;
using namespace saldora::message_box;
using saldora::testing::ModalDriver;
using saldora::testing::WorkFolder;

namespace {

// Visible push buttons in the order of the row.
std::vector<std::string> buttonTexts(QWidget* box) {
    std::vector<QPushButton*> buttons;
    for (auto* b : box->findChildren<QPushButton*>())
        if (b->isVisible()) buttons.push_back(b);
    std::sort(buttons.begin(), buttons.end(),
              [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    std::vector<std::string> texts;
    for (auto* b : buttons)
        texts.push_back(b->text().toStdString());
    return texts;
}

// The box's text control; a stand-in when it is missing, so that a broken box fails the test
// rather than ending the test program.
QLabel* messageText(QWidget* box) {
    if (auto* text = box->findChild<QLabel*>("LOC:MENSAJE")) return text;
    ADD_FAILURE() << "no LOC:MENSAJE";
    static QLabel missing;
    return &missing;
}

void sendKey(QWidget* box, int key) {
    QWidget* target = box->focusWidget() ? box->focusWidget() : box;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

template <class R>
std::vector<R> storedRecords(const std::string& path, const store::FileLayout& layout) {
    std::vector<R> records;
    auto db = store::Database::open(path, layout);
    if (!db) return records;
    const store::Table& table = R::table();
    store::Cursor cursor(**db, table, table.keys.front());
    cursor.seekFirst();
    auto page = cursor.page(1000);
    if (page)
        for (const auto& r : *page)
            records.push_back(fromRecord<R>(r));
    return records;
}

class MessageBoxesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        screenFont() = ScreenFont{};
        programMessageOptions().clear();
        install(saldoraVariant, HookSwitches{});
    }
    void TearDown() override { setMessageService(nullptr); }

    void install(const MessageVariant& variant, HookSwitches hooks) {
        MessageBoxes::Setup setup;
        setup.variant = &variant;
        setup.hooks = hooks;
        setup.files = paths;
        setup.endProgram = [](int code) { throw ProgramHalted{code, ""}; };
        boxes = std::make_unique<MessageBoxes>(std::move(setup));
        setMessageService(boxes.get());
    }

    int show(std::string text, std::string buttons = "", int defaultButton = 0,
             Icon icon = Icon::None, std::string caption = "") {
        return messages().show(
            Message{std::move(text), std::move(caption), icon, std::move(buttons), defaultButton});
    }

    std::vector<files::Messages> storedMessages() {
        return storedRecords<files::Messages>(paths.messages, files::layouts::messages());
    }
    std::vector<files::MesContr> counters() {
        return storedRecords<files::MesContr>(paths.mesContr, files::layouts::mesContr());
    }

    WorkFolder folder;
    MessageFilePaths paths = messageFilesIn(".", "Messages", "MesContr");
    std::unique_ptr<MessageBoxes> boxes;
};

} // namespace

TEST_F(MessageBoxesTest, ButtonsAnswerTheirFlagOrTheirPosition) {
    struct Case {
        std::string buttons;
        std::vector<std::string> texts;
        const char* press;
        int answer;
    };
    const Case cases[] = {
        {"3", {"&Ok", "&Sim"}, "&Ok", 1},
        {"3", {"&Ok", "&Sim"}, "&Sim", 2},
        {"", {"&Ok"}, "&Ok", 1},
        {"Gravar|Descartar|Voltar", {"Gravar", "Descartar", "Voltar"}, "Gravar", 1},
        {"Gravar|Descartar|Voltar", {"Gravar", "Descartar", "Voltar"}, "Descartar", 2},
        {"Gravar|Descartar|Voltar", {"Gravar", "Descartar", "Voltar"}, "Voltar", 3},
    };
    for (const auto& c : cases) {
        ModalDriver driver;
        driver.then([&](QWidget* box) {
            EXPECT_EQ(box->objectName(), "NeatMessage");
            EXPECT_EQ(box->windowTitle(), "Mensagem");
            EXPECT_EQ(buttonTexts(box), c.texts) << c.buttons;
            ModalDriver::click(box, c.press);
        });
        EXPECT_EQ(show("Confirma?", c.buttons), c.answer) << c.buttons << " " << c.press;
    }
}

TEST_F(MessageBoxesTest, KeysMoveBetweenButtonsAndEscPressesCancel) {
    const std::string yesNoCancel = std::to_string(button::Yes + button::No + button::Cancel);
    {
        ModalDriver driver;
        driver.then([](QWidget* box) {
            auto* no = qobject_cast<QPushButton*>(ModalDriver::button(box, "&Não"));
            ASSERT_TRUE(no);
            EXPECT_TRUE(no->isDefault());
            EXPECT_EQ(box->focusWidget(), no); // the default button has the focus
            sendKey(box, Qt::Key_Right);
            EXPECT_EQ(box->focusWidget()->property("text").toString(), "&Cancela");
            sendKey(box, Qt::Key_Up);
            sendKey(box, Qt::Key_Left);
            EXPECT_EQ(box->focusWidget()->property("text").toString(), "&Sim");
            sendKey(box, Qt::Key_Return); // presses the button with the focus
        });
        EXPECT_EQ(show("Apaga?", yesNoCancel, button::No), button::Yes);
    }
    {
        ModalDriver driver;
        driver.then([](QWidget* box) { sendKey(box, Qt::Key_Escape); });
        EXPECT_EQ(show("Apaga?", yesNoCancel, button::No), button::Cancel);
    }
    {
        // Without a cancel button Esc does nothing; closing by the frame answers 0.
        ModalDriver driver;
        driver.then([](QWidget* box) {
            sendKey(box, Qt::Key_Escape);
            EXPECT_TRUE(box->isVisible());
            box->close();
        });
        EXPECT_EQ(show("Apaga?", "3"), 0);
    }
    EXPECT_EQ(counters().size(), 1u); // the box closed by its frame was not answered
}

TEST_F(MessageBoxesTest, SelfClosingBoxAnswersZeroAndIsNotRecorded) {
    ModalDriver driver;
    driver.then(
        [](QWidget* box) { EXPECT_EQ(buttonTexts(box), std::vector<std::string>{"Continua"}); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(show("Aguarde...", "Continua 1"), 0);
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(storedMessages().empty());
}

TEST_F(MessageBoxesTest, PlainOkBoxShowsOkAndWritesNothing) {
    ModalDriver driver;
    driver.then([](QWidget* box) {
        EXPECT_EQ(buttonTexts(box), std::vector<std::string>{"Ok"});
        ModalDriver::click(box, "Ok");
    });
    EXPECT_EQ(show("Arquivo copiado.", "MessagemOk"), 1);
    EXPECT_TRUE(storedMessages().empty());
    EXPECT_TRUE(counters().empty());
}

TEST_F(MessageBoxesTest, RecordsEachTextOnceAndCountsItsAnswers) {
    for (int i = 0; i < 3; ++i) {
        ModalDriver driver;
        driver.then([](QWidget* box) {
            EXPECT_EQ(messageText(box)->text(), "Registro gravado\ncom sucesso.");
            ModalDriver::click(box, "&Ok");
        });
        show("Registro gravado|com sucesso.  ");
    }
    {
        ModalDriver driver;
        driver.then([](QWidget* box) { ModalDriver::click(box, "&Sim"); });
        show("@C@Outra mensagem", "3");
    }
    auto texts = storedMessages();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].messageid, 1);
    EXPECT_EQ(texts[0].message, "Registro gravado\r\ncom sucesso.");
    EXPECT_EQ(texts[0].dontaudit, 0);
    EXPECT_EQ(texts[1].messageid, 2);
    EXPECT_EQ(texts[1].message, "Outra mensagem");

    auto counted = counters();
    ASSERT_EQ(counted.size(), 2u);
    EXPECT_EQ(counted[0].userid, 0);
    EXPECT_EQ(counted[0].messageid, 1);
    EXPECT_EQ(counted[0].ranking, 3);
    EXPECT_EQ(counted[0].dontaskagain, 0);
    EXPECT_EQ(counted[0].myanswer, 0);
    EXPECT_EQ(counted[1].messageid, 2);
    EXPECT_EQ(counted[1].ranking, 1);
}

TEST_F(MessageBoxesTest, OneShotOptionsApplyToOneBoxOnly) {
    MessageOptions& options = currentMessageOptions();
    options.align = "C";
    options.fontStyle = 700;
    options.useColor = true;
    options.color = 0xFFFFFF;
    {
        ModalDriver driver;
        driver.then([](QWidget* box) {
            QLabel* text = messageText(box);
            EXPECT_TRUE(text->alignment() & Qt::AlignHCenter);
            EXPECT_EQ(text->font().weight(), QFont::Bold);
            EXPECT_EQ(box->palette().color(QPalette::Window), QColor(Qt::white));
            ModalDriver::click(box, "&Ok");
        });
        show("Seleção de Fontes Ativada !");
    }
    EXPECT_TRUE(options.align.empty());
    EXPECT_EQ(options.fontStyle, 0);
    EXPECT_FALSE(options.useColor);
    {
        ModalDriver driver;
        driver.then([](QWidget* box) {
            QLabel* text = messageText(box);
            EXPECT_TRUE(text->alignment() & Qt::AlignRight); // from the text's own prefix
            EXPECT_EQ(text->text(), "Direita");
            EXPECT_NE(text->font().weight(), QFont::Bold);
            ModalDriver::click(box, "&Ok");
        });
        show("@r@Direita");
    }
}

TEST_F(MessageBoxesTest, BoxReopensWhereItWasLeft) {
    {
        ModalDriver driver;
        driver.then([](QWidget* box) {
            box->move(30, 40);
            ModalDriver::click(box, "&Ok");
        });
        show("Primeira");
    }
    EXPECT_EQ(ini::read("./KVELT.INI", "NeatMessage", "XPos"), "30");
    EXPECT_EQ(ini::read("./KVELT.INI", "NeatMessage", "YPos"), "40");
    EXPECT_EQ(ini::read("./KVELT.INI", "NeatMessage", "Maximize"), "No");
    {
        ModalDriver driver;
        driver.then([](QWidget* box) {
            EXPECT_EQ(box->pos(), QPoint(30, 40));
            ModalDriver::click(box, "&Ok");
        });
        show("Segunda");
    }
    // A stored place off the desktop is brought back inside it.
    ASSERT_TRUE(ini::write("./KVELT.INI", "NeatMessage", "XPos", "-5000").ok());
    {
        ModalDriver driver;
        driver.then([](QWidget* box) {
            EXPECT_GE(box->x(), box->screen()->availableGeometry().left());
            ModalDriver::click(box, "&Ok");
        });
        show("Terceira");
    }
}

TEST_F(MessageBoxesTest, LauncherBoxHasItsOwnWordsAndRemembersNothing) {
    install(launcherVariant, HookSwitches{});
    currentMessageOptions().align = "C"; // the launcher has no one-shot options
    ModalDriver driver;
    driver.then([](QWidget* box) {
        EXPECT_EQ(buttonTexts(box), (std::vector<std::string>{"A&bortar", "&Tentar de novo"}));
        EXPECT_TRUE(messageText(box)->alignment() & Qt::AlignLeft);
        ModalDriver::click(box, "&Tentar de novo");
    });
    EXPECT_EQ(show("Falha", "24"), 16);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "KVELT.INI"));
    EXPECT_EQ(storedMessages().size(), 1u);
}

TEST_F(MessageBoxesTest, MessageRaisedWhileABoxIsOpenUsesThePlainBox) {
    ModalDriver driver;
    int inner = -1;
    driver.then([&](QWidget* outer) {
        QTimer::singleShot(0, outer, [&, outer] {
            inner = show("Por dentro", "Sim|Não");
            ModalDriver::click(outer, "&Ok");
        });
    });
    driver.then([](QWidget* box) {
        auto* plain = qobject_cast<QMessageBox*>(box);
        ASSERT_TRUE(plain);
        EXPECT_EQ(plain->text(), "Por dentro");
        ModalDriver::click(box, "Não");
    });
    EXPECT_EQ(show("Por fora"), 1);
    EXPECT_EQ(inner, 2);
    auto texts = storedMessages();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].message, "Por fora");
}

TEST_F(MessageBoxesTest, SwitchesReadAndWrittenBack) {
    // A missing file reads as every box in place, and is created at the end.
    HookSwitches fresh = readHookSwitches();
    EXPECT_EQ(fresh.message, 1);
    EXPECT_EQ(fresh.stop, 1);
    EXPECT_EQ(fresh.halt, 1);
    ASSERT_TRUE(writeHookSwitches(fresh).ok());
    EXPECT_EQ(WorkFolder::contents(folder.path() / "preferences.ini"),
              "[0]\r\nMessageHook=1\r\nStopHook=1\r\nHaltHook=1\r\n");

    WorkFolder::put(folder.path() / "PREFERENCES.INI", "[0]\r\nMessageHook=0\r\nStopHook=7\r\n");
    std::filesystem::remove(folder.path() / "preferences.ini");
    HookSwitches read = readHookSwitches();
    EXPECT_EQ(read.message, 0);
    EXPECT_EQ(read.stop, 7);
    EXPECT_EQ(read.halt, 1);

    install(saldoraVariant, read);
    ModalDriver driver;
    driver.then([](QWidget* box) {
        ASSERT_TRUE(qobject_cast<QMessageBox*>(box)); // the toolkit's own box
        EXPECT_EQ(box->windowTitle(), "Aviso");
        ModalDriver::click(box, "&Sim");
    });
    EXPECT_EQ(show("Sem o gancho", "3", 0, Icon::Exclamation, "Aviso"), 2);
    EXPECT_TRUE(storedMessages().empty());

    ASSERT_TRUE(writeHookSwitches(boxes->switches()).ok());
    EXPECT_EQ(WorkFolder::contents(folder.path() / "PREFERENCES.INI"),
              "[0]\r\nMessageHook=0\r\nStopHook=7\r\nHaltHook=1\r\n");
}

TEST_F(MessageBoxesTest, StopAndHalt) {
    {
        ModalDriver driver;
        driver.then([](QWidget* box) {
            EXPECT_EQ(box->windowTitle(), "Parar");
            EXPECT_EQ(messageText(box)->text(), "Sair?");
            EXPECT_EQ(buttonTexts(box), (std::vector<std::string>{"A&borta", "&Ignora"}));
            auto* ignore = qobject_cast<QPushButton*>(ModalDriver::button(box, "&Ignora"));
            EXPECT_TRUE(ignore && ignore->isDefault());
            ModalDriver::click(box, "&Ignora");
        });
        EXPECT_NO_THROW(messages().stop("Arquivo em uso", true));
    }
    {
        ModalDriver driver;
        driver.then([](QWidget* box) {
            EXPECT_EQ(messageText(box)->text(), "Arquivo em uso");
            ModalDriver::click(box, "A&borta");
        });
        try {
            messages().stop("Arquivo em uso", false);
            ADD_FAILURE() << "A&borta must end the program";
        } catch (const ProgramHalted& h) {
            EXPECT_EQ(h.exitCode, 0);
        }
    }
    {
        ModalDriver driver;
        driver.then([](QWidget* box) {
            EXPECT_EQ(box->windowTitle(), "Suspender");
            EXPECT_EQ(buttonTexts(box), std::vector<std::string>{"&Ok"});
            ModalDriver::click(box, "&Ok");
        });
        try {
            messages().halt(3, "Erro fatal");
            ADD_FAILURE();
        } catch (const ProgramHalted& h) {
            EXPECT_EQ(h.exitCode, 3);
        }
    }
    try {
        messages().halt(4, ""); // no message, no box
    } catch (const ProgramHalted& h) {
        EXPECT_EQ(h.exitCode, 4);
    }
}

TEST_F(MessageBoxesTest, FailedRecordingStopsInThePlainBox) {
    std::filesystem::create_directory(paths.messages); // a folder where the file should be
    {
        ModalDriver driver;
        driver.then([](QWidget* box) { ModalDriver::click(box, "&Ok"); });
        driver.then([](QWidget* box) {
            auto* plain = qobject_cast<QMessageBox*>(box);
            ASSERT_TRUE(plain);
            EXPECT_EQ(box->windowTitle(), "Parar");
            EXPECT_TRUE(plain->text().startsWith("Erro durante o ADD() ao arquivo de Mensagens: "));
            ModalDriver::click(box, "&Ignora");
        });
        EXPECT_EQ(show("Não será gravada"), 1); // Ignora: the box closes normally
    }
    ModalDriver driver;
    driver.then([](QWidget* box) { ModalDriver::click(box, "&Ok"); });
    driver.then([](QWidget* box) { ModalDriver::click(box, "A&borta"); });
    EXPECT_THROW(show("Não será gravada"), ProgramHalted);
}

TEST_F(MessageBoxesTest, WindowIsBuiltFromTheLayout) {
    ModalDriver driver;
    driver.then([](QWidget* box) {
        auto* neat = qobject_cast<NeatMessage*>(box);
        ASSERT_TRUE(neat);
        const DialogUnits du = DialogUnits::of(neat->font());
        const MessageLayout& l = neat->layoutInUnits();
        EXPECT_EQ(neat->size(), QSize(du.x(l.width), du.y(l.height)));
        auto* icon = box->findChild<QLabel*>("Icon");
        auto* no = box->findChild<QWidget*>("Button2");
        auto* noAskAgain = box->findChild<QWidget*>("LOC:NOASKAGAIN");
        ASSERT_TRUE(icon && no && noAskAgain && l.buttons.size() == 2);
        EXPECT_EQ(messageText(box)->geometry(), du.rect(l.text));
        EXPECT_EQ(icon->geometry(), du.rect(l.icon));
        EXPECT_EQ(no->geometry(), du.rect(l.buttons[1]));
        EXPECT_FALSE(noAskAgain->isVisible());
        if (const char* shots = std::getenv("SALDORA_SCREENSHOTS"))
            box->grab().save(QString(shots) + "/neat_message.png");
        ModalDriver::click(box, "&Não");
    });
    EXPECT_EQ(show("Confirma a exclusão deste lançamento?|O saldo do dia será recalculado.",
                   std::to_string(button::Yes + button::No), button::Yes, Icon::Question,
                   "Confirmação de Exclusão"),
              button::No);
}
