#include "data/file_names.h"

#include "data/text.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace saldora::file_names {
namespace {

// Case-insensitive match of two UTF-8 file names: ASCII and Latin-1 letters fold alike.
bool sameNameIgnoringCase(const std::string& a, const std::string& b) {
    auto fa = cp1252::fromUtf8(a), fb = cp1252::fromUtf8(b);
    if (!fa.ok() || !fb.ok()) return a == b;
    return fa->size() == fb->size() && cp1252::upper(*fa) == cp1252::upper(*fb);
}

} // namespace

std::string nativeSeparators(std::string_view path) {
    std::string out(path);
    for (auto& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::string resolve(std::string_view rawPath) {
    fs::path path(nativeSeparators(rawPath));
    fs::path result;
    bool exists = true; // while the prefix exists, look the next component up
    for (const auto& part : path) {
        std::string name = part.string();
        if (!exists || name.empty() || name == "/" || name == "." || name == "..") {
            result /= part;
            continue;
        }
        fs::path direct = result / part;
        std::error_code ec;
        if (fs::exists(direct, ec)) {
            result = direct;
            continue;
        }
        fs::path folder = result.empty() ? fs::path(".") : result;
        fs::path found;
        for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
             it.increment(ec)) {
            if (sameNameIgnoringCase(it->path().filename().string(), name)) {
                found = it->path().filename();
                break;
            }
        }
        if (found.empty()) {
            exists = false;
            result /= part;
        } else {
            result /= found;
        }
    }
    return result.string();
}

std::string resolveIn(std::string_view folder, std::string_view name) {
    std::string f = nativeSeparators(folder);
    if (!f.empty() && f.back() != '/') f += '/';
    return resolve(f + nativeSeparators(name));
}

std::string configFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : ".") / ".config";
    }
    fs::path folder = base / "saldora";
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder.string();
}

} // namespace saldora::file_names
