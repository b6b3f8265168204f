#include "screens/filtra_movimento.h"

#include "data/date_time.h"
#include "data/files.h"
#include "data/globals.h"
#include "data/picture.h"
#include "data/settings_keys.h"
#include "data/text.h"
#include "ledger/postings.h"
#include "screens/postings.h"
#include "screens/registers.h"
#include "ui/auto_entry.h"
#include "ui/calendar.h"
#include "ui/entry_check.h"
#include "ui/pictures.h"
#include "ui/register_browse.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace saldora::screens {
namespace {

QString shown(const std::string& cp1252Text) {
    return QString::fromStdString(cp1252::toUtf8(fixed::clip(cp1252Text)));
}

std::string typed(const QLineEdit* e) {
    auto bytes = cp1252::fromUtf8(e->text().toStdString());
    return bytes ? std::string(fixed::clip(*bytes)) : std::string();
}

} // namespace

FiltraMovimento::FiltraMovimento() : Screen(std::string(settings::window::filtraMovimento)) {
    setWindowTitle("Informações para o movimento");
    setResizable(false);
    OpenDataFile(cadfil1File());
    OpenDataFile(postingFile());
    if (globals().data1 == 0) globals().data1 = date::today();

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panel);
    auto* clientPrompt = new QLabel("Filial/Cliente:", panel);
    clientPrompt->setObjectName("Cliente1:Prompt");
    cliente1_ = new QLineEdit(panel);
    cliente1_->setObjectName("Cliente1");
    cliente1_->setMaxLength(15);
    // Client codes are kept in upper case: the entry takes them so.
    connect(cliente1_, &QLineEdit::textEdited, cliente1_, [this](const QString& t) {
        const int at = cliente1_->cursorPosition();
        cliente1_->setText(t.toUpper());
        cliente1_->setCursorPosition(at);
        cliente1_->setModified(true); // still typed by the user
    });
    ui::auto_entry::attach(cliente1_, procedure(), "Cliente1");
    lookup_ = ui::makeButton(panel, "CallLookup", "F7");
    name_ = new QLabel(panel);
    name_->setObjectName("FIL1:DESCRICAO");
    name_->setMinimumWidth(name_->fontMetrics().averageCharWidth() * 30);
    auto* datePrompt = new QLabel("Data:", panel);
    datePrompt->setObjectName("Data1:Prompt");
    data1_ = new QLineEdit(panel);
    data1_->setObjectName("Data1");
    data1_->setMaxLength(10);
    dateButton_ = ui::makeButton(panel, "DateButton", {}, "Select date", "DATEPOP.ICO");
    grid->addWidget(clientPrompt, 0, 0);
    grid->addWidget(cliente1_, 0, 1);
    grid->addWidget(lookup_, 0, 2);
    grid->addWidget(name_, 0, 3);
    grid->addWidget(datePrompt, 1, 0);
    grid->addWidget(data1_, 1, 1);
    grid->addWidget(dateButton_, 1, 2, Qt::AlignLeft);

    ok_ = ui::makeButton(this, "OkButton", "OK", "Confirma a ação", "ok.ico");
    cancel_ = ui::makeButton(this, "Cancel", "Cancela", "Cancela Esta Operação", "cancela.ico");
    lastDate_ = ui::makeButton(this, "UltimaData", "Última Data", "Mostra a última data lançada",
                               "Ajuda.ico");
    // Set at opening, and reached with the mouse or their keys only.
    ok_->setText("&Sim");
    cancel_->setText("&Cancela");
    ok_->setFocusPolicy(Qt::ClickFocus);
    cancel_->setFocusPolicy(Qt::ClickFocus);
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lastDate_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(buttons);

    connect(lookup_, &QPushButton::clicked, this, &FiltraMovimento::lookupClient);
    auto* f7 = new QShortcut(QKeySequence(Qt::Key_F7), this);
    f7->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f7, &QShortcut::activated, lookup_, &QPushButton::click);
    connect(ok_, &QPushButton::clicked, this, &FiltraMovimento::confirm);
    connect(cancel_, &QPushButton::clicked, this, [this] { finish(ui::result::Cancelled); });
    connect(lastDate_, &QPushButton::clicked, this, &FiltraMovimento::lastDate);
    connect(dateButton_, &QPushButton::clicked, this, [this] {
        if (!acceptDate()) return;
        ui::pickDate(this, globals().data1, ui::placementUnder(dateButton_), [this](int32_t chosen) {
            globals().data1 = chosen;
            redisplay();
            data1_->setFocus();
        });
    });
    // A code typed and left is accepted at once (leaving for Cancela is no accept).
    connect(cliente1_, &QLineEdit::editingFinished, this, [this] {
        if (!isEnabled() || lookingUp_ || !cliente1_->isModified() ||
            QApplication::focusWidget() == cancel_)
            return;
        cliente1_->setModified(false);
        if (cp1252::upper(typed(cliente1_)) != checked_) acceptClient([](bool) {});
    });
    connect(data1_, &QLineEdit::editingFinished, this, [this] {
        if (isEnabled() && !lookingUp_) acceptDate();
    });

    // The client the window opens on, as another window may have left it.
    if (auto client = ledger::findClient(cadfil1File().db(), globals().cliente1); client && *client) {
        name_->setText(shown((*client)->descricao));
        checked_ = std::string(fixed::clip(globals().cliente1));
    }
    redisplay();
}

FiltraMovimento::~FiltraMovimento() {
    CloseDataFile(postingFile());
    CloseDataFile(cadfil1File());
}

void FiltraMovimento::redisplay() {
    cliente1_->setText(shown(globals().cliente1.substr(0, 15)));
    auto date = picture::format("@d06", picture::Value(int64_t{globals().data1}));
    data1_->setText(date ? shown(*date) : QString());
}

bool FiltraMovimento::acceptClient(std::function<void(bool)> then) {
    if (lookingUp_) return false;
    const std::string code = cp1252::upper(typed(cliente1_));
    globals().cliente1 = code;
    // A posting needs a client on file: a blank code also goes to the client list.
    if (!code.empty())
        if (auto client = ledger::findClient(cadfil1File().db(), code); client && *client) {
            name_->setText(shown((*client)->descricao));
            checked_ = code;
            cliente1_->setText(shown(code));
            return true;
        }
    callLookup([this, then](bool chosen) {
        if (!chosen) {
            cliente1_->setFocus();
            cliente1_->selectAll();
        }
        then(chosen);
    });
    return false;
}

void FiltraMovimento::lookupClient() {
    globals().cliente1 = cp1252::upper(typed(cliente1_));
    callLookup({});
}

void FiltraMovimento::callLookup(std::function<void(bool)> then) {
    auto* browse = pesquisaFiliais(ui::Request::Select);
    browse->startAt({globals().cliente1.substr(0, 15)});
    lookingUp_ = true;
    openChild(browse, [this, browse, then](int result) {
        lookingUp_ = false;
        const bool chosen = result == ui::result::Completed && browse->selected();
        if (chosen) {
            const auto client = fromRecord<files::Cadfil1>(*browse->selected());
            globals().cliente1 = client.codfil;
            checked_ = client.codfil;
            name_->setText(shown(client.descricao));
        }
        cliente1_->setText(shown(globals().cliente1.substr(0, 15)));
        if (then) then(chosen);
    });
}

bool FiltraMovimento::acceptDate() {
    auto bytes = cp1252::fromUtf8(data1_->text().toStdString());
    auto day = bytes ? picture::readPlain("@d06", *bytes) : Result<std::string>(bytes.error());
    if (!day) {
        ui::refuseEntry(data1_, day.error().text);
        return false;
    }
    globals().data1 = day->empty() ? 0 : std::stoi(*day);
    redisplay();
    return true;
}

void FiltraMovimento::lastDate() {
    // The client's latest day balance: backwards from its record of 31/12/2050.
    const store::Table& t = files::Cadmov1::table();
    const auto last = picture::readPlain("@d06", "31/12/2050");
    store::Cursor c(postingFile().db(), t, *t.key("MOV1:KEY_CADMOV_1"));
    c.seekAtOrBefore({std::string(files::kDayBalanceFlag), globals().cliente1,
                      int64_t{std::stoi(*last)}, std::string(files::kDayBalanceAccount)});
    auto r = c.previous();
    globals().data1 = 0;
    if (r && *r) {
        const auto m = fromRecord<files::Cadmov1>(**r);
        if (ledger::sameClient(m.codfil, globals().cliente1)) globals().data1 = m.dtalanc;
    }
    redisplay();
}

void FiltraMovimento::confirm() {
    if (openChildScreen()) return;
    cliente1_->setFocus();
    // Every entry accepted in order; a client chosen from the list goes on with the pass.
    if (!acceptClient([this](bool chosen) {
            if (chosen) confirm();
        }))
        return;
    if (!acceptDate()) return;
    if (globals().data1 == 0) {
        // A posting needs its date.
        ui::refuseEntry(data1_, "Informe a data do lançamento.");
        return;
    }
    openChild(new PesquisaMovimento, [this](int) {
        redisplay();
        cliente1_->setFocus();
    });
}

} // namespace saldora::screens
