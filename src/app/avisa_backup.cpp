#include "app/avisa_backup.h"

#include "data/date_time.h"
#include "data/settings_keys.h"
#include "data/text.h"
#include "platform/window_animation.h"
#include "ui/pictures.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace saldora::app {
namespace {
bool gBackupRequested = false;
constexpr const char* kTickerText = "NÃO DEIXE SEUS DADOS DESAPARECEM. FAÇA BACKUP !";
} // namespace

bool AvisaBackup::backupRequested() { return gBackupRequested; }

AvisaBackup::AvisaBackup()
    : ui::Screen(std::string(settings::window::avisaBackup)), ticker_(*cp1252::fromUtf8(kTickerText), 33) {
    setWindowTitle("Rotina de Backup/Recuperação");
    setWindowIcon(ui::programIcon("kvelt.ico"));
    setResizable(false);

    auto* image = new QLabel(this);
    image->setObjectName("Image1");
    image->setPixmap(ui::programPicture("afundar.jpg"));
    auto* prompt = new QLabel(
        "Todo o cuidado é pouco. Nunca deixe de fazer backup. Utilize, de preferência, um pen "
        "drive ou HD externo. O backup será feito com nomes diferentes já que irá utilizar a data "
        "para nomear os arquivos de backup. Ex.: SISTEMA_09_01_2017 SISTEMA_10_01_2017",
        this);
    prompt->setObjectName("Prompt1");
    prompt->setWordWrap(true);
    auto* panel = new QFrame(this);
    panel->setObjectName("ttPanel");
    panel->setFrameShape(QFrame::StyledPanel);
    tickerLabel_ = new QLabel(panel);
    tickerLabel_->setObjectName("TT:TickerTape");
    tickerLabel_->setFont(QFont("Courier New", 10, QFont::Bold));
    tickerLabel_->setMinimumWidth(QFontMetrics(tickerLabel_->font()).horizontalAdvance(QString(35, 'W')));
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->addWidget(tickerLabel_);
    auto* ok = ui::makeButton(this, "OkButton", "&Sim", "Confirma a ação", "ok.ico");
    auto* cancel = ui::makeButton(this, "CancelButton", "&Não", "Cancela a ação", "Cancela.ico");
    ok->setFocusPolicy(Qt::ClickFocus);
    cancel->setFocusPolicy(Qt::ClickFocus);

    auto* top = new QHBoxLayout;
    top->addWidget(image);
    top->addWidget(prompt, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(panel);
    layout->addLayout(buttons);
    resize(520, 260);

    connect(ok, &QPushButton::clicked, this, [this] {
        gBackupRequested = true;
        platform::shrinkClosed(this, 200, [this] { finish(ui::result::Completed); });
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        platform::shrinkClosed(this, 200, [this] { finish(ui::result::Cancelled); });
    });
    lastStep_ = clock_time::now();
    connect(&timer_, &QTimer::timeout, this, &AvisaBackup::step);
    timer_.start(100);
}

void AvisaBackup::step() {
    int now = clock_time::now();
    // A clock that went back past midnight starts the measure again.
    if (now < lastStep_) lastStep_ = now;
    if (now - lastStep_ < 10) return;
    lastStep_ = now;
    ticker_.step();
    tickerLabel_->setText(QString::fromStdString(cp1252::toUtf8(ticker_.shown())));
}

void AvisaBackup::closing() { timer_.stop(); }

void AvisaBackup::run(std::function<void(bool)> done) {
    // Each reminder decides for its own exit (after a restart on another folder too).
    gBackupRequested = false;
    auto* window = new AvisaBackup;
    window->setOwnWindow(true);
    connect(window, &ui::Screen::finished, window, [done](int) { done(gBackupRequested); });
    window->open();
    platform::growOpen(window, 200);
}

} // namespace saldora::app
