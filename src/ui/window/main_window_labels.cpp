#include "ui/window/main_window_labels.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPalette>

namespace tavrola {

QString VoiceLabelDescription(VoiceLabel label) {
    const char* description = "";
    switch (label) {
        case VoiceLabel::kRightBase:
            description = QT_TRANSLATE_NOOP("tavrola::MainWindowLabel", "右の声部の塩基");
            break;
        case VoiceLabel::kLeftBase:
            description = QT_TRANSLATE_NOOP("tavrola::MainWindowLabel", "左の声部の塩基");
            break;
        case VoiceLabel::kRightPitch:
            description = QT_TRANSLATE_NOOP("tavrola::MainWindowLabel", "右の声部の音高");
            break;
        case VoiceLabel::kLeftPitch:
            description = QT_TRANSLATE_NOOP("tavrola::MainWindowLabel", "左の声部の音高");
            break;
    }
    return QCoreApplication::translate("tavrola::MainWindowLabel", description);
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
