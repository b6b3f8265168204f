#include "ui/screen.h"

#include "data/globals.h"
#include "ui/window_state.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>

namespace saldora::ui {
namespace {

QPointer<QMdiArea> gWorkspace;
std::function<void(const PopupHelpRequest&)> gPopupHelp;

std::string controlName(const QWidget* w) {
    return w ? w->objectName().toStdString() : std::string();
}

} // namespace

void setWorkspace(QMdiArea* area) { gWorkspace = area; }
QMdiArea* workspace() { return gWorkspace; }

void setPopupHelpHandler(std::function<void(const PopupHelpRequest&)> handler) {
    gPopupHelp = std::move(handler);
}

Screen::Screen(std::string procedure, QWidget* parent)
    : QWidget(parent), procedure_(std::move(procedure)) {
    setObjectName(QString::fromStdString(procedure_));
    setAttribute(Qt::WA_DeleteOnClose);
}

Screen::~Screen() {
    if (&message_box::currentMessageOptions() == &messageOptions_)
        message_box::setCurrentMessageOptions(nullptr);
    if (!finished_) {
        finished_ = true;
        if (opener_) opener_->childFinished(result_);
    }
}

QWidget* Screen::frameWindow() const {
    return subWindow_ ? static_cast<QWidget*>(subWindow_) : const_cast<Screen*>(this);
}

namespace {
// The close command of a window's system menu and the separator just above it.
void removeCloseCommand(QMenu* menu) {
    if (!menu) return;
    const auto actions = menu->actions();
    for (int i = 0; i < actions.size(); ++i) {
        if (actions[i]->shortcut() != QKeySequence(QKeySequence::Close)) continue;
        menu->removeAction(actions[i]);
        if (i > 0 && actions[i - 1]->isSeparator()) menu->removeAction(actions[i - 1]);
        return;
    }
}

// Moves a window back inside the space it lives in, as far as its size allows (its top-left
// corner always inside), so that no part of it opens out of reach.
void keepInside(QWidget* w, const QRect& space) {
    if (space.isEmpty()) return;
    QRect g = w->frameGeometry();
    if (g.right() > space.right()) g.moveRight(space.right());
    if (g.bottom() > space.bottom()) g.moveBottom(space.bottom());
    if (g.left() < space.left()) g.moveLeft(space.left());
    if (g.top() < space.top()) g.moveTop(space.top());
    if (g.topLeft() != w->frameGeometry().topLeft()) w->move(g.topLeft());
}
} // namespace

void Screen::setClosable(bool closable) {
    closable_ = closable;
    QWidget* w = frameWindow();
    w->setWindowFlag(Qt::WindowCloseButtonHint, closable);
}

void Screen::open() {
    enterTab_ = globals().enterTab == 1;
    qApp->installEventFilter(this);
    WindowState state = readWindowState(procedure_);
    if (QMdiArea* area = ownWindow_ ? nullptr : workspace()) {
        subWindow_ = area->addSubWindow(this);
        connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
            if (w && w == subWindow_ && !finished_) becameActive();
        });
        subWindow_->setAttribute(Qt::WA_DeleteOnClose);
        subWindow_->setWindowTitle(windowTitle());
        subWindow_->setWindowIcon(windowIcon());
        subWindow_->installEventFilter(this);
        if (!closable_) {
            // The title bar follows the hints only when told it is customised; the styles draw
            // a close box wherever a window menu is offered, so the window offers none.
            subWindow_->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint |
                                       Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint);
            removeCloseCommand(subWindow_->systemMenu());
        }
        if (!testAttribute(Qt::WA_Resized)) subWindow_->adjustSize();
        else subWindow_->resize(size() + (subWindow_->size() - subWindow_->contentsRect().size()));
        applyState(subWindow_, state, resizable_);
        if (!state.maximized && !state.minimized) {
            subWindow_->show();
            keepInside(subWindow_, area->viewport()->rect());
        }
        area->setActiveSubWindow(subWindow_);
    } else {
        setWindowFlag(Qt::Window, true);
        if (!closable_) setWindowFlag(Qt::WindowCloseButtonHint, false);
        if (!testAttribute(Qt::WA_Resized)) adjustSize();
        applyState(this, state, resizable_);
        if (!state.maximized && !state.minimized) show();
        activateWindow();
    }
    message_box::setCurrentMessageOptions(&messageOptions_);
}

void Screen::openChild(Screen* child, std::function<void(int)> done) {
    child_ = child;
    childDone_ = std::move(done);
    child->opener_ = this;
    setEnabled(false);
    child->open();
}

void Screen::childFinished(int result) {
    child_ = nullptr;
    setEnabled(true);
    auto done = std::move(childDone_);
    childDone_ = nullptr;
    if (subWindow_ && workspace()) workspace()->setActiveSubWindow(subWindow_);
    else activateWindow();
    message_box::setCurrentMessageOptions(&messageOptions_);
    if (done) done(result);
}

void Screen::finish(int result) {
    if (finished_) return;
    // A child still open ends first (the frame closing ends every screen).
    if (child_) child_->finish(ui::result::Cancelled);
    result_ = result;
    closable_ = true; // finishing is always allowed
    frameWindow()->close();
}

void Screen::closeEvent(QCloseEvent* event) {
    // A screen with a child open, or one the user may not close, stays.
    if (child_ || (!closable_ && !finished_)) {
        event->ignore();
        if (child_) child_->frameWindow()->activateWindow();
        return;
    }
    if (!finished_) {
        closing();
        if (savesState_) writeWindowState(procedure_, stateOf(frameWindow()), resizable_);
        finished_ = true;
        qApp->removeEventFilter(this);
        emit finished(result_);
        if (opener_) opener_->childFinished(result_);
    }
    event->accept();
}

namespace {
// The screen activated last, with its opener at the time (it may be gone since).
QPointer<Screen> gLastActive;
const Screen* gLastActiveOpener = nullptr;
} // namespace

void Screen::becameActive() {
    message_box::setCurrentMessageOptions(&messageOptions_);
    fromAnotherScreen_ = gLastActive && gLastActive != this && gLastActiveOpener != this;
    gLastActive = this;
    gLastActiveOpener = opener_;
    emit activated();
    fromAnotherScreen_ = false;
}

bool Screen::event(QEvent* e) {
    // A screen in the workspace is activated with its subwindow (the window-wide activation
    // reaches every widget of the frame at once); a screen in a window of its own with that window.
    if (e->type() == QEvent::WindowActivate && !subWindow_) becameActive();
    return QWidget::event(e);
}

bool Screen::eventFilter(QObject* watched, QEvent* e) {
    if (watched == subWindow_ && e->type() == QEvent::Close) {
        // The subwindow's close box: the screen decides.
        if (child_ || (!closable_ && !finished_)) {
            e->ignore();
            return true;
        }
        if (!finished_) {
            QCloseEvent ce;
            closeEvent(&ce);
            if (!ce.isAccepted()) {
                e->ignore();
                return true;
            }
        }
        return false;
    }
    if (e->type() != QEvent::KeyPress) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || (w != this && !isAncestorOf(w)) || !isEnabled()) return false;
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() == Qt::Key_F12 && gPopupHelp) {
        bool edit = key->modifiers() & Qt::ControlModifier;
        gPopupHelp(PopupHelpRequest{procedure_, controlName(QApplication::focusWidget()), edit});
        return true;
    }
    const bool enter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                       !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!enter) return false;
    if (enterTab_) return handleEnterAsTab(QApplication::focusWidget(), this);
    // Otherwise Enter presses the window's default button, as in any dialog.
    QWidget* focus = QApplication::focusWidget();
    if (qobject_cast<QAbstractButton*>(focus) || qobject_cast<QPlainTextEdit*>(focus) ||
        qobject_cast<QTextEdit*>(focus) || qobject_cast<QAbstractItemView*>(focus))
        return false;
    for (auto* b : findChildren<QPushButton*>())
        if (b->isDefault() && b->isEnabled() && b->isVisible()) {
            b->click();
            return true;
        }
    return false;
}

bool handleEnterAsTab(QWidget* focus, QWidget* window) {
    if (!focus) return false;
    if (auto* b = qobject_cast<QAbstractButton*>(focus)) {
        b->click();
        return true;
    }
    if (qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QTextEdit*>(focus)) return false;
    for (QWidget* p = focus; p; p = p->parentWidget())
        if (qobject_cast<QComboBox*>(p)) {
            if (static_cast<QComboBox*>(p)->view()->isVisible()) return false; // its drop-down
            break;
        }
    if (auto* list = qobject_cast<QAbstractItemView*>(focus)) {
        if (!list->property("enterMovesNext").toBool()) {
            for (auto* b : window->findChildren<QPushButton*>())
                if (b->isDefault() && b->isEnabled()) {
                    b->click();
                    return true;
                }
            return false;
        }
    }
    QWidget* next = focus->nextInFocusChain();
    while (next && next != focus && !(next->isVisible() && next->isEnabled() &&
                                        (next->focusPolicy() & Qt::TabFocus)))
        next = next->nextInFocusChain();
    if (next) next->setFocus(Qt::TabFocusReason);
    return true;
}

} // namespace saldora::ui
