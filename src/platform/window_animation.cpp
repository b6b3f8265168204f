#include "platform/window_animation.h"

#include <QGuiApplication>
#include <QPropertyAnimation>
#include <QWidget>

namespace saldora::platform {
namespace {
bool animates() { return QGuiApplication::platformName() != "offscreen"; }
QRect centre(const QRect& r) { return QRect(r.center(), QSize(1, 1)); }
} // namespace

void growOpen(QWidget* w, int ms) {
    if (!animates()) return;
    QRect end = w->geometry();
    auto* a = new QPropertyAnimation(w, "geometry", w);
    a->setDuration(ms);
    a->setStartValue(centre(end));
    a->setEndValue(end);
    a->start(QAbstractAnimation::DeleteWhenStopped);
}

void shrinkClosed(QWidget* w, int ms, std::function<void()> done) {
    if (!animates() || !w->isVisible()) {
        done();
        return;
    }
    QRect start = w->geometry();
    auto* a = new QPropertyAnimation(w, "geometry", w);
    a->setDuration(ms);
    a->setStartValue(start);
    a->setEndValue(centre(start));
    QObject::connect(a, &QPropertyAnimation::finished, w, [w, start, done] {
        w->setGeometry(start); // the stored position is the window's own, not the shrunk one
        done();
    });
    a->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace saldora::platform
