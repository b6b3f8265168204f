#pragma once
// FiltraMovimento, "Informações para o movimento": the client and the date the postings are
// entered for. OK checks the client (the client list when it is not on file) and the date, sets
// Cliente1 and Data1 and opens the posting browse; the window stays open for the next client or
// date.
#include "ui/screen.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace saldora::screens {

class FiltraMovimento : public ui::Screen {
    Q_OBJECT
  public:
    FiltraMovimento();
    ~FiltraMovimento() override;

    // OK: the accept-all pass, then the posting browse.
    void confirm();
    // "Última Data": Data1 becomes the date of the client's latest day balance (blank without one).
    void lastDate();
    // F7: the client list, positioned on the code typed.
    void lookupClient();

  private:
    // The client entry accepted: true when the client is on file; otherwise the client list opens
    // and `then` runs with whether one was chosen.
    bool acceptClient(std::function<void(bool)> then);
    void callLookup(std::function<void(bool)> then);
    bool acceptDate();
    void redisplay();

    QLineEdit *cliente1_, *data1_;
    QLabel* name_;
    QPushButton *lookup_, *dateButton_, *ok_, *cancel_, *lastDate_;
    std::string checked_; // the client code last found
    bool lookingUp_ = false;
};

} // namespace saldora::screens
