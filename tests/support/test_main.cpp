#include <gtest/gtest.h>

#include <QApplication>

// Every test program runs with a QApplication, offscreen unless the environment says otherwise,
// so window tests and plain tests share one entry point.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
