#pragma once
// "Troca de Senha": the logged-in user changes his own password. The window collects the
// current password and the new one twice and hands them to ds_ChangePasswordEx, which judges
// them and says why it refuses; after a change, and on "&Ajuda", it explains that the login
// stays the same. Only its buttons close it: the title bar has no close command.
#include "data/message_service.h"
#include "security/security.h"

#include <QDialog>

#include <functional>

class QLineEdit;

namespace saldora::security {

class TrocaSenha final : public QDialog {
    Q_OBJECT
  public:
    // Opens the window without blocking anything; `closed` runs when it closes.
    static TrocaSenha* start(Handle handle, QWidget* parent = nullptr,
                             std::function<void()> closed = {});

    explicit TrocaSenha(Handle handle, QWidget* parent = nullptr);

    // The explanation shown after a change and by "&Ajuda".
    static Message explanation();

  public slots:
    void reject() override; // Esc: as "&Cancela"

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void confirm();
    void leave(int result);

    Handle handle_;
    QLineEdit* current_;
    QLineEdit* new_;
    QLineEdit* repeated_;
    bool leaving_ = false;
};

} // namespace saldora::security
