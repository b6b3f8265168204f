#pragma once
// SplashLogin, the login window "Saldora": the picture, a scrolling hint, the login and the
// password. Four wrong tries close it ("Login Inválido" three times, then "Acesso Negado").
#include "app/ticker.h"
#include "ui/screen.h"

#include <QTimer>

class QLabel;
class QLineEdit;

namespace saldora::app {

class SplashLogin : public ui::Screen {
    Q_OBJECT
  public:
    SplashLogin();
    // Opens the window; the first opening of the run also takes the single-instance lock, and a
    // second running copy closes it at once after its message. `done` runs when it has closed,
    // with GLO:Login, GLO:Password and the session's handle as the user left them.
    static void run(std::function<void()> done);
    // A new run of the program: its first login window checks for another running copy again.
    static void beginRun();

    int failures() const { return failures_; }

  protected:
    void closing() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void accept();
    void cancel();
    void leave(int result);
    void stepHint();

    QLabel *picture_, *hint_;
    QLineEdit *login_, *password_;
    Ticker ticker_;
    QTimer timer_;
    int failures_ = 0;
};

// Whether the login window switched the display to 800 × 600 (the frame switches it back).
bool displayWasSwitched();

} // namespace saldora::app
