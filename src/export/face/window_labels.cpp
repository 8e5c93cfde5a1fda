#include "export/face/window_labels.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>

namespace tavrola {
namespace {

// The column right of the helix layer (which ends at x 405) and below the Help button (which
// ends at y 292).
constexpr int kBlockLeft = 415;
constexpr int kBlockTop = 312;
constexpr int kColumnLeftLimit = 410;
constexpr int kWindowWidth = 549;
constexpr int kRightMargin = 5;

}  // namespace

QString ShownLabelText(const LabelTemplate& entry) {
    return QCoreApplication::translate("tavrola::MainWindowLabel", entry.text);
}

int VoiceLabelId(VoiceLabel label) {
    switch (label) {
        case VoiceLabel::kRightBase:
            return 1035;
        case VoiceLabel::kLeftBase:
            return 1034;
        case VoiceLabel::kRightPitch:
            return 1039;
        case VoiceLabel::kLeftPitch:
            return 1038;
    }
    return 0;
}

MainWindowLabelLook LookOfMainWindowLabels() {
    MainWindowLabelLook look{DialogFont(9), QColor(20, 28, 40), {}};
    const DialogBaseUnits units = BaseUnitsOf(look.font);
    QRect block;
    for (const LabelTemplate& entry : kMainWindowLabels) {
        block = block.united(ToPixels(units, entry.rect));
    }
    const int left = std::max(kColumnLeftLimit,
                              std::min(kBlockLeft, kWindowWidth - kRightMargin - block.width()));
    const QPoint shift(left - block.left(), kBlockTop - block.top());
    for (const LabelTemplate& entry : kMainWindowLabels) {
        look.rects[static_cast<std::size_t>(entry.id - kFirstLabelId)] =
            ToPixels(units, entry.rect).translated(shift);
    }
    return look;
}

void PaintMainWindowLabel(QPainter& painter, const MainWindowLabelLook& look, int index,
                          const QString& text) {
    painter.setFont(look.font);
    painter.setPen(look.colour);
    painter.drawText(look.rects[static_cast<std::size_t>(index)],
                     Qt::AlignCenter | Qt::TextSingleLine, text);
}

}  // namespace tavrola
