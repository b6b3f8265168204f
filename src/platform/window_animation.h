#pragma once
// A window that grows open from its centre and shrinks to it when it closes.
#include <functional>

class QWidget;

namespace saldora::platform {

void growOpen(QWidget* window, int milliseconds);
// Shrinks the window, then runs `done` (which closes it).
void shrinkClosed(QWidget* window, int milliseconds, std::function<void()> done);

} // namespace saldora::platform
