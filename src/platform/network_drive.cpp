#include "platform/network_drive.h"

#include "data/file_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace saldora::platform {
namespace {

bool isUrl(const std::string& s) { return s.find("://") != std::string::npos; }

int gio(const QStringList& args) {
    QString program = QStandardPaths::findExecutable("gio");
    if (program.isEmpty()) return -1;
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000)) return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// The local folder where gio shows a mounted location.
QString mountedPath(const std::string& url) {
    QString program = QStandardPaths::findExecutable("gio");
    if (program.isEmpty()) return {};
    QProcess p;
    p.start(program, {"info", "-a", "standard::target-uri,id::filesystem", QString::fromStdString(url)});
    p.waitForFinished(10000);
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (line.trimmed().startsWith("local path:")) return line.section(':', 1).trimmed();
    return {};
}

std::string driveName(const std::string& drive) {
    std::string d = drive;
    while (!d.empty() && (d.back() == ':' || d.back() == ' ')) d.pop_back();
    return d;
}

} // namespace

std::string drivePath(const std::string& drive) {
    return file_names::configFolder() + "/drives/" + driveName(drive);
}

int mapDrive(const std::string& remote, const std::string& drive) {
    if (driveName(drive).empty() || remote.empty()) return -1;
    QString target;
    if (isUrl(remote)) {
        int rc = gio({"mount", QString::fromStdString(remote)});
        target = mountedPath(remote);
        if (target.isEmpty()) return rc != 0 ? rc : -1;
    } else {
        QFileInfo info(QString::fromStdString(file_names::nativeSeparators(remote)));
        if (!info.isDir()) return -1;
        target = info.absoluteFilePath();
    }
    QString link = QString::fromStdString(drivePath(drive));
    QDir().mkpath(QFileInfo(link).absolutePath());
    QFile::remove(link);
    return QFile::link(target, link) ? 0 : -1;
}

int unmapDrive(const std::string& remote) {
    // Every drive linked to the folder goes.
    QDir drives(QString::fromStdString(file_names::configFolder() + "/drives"));
    QString target = isUrl(remote) ? mountedPath(remote)
                                   : QFileInfo(QString::fromStdString(
                                                   file_names::nativeSeparators(remote)))
                                         .absoluteFilePath();
    bool any = false;
    for (const QFileInfo& link : drives.entryInfoList(QDir::System | QDir::Files | QDir::Dirs |
                                                      QDir::NoDotAndDotDot)) {
        if (link.isSymLink() && (target.isEmpty() || link.symLinkTarget() == target)) {
            any |= QFile::remove(link.absoluteFilePath());
        }
    }
    int rc = isUrl(remote) ? gio({"mount", "-u", QString::fromStdString(remote)}) : 0;
    return any || rc == 0 ? 0 : (rc != 0 ? rc : -1);
}

} // namespace saldora::platform
