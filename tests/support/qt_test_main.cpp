#include <gtest/gtest.h>

#include <QApplication>

// Widget tests, and the command line's tests that drive a window beside it, need one application
// object for the whole run; without a display they use the offscreen platform.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
