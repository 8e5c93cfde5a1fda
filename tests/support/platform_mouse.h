#pragma once

// Mouse input that travels the way a user's does: through the platform, so that Qt picks the
// widget under the pointer, grabs the mouse on a press and sends enter and leave. Include this
// before anything else that includes QTest.
#ifndef QTEST_QPA_MOUSE_HANDLING
#define QTEST_QPA_MOUSE_HANDLING
#endif
#include <QPoint>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace tavrola::testing {

// Drives the mouse over one shown top-level widget; positions are in its coordinates. A button
// still held when it goes is released, so one test cannot leave the next a held button.
class PlatformMouse {
  public:
    explicit PlatformMouse(QWidget& window) : window_(window) {}
    ~PlatformMouse() {
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            if (held_ & button) {
                Release(last_, button);
            }
        }
    }
    PlatformMouse(const PlatformMouse&) = delete;
    PlatformMouse& operator=(const PlatformMouse&) = delete;

    void MoveTo(QPoint at) {
        last_ = at;
        QTest::mouseMove(Handle(), at);
    }
    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        last_ = at;
        held_ |= button;
        QTest::mousePress(Handle(), button, Qt::NoModifier, at);
    }
    void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        last_ = at;
        held_ &= ~Qt::MouseButtons(button);
        QTest::mouseRelease(Handle(), button, Qt::NoModifier, at);
    }
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        Press(at, button);
        Release(at, button);
    }

  private:
    QWindow* Handle() const { return window_.windowHandle(); }

    QWidget& window_;
    QPoint last_;
    Qt::MouseButtons held_;
};

}  // namespace tavrola::testing
