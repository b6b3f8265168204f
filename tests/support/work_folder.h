#pragma once
// A fresh folder for one test that is also the current folder and the per-user configuration
// folder while the test runs; both are restored and the folder removed afterwards.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace saldora::testing {

class WorkFolder {
  public:
    WorkFolder() {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "saldora-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        previous_ = fs::current_path();
        fs::current_path(path_);
        if (const char* xdg = std::getenv("XDG_CONFIG_HOME")) previousXdg_ = xdg, hadXdg_ = true;
        ::setenv("XDG_CONFIG_HOME", (path_ / "config").c_str(), 1);
    }
    ~WorkFolder() {
        std::filesystem::current_path(previous_);
        if (hadXdg_)
            ::setenv("XDG_CONFIG_HOME", previousXdg_.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path configFolder() const { return path_ / "config" / "saldora"; }

    // Whole files as bytes.
    static std::string contents(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void put(const std::filesystem::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    }

  private:
    std::filesystem::path path_, previous_;
    std::string previousXdg_;
    bool hadXdg_ = false;
};

} // namespace saldora::testing
