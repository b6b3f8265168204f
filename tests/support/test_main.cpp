#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

// Every test program runs with a QApplication, offscreen unless the environment says otherwise,
// so window tests and plain tests share one entry point. Each run gets a runtime folder of its
// own, so that locks taken by a program running on this machine do not reach the tests.
namespace {
std::string gRuntime;
// Registered before any lock is taken, so it runs after the locks have been given up.
void removeRuntime() {
    std::error_code ignored;
    std::filesystem::remove_all(gRuntime, ignored);
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    gRuntime = (std::filesystem::temp_directory_path() / "saldora-run-XXXXXX").string();
    if (mkdtemp(gRuntime.data())) {
        setenv("XDG_RUNTIME_DIR", gRuntime.c_str(), 1);
        std::atexit(removeRuntime);
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
