#include "platform/programs.h"

#include "data/file_names.h"
#include "data/ini.h"
#include "data/text.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace saldora::platform {
namespace {

std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    auto slash = s.find_last_of("\\/");
    return slash == std::string::npos ? s : s.substr(slash + 1);
}

bool startExecutable(const QString& path) {
    QFileInfo info(path);
    if (!info.exists() || !info.isFile() || !info.isExecutable()) return false;
    return QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath());
}

} // namespace

bool startProgramIn(const std::string& folder, const std::string& windowsName) {
    std::string name = trimmed(windowsName);
    if (name.empty()) return false;
    std::string candidates[] = {name, name.size() > 4 && cp1252::compareNoCase(
                                                            name.substr(name.size() - 4), ".exe") == 0
                                          ? name.substr(0, name.size() - 4)
                                          : name + ".exe"};
    for (const auto& c : candidates) {
        std::string path = file_names::resolveIn(folder, c);
        if (startExecutable(QString::fromStdString(path))) return true;
    }
    return false;
}

bool startCalculator() {
    std::string command = ini::read("saldora.INI", "Programas", "Calculadora", "");
    QStringList choices;
    if (!command.empty()) choices << QString::fromStdString(command);
    else choices << "gnome-calculator" << "kcalc" << "galculator" << "mate-calc" << "xcalc";
    for (const QString& c : choices) {
        QStringList parts = QProcess::splitCommand(c);
        if (parts.isEmpty()) continue;
        QString program = QStandardPaths::findExecutable(parts.takeFirst());
        if (!program.isEmpty() && QProcess::startDetached(program, parts)) return true;
    }
    return false;
}

} // namespace saldora::platform
