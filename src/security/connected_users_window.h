#pragma once
// "Quem está conectado": the users logged in on every station that shares the data folder.
#include "security/security.h"

#include <QDialog>

class QTableWidget;

namespace saldora::security {

class ConnectedUsersWindow final : public QDialog {
    Q_OBJECT
  public:
    // Opens the window without blocking anything.
    static ConnectedUsersWindow* start(Security& security, QWidget* parent);

    ConnectedUsersWindow(Security& security, QWidget* parent);
    void reload();

  private:
    Security& security_;
    QTableWidget* table_;
};

} // namespace saldora::security
