#include "ui/widgets/offscreen_control.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

namespace tavrola {

COffScreenControl::COffScreenControl(QWidget* parent, MouseStyle style) : QWidget(parent) {
    SetMouseStyle(style);
}

void COffScreenControl::SetMouseStyle(MouseStyle style) {
    style_ = style;
    const bool notify = style == MouseStyle::kNotify;
    setAttribute(Qt::WA_TransparentForMouseEvents, !notify);
    // Moves over the control are reported even with no button held.
    setMouseTracking(notify);
}

void COffScreenControl::ClearCallbacks() {
    press_ = nullptr;
    release_ = nullptr;
    move_ = nullptr;
}

void COffScreenControl::paintEvent(QPaintEvent* /*event*/) {
    if (shown_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), shown_);
}

void COffScreenControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    pressed_ = 1;
    leave_armed_ = static_cast<bool>(press_);
    const QPoint at = event->position().toPoint();
    if (press_) {
        // A copy, so a callback that sets the control up again cannot pull the function away.
        const OffScreenCallback press = press_;
        press(at.x(), at.y(), key_);
    }
}

void COffScreenControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPoint at = event->position().toPoint();
    // Qt hands the release to the control the press began on wherever it happens; one outside
    // the control is not the control's.
    if (!rect().contains(at)) {
        return;
    }
    pressed_ = 0;
    if (release_) {
        const OffScreenCallback release = release_;
        release(at.x(), at.y(), key_);
    }
}

void COffScreenControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!rect().contains(at)) {
        // While a button is held Qt keeps sending moves here and no leave at all, so the first
        // move outside is the leave.
        if (leave_armed_) {
            ReportLeave();
        }
        return;
    }
    if (move_) {
        const OffScreenCallback move = move_;
        move(at.x(), at.y(), key_);
    }
}

void COffScreenControl::leaveEvent(QEvent* /*event*/) {
    if (leave_armed_) {
        ReportLeave();
    }
}

void COffScreenControl::ReportLeave() {
    leave_armed_ = false;
    if (pressed_ != 1) {
        return;
    }
    pressed_ = 0;
    if (release_) {
        const OffScreenCallback release = release_;
        release(-1, -1, key_);
    }
}

void SetUpOffScreen(COffScreenControl& control, const ClientRect& rect, OffScreenCallback press,
                    OffScreenCallback release, PixelSurface& surface) {
    const int width = std::max(rect.Width(), 0);
    const int height = std::max(rect.Height(), 0);
    control.setGeometry(rect.left, rect.top, width, height);
    control.raise();
    surface = PixelSurface(width, height);
    control.press_ = std::move(press);
    control.release_ = std::move(release);
    control.move_ = nullptr;
}

void PresentOffScreen(const PixelSurface& surface, COffScreenControl& control) {
    if (surface.width <= 0 || surface.height <= 0) {
        return;
    }
    const QImage wrapped(reinterpret_cast<const uchar*>(surface.pixels.data()), surface.width,
                         surface.height, surface.width * 4, QImage::Format_RGB32);
    control.shown_ = wrapped.copy();
    // A picture that covers the whole control is all there is to paint: nothing beneath it is
    // drawn first.
    control.setAttribute(Qt::WA_OpaquePaintEvent, control.shown_.width() >= control.width() &&
                                                      control.shown_.height() >= control.height());
    control.repaint();
}

}  // namespace tavrola
