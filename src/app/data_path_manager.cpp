#include "app/data_path_manager.h"

#include "data/file_names.h"
#include "data/message_service.h"
#include "data/text.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace saldora::app {
namespace {

std::string clipped(std::string s) { return std::string(fixed::clip(s)); }

std::string withoutTrailingSlash(std::string s) {
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

} // namespace

DataPathManager& dataPathManager() {
    static DataPathManager manager;
    return manager;
}

void DataPathManager::init(bool startInProgramFolder, const std::string& programPath) {
    std::error_code ec;
    if (startInProgramFolder) {
        fs::path folder = fs::path(programPath).parent_path();
        if (!folder.empty() && fs::is_directory(folder, ec)) fs::current_path(folder, ec);
    }
    startFolder_ = fs::current_path(ec).string();
    dataFolder_ = startFolder_;
}

void DataPathManager::addFile(DataFile* file, std::string registeredName, std::string explicitName,
                              bool useRegisteredName) {
    files_.push_back({file, std::move(registeredName),
                      useRegisteredName ? std::string() : std::move(explicitName)});
}

std::string DataPathManager::dataFolderWithSlash() const {
    std::string f = file_names::nativeSeparators(clipped(dataFolder_));
    if (f.empty() || f.back() != '/') f += '/';
    return f;
}

bool DataPathManager::pathExists(const std::string& folder) {
    std::error_code ec;
    std::string f = file_names::resolve(clipped(folder));
    return !f.empty() && fs::is_directory(f, ec);
}

bool DataPathManager::createPath(const std::string& folder) {
    std::error_code ec;
    std::string f = file_names::resolve(clipped(folder));
    if (f.empty()) return false;
    fs::create_directories(f, ec);
    return pathExists(f);
}

std::string DataPathManager::makeRelative(const std::string& folder) {
    std::error_code ec;
    std::string f = withoutTrailingSlash(file_names::nativeSeparators(clipped(folder)));
    std::string current = withoutTrailingSlash(fs::current_path(ec).string());
    if (f.size() <= current.size() || f[current.size()] != '/') return folder;
    auto head = cp1252::fromUtf8(f.substr(0, current.size()));
    auto here = cp1252::fromUtf8(current);
    if (!head || !here || cp1252::compareNoCase(*head, *here) != 0) return folder;
    return "." + f.substr(current.size());
}

bool DataPathManager::applyPaths() {
    if (!pathExists(dataFolder_) && !createPath(dataFolder_)) return false;
    const std::string folder = dataFolderWithSlash();
    for (const Entry& e : files_) {
        std::string name = file_names::nativeSeparators(clipped(e.explicitName));
        if (name.empty()) name = clipped(e.registeredName);
        else if (name.find("/!") == std::string::npos && name.find(":/") != std::string::npos)
            name = fs::path(name).filename().string(); // a full path with a drive: its name only
        e.file->setLocation(folder, name);
    }
    return true;
}

bool DataPathManager::ask(int kind) {
    using namespace button;
    switch (kind) {
    case 1:
        return messages().show(Message::withButtons("Caminho não encontrado, criar ?", "Atenção",
                                                    Icon::Question, Yes | No, Yes)) == Yes;
    case 2:
        messages().show(Message::withButtons("Caminho não encontrado, saindo do programa !",
                                             "Atenção", Icon::Exclamation, Ok));
        messages().halt(1, "");
        return false; // the halt does not return
    case 3:
        messages().show(
            Message::withButtons("Erro criando caminho !", "Atenção", Icon::Exclamation, Ok));
        return false;
    case 4:
        messages().show(
            Message::withButtons("Erro conectando drive !", "Atenção", Icon::Exclamation, Ok));
        return false;
    case 5:
        messages().show(
            Message::withButtons("Erro desconectando drive !", "Atenção", Icon::Exclamation, Ok));
        return false;
    default: return false;
    }
}

bool DataPathManager::ensureFolder(const std::string& folder) {
    if (pathExists(folder)) return true;
    while (ask(1)) {
        if (createPath(folder)) return true;
        ask(3);
    }
    return false;
}

} // namespace saldora::app
