#pragma once
// Drives modal windows in tests: each queued action runs on the next modal window that opens,
// in order. A modal window left open longer than the timeout is closed and the test fails, so a
// window test never waits for a person.
//
// Actions run from the driver's timer inside the window's event loop; an action that must open
// another modal window has to do so through QTimer::singleShot, so that the driver keeps running.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>

namespace saldora::testing {

class ModalDriver {
  public:
    using Action = std::function<void(QWidget* window)>;

    explicit ModalDriver(int timeoutMs = 10000) : timeoutMs_(timeoutMs) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start();
    }
    ~ModalDriver() {
        timer_.stop();
        EXPECT_TRUE(actions_.empty()) << actions_.size() << " expected window(s) never opened";
    }

    void then(Action action) { actions_.push_back(std::move(action)); }

    // The window's button with the given text (mnemonic ampersands included), or nullptr.
    static QAbstractButton* button(QWidget* window, const QString& text) {
        for (auto* b : window->findChildren<QAbstractButton*>())
            if (b->text() == text && b->isVisible()) return b;
        return nullptr;
    }
    static void click(QWidget* window, const QString& text) {
        QAbstractButton* b = button(window, text);
        if (b)
            b->click();
        else
            ADD_FAILURE() << "no button " << text.toStdString();
    }

  private:
    void tick() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        if (w != current_) {
            current_ = w;
            opened_.start();
            if (!actions_.empty()) {
                Action a = std::move(actions_.front());
                actions_.pop_front();
                a(w);
            }
            return;
        }
        if (opened_.elapsed() > timeoutMs_) {
            ADD_FAILURE() << "a modal window stayed open: " << w->windowTitle().toStdString();
            w->close();
            if (auto* d = qobject_cast<QDialog*>(w)) d->done(0);
        }
    }

    int timeoutMs_;
    QTimer timer_;
    std::deque<Action> actions_;
    QPointer<QWidget> current_;
    QElapsedTimer opened_;
};

} // namespace saldora::testing
