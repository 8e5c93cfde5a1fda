#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace tavrola {
namespace {

TEST(MainWindow, OpensWithItsCaptionAndFixedClientSizeAndCloses) {
    CTavrolaAppDlg window;
    QTimer::singleShot(0, &window, [&window] {
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Tavrola"));
        EXPECT_EQ(window.size(), QSize(549, 569));
        window.reject();
    });
    window.exec();
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace tavrola
