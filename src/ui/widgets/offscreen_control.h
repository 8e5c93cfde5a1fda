#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "core/helix/pixel_surface.h"
#include "export/face/client_rect.h"

class QEvent;
class QMouseEvent;
class QPaintEvent;

namespace tavrola {

// Every callback of a control gets the mouse position in the control's own pixels and the
// control's key; a press that is dragged off the control is reported as a release at (-1, -1).
using OffScreenCallback = std::function<void(int x, int y, int key)>;

// A picture child of the main window. It shows only what its owner last presented from a pixel
// surface, and reports the left mouse button to its callbacks.
class COffScreenControl : public QWidget {
    Q_OBJECT

  public:
    // Only notifying controls (the buttons) take the mouse; the others let it through to
    // whatever lies beneath them.
    enum class MouseStyle { kPassThrough, kNotify };

    explicit COffScreenControl(QWidget* parent = nullptr,
                               MouseStyle style = MouseStyle::kPassThrough);

    int Key() const { return key_; }
    void SetKey(int key) { key_ = key; }
    // From a left press on the control until its release over it or the leave.
    bool Pressed() const { return pressed_; }

    MouseStyle Style() const { return style_; }
    void SetMouseStyle(MouseStyle style);

    // Reports every move over the control; the set-up clears it.
    void SetMoveCallback(OffScreenCallback move) { move_ = std::move(move); }
    // Told, at (-1, -1), when a press ends without a release because the control stopped taking
    // clicks; the set-up clears it.
    void SetCancelCallback(OffScreenCallback cancel) { cancel_ = std::move(cancel); }
    // For an owner that goes away before its controls: nothing reaches it any more.
    void ClearCallbacks();

    // What the control shows: the surface as it was at the last present (null before).
    const QImage& Shown() const { return shown_; }

    // Whether a click would reach the control now: a notifying control, enabled, in a window no
    // modal window blocks. Only then does a press end in a release.
    bool TakesClicks() const;

    // A left click in the middle of the control if it takes clicks, as the keyboard shortcuts
    // and screen readers make it: the press and then the release over the control.
    void Click();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    friend void SetUpOffScreen(COffScreenControl& control, const ClientRect& rect,
                               OffScreenCallback press, OffScreenCallback release,
                               PixelSurface& surface);
    friend void PresentOffScreen(const PixelSurface& surface, COffScreenControl& control);

    // The mouse has left the control while pressed: the press ends as a release at (-1, -1), or
    // quietly if the control no longer takes clicks.
    void ReportLeave();
    // Ends a press under way without a release; the release of the same press is not reported.
    void CancelPress();
    void SetBlocked(bool blocked);
    // While a press may still end by leaving, anything else that takes the mouse is dealt with
    // at once, since the left release may never come: a popup or the window losing the
    // desktop's attention is that leave; a modal window ends the press quietly.
    void WatchForMouseTaken(bool watch);

    int key_ = -1;
    bool pressed_ = false;
    // Set by a press that has a press callback; used up by the first leave.
    bool leave_armed_ = false;
    // Set when a press was cancelled, until the next press.
    bool press_cancelled_ = false;
    // A modal window blocks the control's window.
    bool blocked_ = false;
    MouseStyle style_;
    OffScreenCallback press_;
    OffScreenCallback release_;
    OffScreenCallback move_;
    OffScreenCallback cancel_;
    QImage shown_;
};

// Places the control at rect (raised above its siblings), gives the owner's slot a black
// surface of the control's size, and installs the two callbacks; the move and cancel callbacks
// are cleared and the key is left as it is.
void SetUpOffScreen(COffScreenControl& control, const ClientRect& rect, OffScreenCallback press,
                    OffScreenCallback release, PixelSurface& surface);

// Puts the surface on the screen at once: one copy into the control and one repaint of it. A
// surface without pixels changes nothing. Not for use inside a paint handler.
void PresentOffScreen(const PixelSurface& surface, COffScreenControl& control);

}  // namespace tavrola
