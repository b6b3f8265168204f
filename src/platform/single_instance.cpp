#include "platform/single_instance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include <map>
#include <memory>

namespace saldora::platform {

namespace {
std::map<std::string, std::unique_ptr<QLockFile>>& locks() {
    static std::map<std::string, std::unique_ptr<QLockFile>> held;
    return held;
}
} // namespace

void releaseSingleInstance(const std::string& name) { locks().erase(name); }

bool acquireSingleInstance(const std::string& name) {
    auto& held = locks();
    if (held.count(name)) return true;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    QDir().mkpath(folder);
    auto lock = std::make_unique<QLockFile>(folder + "/" + QString::fromStdString(name) + ".lock");
    lock->setStaleLockTime(0); // only a dead owner makes the lock stale
    if (!lock->tryLock(0)) return false;
    held.emplace(name, std::move(lock));
    return true;
}

} // namespace saldora::platform
