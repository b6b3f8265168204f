#pragma once
// SelectPath, "Selecionar o caminho da base de dados": the remembered data folders, from which the
// user picks the one to work on, and where folders are added, changed and removed.
#include "ui/screen.h"

namespace saldora::ui {
class BrowseList;
}
class QPushButton;

namespace saldora::app {

class SelectPath : public ui::Screen {
    Q_OBJECT
  public:
    // With `selecting` the window offers "&Seleciona"; its result is Completed when a data
    // folder was accepted (the manager's chosen flag is then set), Cancelled otherwise.
    explicit SelectPath(bool selecting = true);
    ~SelectPath() override;

  protected:
    void closing() override;

  private:
    void select();
    void insert();
    void change();
    void remove();
    void formDone(int result, int64_t position);
    void updateButtons();
    // PATHS is opened (and created) only when there is something to read or write, so that a
    // first start cancelled here leaves no file behind.
    bool openPaths(bool create);

    ui::BrowseList* list_;
    QPushButton *select_, *insert_, *change_, *delete_, *close_;
    bool pathsOpen_ = false;
    bool edited_ = false; // the list was changed: the window's settings are kept too
};

} // namespace saldora::app
