#pragma once
// Screens: every window the program opens for a piece of work (a browse, a form, a criteria
// window, a process) is a Screen. A screen started from the frame is an independent child of the
// frame's workspace, with its own context (its record buffers are its own members, its one-shot
// message options its own). A screen opened by another screen is modal to that screen only: the
// opener takes no input until the child finishes, and then continues through the callback it
// gave; the frame and every other screen stay usable meanwhile. No nested event loops: two
// screens may each have a child open and close them in either order.
#include "messages/message_options.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>

class QMdiArea;
class QMdiSubWindow;

namespace saldora::ui {

// Results a screen finishes with.
namespace result {
constexpr int Cancelled = 0;
constexpr int Completed = 1;
} // namespace result

// Where screens live. While the frame runs, its workspace; before it (data location, login)
// screens are top-level windows.
void setWorkspace(QMdiArea* area);
QMdiArea* workspace();

// The frame's record-navigation toolbar buttons, by control number.
namespace nav {
constexpr int Top = 2000, PageUp = 2001, Up = 2002, Locate = 2003, Down = 2004, PageDown = 2005,
              Bottom = 2006, Select = 2007, Insert = 2008, Change = 2009, Delete = 2010,
              History = 2011, Help = 2012;
} // namespace nav

// What the F12 and Ctrl+F12 keys hand over: window, control (its name without "?"), edit or show.
struct PopupHelpRequest {
    std::string procedure, control;
    bool edit = false;
};
void setPopupHelpHandler(std::function<void(const PopupHelpRequest&)> handler);

class Screen : public QWidget {
    Q_OBJECT
  public:
    // `procedure` names the window: its state section in KVELT.INI and its help topic.
    explicit Screen(std::string procedure, QWidget* parent = nullptr);
    ~Screen() override;

    const std::string& procedure() const { return procedure_; }

    // Shows the screen in the workspace (or as a top-level window), in its stored state.
    void open();
    // Opens `child` modal to this screen; `done` runs with the child's result when it finishes.
    void openChild(Screen* child, std::function<void(int)> done = {});
    // Ends the screen with a result; its opener's continuation runs.
    void finish(int result);

    // Enter-as-Tab as it stood when the screen opened: what every key of the screen follows.
    bool enterAsTab() const { return enterTab_; }
    Screen* opener() const { return opener_; }
    // While `activated` is emitted: whether the user came from another screen, not from a
    // message box or from a form or lookup this screen opened.
    bool activatedFromAnotherScreen() const { return fromAnotherScreen_; }
    Screen* openChildScreen() const { return child_; }
    // The window that frames the screen: its MDI subwindow, or itself.
    QWidget* frameWindow() const;
    bool isFinished() const { return finished_; }

    // The frame's navigation toolbar: whether this screen takes a button, and acting on it.
    virtual bool takesNavigation(int /*control*/) const { return false; }
    virtual void navigate(int /*control*/) {}
    // The tip a navigation button carries while this screen is active; empty for its own.
    virtual QString navigationTip(int /*control*/) const { return {}; }
    // While active, the frame's other toolbar controls are disabled for this screen.
    virtual bool holdsFrameTools() const { return false; }

    message_box::MessageOptions& messageOptions() { return messageOptions_; }

    // Whether closing writes the window's state (a window cancelled before anything was chosen
    // may leave no trace).
    void setSavesState(bool saves) { savesState_ = saves; }
    // Windows the user may resize keep their size in KVELT.INI.
    void setResizable(bool resizable) { resizable_ = resizable; }
    // A screen in a window of its own even while the frame's workspace stands (a login, a
    // reminder on the way out).
    void setOwnWindow(bool own) { ownWindow_ = own; }
    // A screen whose closing the user may not ask for (no close command): only finish() ends it.
    void setClosable(bool closable);
    bool closable() const { return closable_; }

  signals:
    void finished(int result);
    void activated();

  protected:
    // Runs once when the screen is about to close; the default does nothing.
    virtual void closing() {}
    // The result the screen is finishing with.
    int result() const { return result_; }
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void childFinished(int result);
    void becameActive();

    std::string procedure_;
    QPointer<Screen> opener_; // may go first when the frame closes everything
    Screen* child_ = nullptr;
    std::function<void(int)> childDone_;
    QMdiSubWindow* subWindow_ = nullptr;
    message_box::MessageOptions messageOptions_;
    int result_ = result::Cancelled;
    bool finished_ = false;
    bool resizable_ = true;
    bool closable_ = true;
    bool enterTab_ = false; // Enter-as-Tab as it stood when the screen opened
    bool ownWindow_ = false;
    bool savesState_ = true;
    bool fromAnotherScreen_ = false;
};

// Enter as the program's convention says when Enter-as-Tab is on: on a button it presses it, in
// a multi-line text it breaks the line, on a list that is not a drop-down it presses the window's
// default button (a list marked with the property "enterMovesNext" moves to the next control),
// elsewhere it moves to the next control. True when the key was taken.
bool handleEnterAsTab(QWidget* focus, QWidget* window);

} // namespace saldora::ui
