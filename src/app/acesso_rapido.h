#pragma once
// Acesso_rapido, "Rotina Principal": the frame's menu as a tree; a double click on a line starts
// its screen (through the same rights check as the menu). One such window at a time.
#include "app/screen_catalog.h"
#include "ui/screen.h"

#include <optional>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace saldora::app {

struct QuickAccessLine {
    const char* text;
    int level; // 0 the root, 1 the menus, 2 their items, 3 the items of a submenu
    std::optional<ScreenId> action;
};
// The lines in order.
const std::vector<QuickAccessLine>& quickAccessLines();

class AcessoRapido : public ui::Screen {
    Q_OBJECT
  public:
    // Opens the window, or brings the open one to the front.
    static void start();
    static AcessoRapido* openWindow();

    AcessoRapido();
    ~AcessoRapido() override;

    QTreeWidget* tree() const { return tree_; }
    void expandAll();
    void contractAll();
    void activate(QTreeWidgetItem* item);

  protected:
    void closing() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTreeWidget* tree_;
    QLabel* current_;
};

} // namespace saldora::app
