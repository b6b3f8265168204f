#pragma once
// "Altera Login": another user logs in in place of the current one. Window-modal to its parent;
// `done(true)` after a successful login, `done(false)` when cancelled.
#include "security/security.h"

#include <QDialog>

#include <functional>
#include <string>

class QLineEdit;

namespace saldora::security {

class LoginChangeWindow final : public QDialog {
    Q_OBJECT
  public:
    static LoginChangeWindow* start(Security& security, Handle handle, const std::string& login,
                                    const std::string& password,
                                    std::function<void(bool changed)> done, QWidget* parent);

    LoginChangeWindow(Security& security, Handle handle, const std::string& login,
                      const std::string& password, QWidget* parent);

  private:
    void confirm();

    Security& security_;
    Handle handle_;
    QLineEdit* login_;
    QLineEdit* password_;
};

} // namespace saldora::security
