#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

// Every test program runs with a QApplication, offscreen unless the environment says otherwise,
// so window tests and plain tests share one entry point. Each run gets a runtime folder of its
// own, so that locks taken by a program running on this machine do not reach the tests.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::string runtime = (std::filesystem::temp_directory_path() / "saldora-run-XXXXXX").string();
    if (mkdtemp(runtime.data())) setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(runtime, ignored);
    return result;
}
