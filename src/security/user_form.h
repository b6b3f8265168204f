#pragma once
// The form of one user: login (only when adding), name and the administrator flag. OK hands
// the entries to `save`; a refusal is told and the form stays open for a correction.
#include "security/security.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;

namespace saldora::security {

class UserForm final : public QDialog {
    Q_OBJECT
  public:
    using Save = std::function<Status(const std::string& login, const std::string& name,
                                      bool administrator)>;

    // Window-modal to the parent; `saved` runs after a successful save.
    static UserForm* start(const User& user, bool adding, Save save, std::function<void()> saved,
                           QWidget* parent);

    UserForm(const User& user, bool adding, Save save, QWidget* parent);

  private:
    void confirm();

    Save save_;
    QLineEdit* login_;
    QLineEdit* name_;
    QCheckBox* administrator_;
};

} // namespace saldora::security
