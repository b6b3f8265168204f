#pragma once
// Avisa_backup, "Rotina de Backup/Recuperação": the backup reminder shown at every exit. "&Sim"
// asks for the copier to be started once the frame's files are closed.
#include "app/ticker.h"
#include "ui/screen.h"

#include <QTimer>

class QLabel;

namespace saldora::app {

class AvisaBackup : public ui::Screen {
    Q_OBJECT
  public:
    AvisaBackup();
    // Shows the reminder; `done` gets whether a backup was asked for.
    static void run(std::function<void(bool backupRequested)> done);
    static bool backupRequested();

    const Ticker& ticker() const { return ticker_; }
    void step(); // one ticker step, when 10 hundredths have passed

  protected:
    void closing() override;

  private:
    QLabel* tickerLabel_;
    Ticker ticker_;
    QTimer timer_;
    int lastStep_ = 0; // clock time of the last step
};

} // namespace saldora::app
