#include "ui/window/main_window_labels.h"

#include <QPalette>
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

void LayOutMainWindowLabels(const std::array<QLabel*, 10>& labels, int first_id) {
    const QFont font = DialogFont(9);
    const DialogBaseUnits units = BaseUnitsOf(font);

    QRect block;
    for (const LabelTemplate& entry : kMainWindowLabels) {
        block = block.united(ToPixels(units, entry.rect));
    }
    const int left = std::max(kColumnLeftLimit,
                              std::min(kBlockLeft, kWindowWidth - kRightMargin - block.width()));
    const QPoint shift(left - block.left(), kBlockTop - block.top());

    for (const LabelTemplate& entry : kMainWindowLabels) {
        QLabel* label = labels[static_cast<std::size_t>(entry.id - first_id)];
        label->setFont(font);
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(20, 28, 40));
        label->setPalette(palette);
        label->setGeometry(ToPixels(units, entry.rect).translated(shift));
    }
}

}  // namespace tavrola
