#include "platform/display_mode.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

namespace saldora::platform {

std::optional<DisplaySize> displaySize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || QGuiApplication::platformName() == "offscreen") return std::nullopt;
    QSize s = screen->size() * screen->devicePixelRatio();
    return DisplaySize{s.width(), s.height()};
}

SwitchResult switchDisplay(DisplaySize size) {
    QString xrandr = QStandardPaths::findExecutable("xrandr");
    if (xrandr.isEmpty()) return SwitchResult::Failed;
    QProcess p;
    p.start(xrandr, {"-s", QString("%1x%2").arg(size.width).arg(size.height)});
    if (!p.waitForFinished(5000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return SwitchResult::Failed;
    return SwitchResult::Switched;
}

} // namespace saldora::platform
