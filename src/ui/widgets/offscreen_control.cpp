#include "ui/widgets/offscreen_control.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "ui/widgets/offscreen_accessible.h"

namespace tavrola {

COffScreenControl::COffScreenControl(QWidget* parent, MouseStyle style) : QWidget(parent) {
    InstallOffScreenAccessibility();
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
    cancel_ = nullptr;
}

bool COffScreenControl::TakesClicks() const {
    return style_ == MouseStyle::kNotify && isEnabled() && !blocked_;
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
    pressed_ = true;
    press_cancelled_ = false;
    leave_armed_ = static_cast<bool>(press_);
    WatchForMouseTaken(leave_armed_);
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
    pressed_ = false;
    WatchForMouseTaken(false);
    // A press that ended when the control stopped taking clicks has no release any more, even
    // if the control takes clicks again by now.
    if (std::exchange(press_cancelled_, false) || !TakesClicks()) {
        return;
    }
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

bool COffScreenControl::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::EnabledChange:
            if (!isEnabled()) {
                CancelPress();
            }
            break;
        // The window passes both on to its children.
        case QEvent::WindowBlocked:
        case QEvent::WindowUnblocked:
            SetBlocked(event->type() == QEvent::WindowBlocked);
            break;
        case QEvent::WindowDeactivate:
            // Deactivation reaches every widget of the window. A modal window blocks the window
            // before it takes the activation, so this leave runs a command only where a click
            // would.
            if (leave_armed_) {
                ReportLeave();
            }
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

void COffScreenControl::SetBlocked(bool blocked) {
    if (blocked == blocked_) {
        return;
    }
    blocked_ = blocked;
    if (blocked) {
        CancelPress();
    }
    if (style_ == MouseStyle::kNotify && isEnabled()) {
        ReportAvailabilityChange(*this);
    }
}

bool COffScreenControl::eventFilter(QObject* watched, QEvent* event) {
    if (leave_armed_ && event->type() == QEvent::Show && watched->isWidgetType()) {
        const auto* shown = static_cast<QWidget*>(watched);
        if (shown->isWindow() && shown->isModal()) {
            // It will block this window, where a click does nothing; the leave Qt sends before
            // the block must not count as the drag-off.
            CancelPress();
        } else if (shown->windowType() == Qt::Popup) {
            ReportLeave();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void COffScreenControl::WatchForMouseTaken(bool watch) {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        if (watch) {
            application->installEventFilter(this);
        } else {
            application->removeEventFilter(this);
        }
    }
}

void COffScreenControl::Click() {
    if (!TakesClicks()) {
        return;
    }
    const QPoint centre = rect().center();
    pressed_ = true;
    if (press_) {
        const OffScreenCallback press = press_;
        press(centre.x(), centre.y(), key_);
    }
    pressed_ = false;
    if (release_) {
        const OffScreenCallback release = release_;
        release(centre.x(), centre.y(), key_);
    }
}

void COffScreenControl::ReportLeave() {
    if (!TakesClicks()) {
        CancelPress();
        return;
    }
    leave_armed_ = false;
    WatchForMouseTaken(false);
    if (!pressed_) {
        return;
    }
    pressed_ = false;
    if (release_) {
        const OffScreenCallback release = release_;
        release(-1, -1, key_);
    }
}

void COffScreenControl::CancelPress() {
    leave_armed_ = false;
    WatchForMouseTaken(false);
    if (!pressed_) {
        return;
    }
    pressed_ = false;
    press_cancelled_ = true;
    if (cancel_) {
        const OffScreenCallback cancel = cancel_;
        cancel(-1, -1, key_);
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
    control.cancel_ = nullptr;
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
