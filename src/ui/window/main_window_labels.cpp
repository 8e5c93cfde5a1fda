#include "ui/window/main_window_labels.h"

#include <QPainter>
#include <QPalette>

namespace tavrola {

const char* VoiceLabelDescription(VoiceLabel label) {
    switch (label) {
        case VoiceLabel::kRightBase:
            return "右の声部の塩基";
        case VoiceLabel::kLeftBase:
            return "左の声部の塩基";
        case VoiceLabel::kRightPitch:
            return "右の声部の音高";
        case VoiceLabel::kLeftPitch:
            return "左の声部の音高";
    }
    return "";
}

MainWindowLabel::MainWindowLabel(const QString& text, QWidget* parent,
                                 const MainWindowLabelLook& look, int index)
    : QLabel(text, parent), look_(look), index_(index) {
    setFont(look.font);
    setAlignment(Qt::AlignCenter);
    setTextFormat(Qt::PlainText);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, look.colour);
    setPalette(palette);
    setGeometry(look.rects[static_cast<std::size_t>(index)]);
}

void MainWindowLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // The label's own rectangle in its parent is the look's; here it starts at (0, 0).
    painter.translate(-pos());
    PaintMainWindowLabel(painter, look_, index_, text());
}

}  // namespace tavrola
