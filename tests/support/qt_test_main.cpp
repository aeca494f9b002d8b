// Test entry point: a QApplication for every test program (offscreen unless
// the environment names another platform), then GoogleTest.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without an X server the X tests skip themselves instead of failing to start.
    if (qgetenv("QT_QPA_PLATFORM") == "xcb" && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("DRM Quodra");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
