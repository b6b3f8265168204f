#pragma once
// The main frame "Main": the multiple-document window with its menu, toolbar and status bar,
// inside which every screen opens. It runs the login loop before it opens and, when it closes,
// writes the settings, shows the backup reminder and may start the copier.
#include "app/screen_catalog.h"

#include <QMainWindow>
#include <QMdiArea>

#include <functional>
#include <map>

class QAction;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QToolButton;

namespace saldora {
class DataFile;
}

namespace saldora::app {

// The frame's workspace: the wallpaper (or "TelaDeFundo.jpg", tiled) with the product's title
// and version drawn on it.
class Workspace : public QMdiArea {
    Q_OBJECT
  public:
    explicit Workspace(QWidget* parent = nullptr);
    void setWallpaper(const QString& file);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap wallpaper_;
};

class MainFrame : public QMainWindow {
    Q_OBJECT
  public:
    // Runs the login loop; when a user is let in, opens the frame. `ended` runs once the frame
    // has closed (or never opened).
    static void run(std::function<void()> ended);
    static MainFrame* current();

    // The frame's closing: settings, the backup reminder, the copier, the frame's state.
    void exitProgram();

    QAction* action(const QString& objectName) const;
    QToolButton* toolButton(const QString& objectName) const;
    Workspace* workspace() const { return workspace_; }
    // Enables and disables the menus by the user's rights, as they stand now.
    void refreshRights();
    void refreshNavigation();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    explicit MainFrame(std::function<void()> ended);
    ~MainFrame() override;
    static void loginAttempt(int attempt, std::function<void()> ended);
    static void loggedIn(std::function<void()> ended);

    void open();
    void buildMenus();
    void buildToolbar();
    void buildTray();
    void registerScreens();
    QAction* item(QMenu* menu, const char* text, const char* name, const char* tip,
                  std::function<void()> act, const char* icon = nullptr);
    QAction* screenItem(QMenu* menu, const char* text, const char* name, const char* tip,
                        ScreenId id, const char* icon = nullptr);
    void changeLogin();
    void finishClosing(bool backupRequested);

    std::function<void()> ended_;
    Workspace* workspace_;
    QLabel* dataFolderLabel_;
    QMenu *cadastros_, *relatorios_, *exclusao_;
    QSystemTrayIcon* tray_ = nullptr;
    std::map<ScreenId, QAction*> screenActions_;
    std::map<int, QToolButton*> navigation_;
    // The other toolbar controls, with whether each is usable apart from the active screen.
    std::vector<std::pair<QToolButton*, std::function<bool()>>> tools_;
    bool closing_ = false, closed_ = false;
};

} // namespace saldora::app
