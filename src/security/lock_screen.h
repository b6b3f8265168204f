#pragma once
// The lock screen: covers the frame, keeps every other window of the program from input
// (application-modal), and cannot be closed; only the password of the user logged in opens it.
#include "security/security.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;

namespace saldora::security {

class LockScreen final : public QWidget {
    Q_OBJECT
  public:
    // Shows the lock over `frame` (over the screen without one); `unlocked` runs once it opens.
    static LockScreen* start(Security& security, Handle handle, std::function<void()> unlocked,
                             QWidget* frame);

    LockScreen(Security& security, Handle handle, std::function<void()> unlocked, QWidget* frame);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void unlock();
    void cover();

    Security& security_;
    Handle handle_;
    std::function<void()> unlocked_;
    QWidget* frame_;
    QLineEdit* password_;
    bool open_ = false;
};

} // namespace saldora::security
