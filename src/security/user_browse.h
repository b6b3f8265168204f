#pragma once
// The upkeep of users, for administrators: the list of users, adding one (his first password is
// his login), changing his name and administrator flag, giving him his login back as password,
// deleting him, and the rights of every user in an area. Every step is checked again by the
// component, so a user who stopped being an administrator meanwhile is refused there.
//   Keys: Insert or F2 adds, F4, Ctrl+Enter or a double click changes, Delete or F6 deletes.
#include "security/security.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QPushButton;
class QTableWidget;

namespace saldora::security {

class UserBrowse final : public QDialog {
    Q_OBJECT
  public:
    // Opens the window without blocking anything.
    static UserBrowse* start(Security& security, Handle handle, QWidget* parent);

    UserBrowse(Security& security, Handle handle, QWidget* parent);

    // Reads the users again, highlighting the user with that id (or the same row).
    bool reload(int32_t highlight = 0);

    void insert();
    void change();
    void remove();
    void resetPassword();
    void editRights();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    const User* highlighted() const;
    void enableButtons();

    Security& security_;
    Handle handle_;
    std::vector<User> users_;
    QTableWidget* table_;
    QComboBox* area_;
    QPushButton *change_, *delete_, *reset_, *rights_;
};

} // namespace saldora::security
