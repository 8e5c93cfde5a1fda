#include "export/face/button_label.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QStringList>
#include <QtGlobal>
#include <array>

namespace tavrola {
namespace {

constexpr const char* kButtonContext = "tavrola::MainWindowButton";

// What each button says, by key: the designed label, which places itself on the bar with its
// spaces, and what the tooltip calls the button (the name screen readers give the exit switch,
// which has no label). Marked for lupdate.
struct ButtonWords {
    const char* label;
    const char* tip;
};
// clang-format off
constexpr std::array<ButtonWords, kCommandKeyCount> kButtonWords = {{
    {"",
     QT_TRANSLATE_NOOP("tavrola::MainWindowButton", "終了")},
    {QT_TRANSLATE_NOOP("tavrola::MainWindowButton", "　　データ　　"),
     QT_TRANSLATE_NOOP("tavrola::MainWindowButton", "データ")},
    {QT_TRANSLATE_NOOP("tavrola::MainWindowButton", "　　開　始　　"),
     QT_TRANSLATE_NOOP("tavrola::MainWindowButton", "開始・停止")},
    {QT_TRANSLATE_NOOP("tavrola::MainWindowButton", "　　音　色　　"),
     QT_TRANSLATE_NOOP("tavrola::MainWindowButton", "音色")},
    {QT_TRANSLATE_NOOP("tavrola::MainWindowButton", " アルゴリズム　　"),
     QT_TRANSLATE_NOOP("tavrola::MainWindowButton", "アルゴリズム")},
    {QT_TRANSLATE_NOOP("tavrola::MainWindowButton", " 　　ヘルプ　　"),
     QT_TRANSLATE_NOOP("tavrola::MainWindowButton", "ヘルプ")},
}};
// clang-format on

// Where a label's line stands: y 2 to 27 inclusive, and from x 2 to 209 for a label placed by
// its own spaces.
constexpr int kBandTop = 2;
constexpr int kBandHeight = 26;
constexpr int kBandLeft = 2;
constexpr int kBandRight = 209;

// The designed labels centre themselves with their leading and trailing spaces.
bool PlacedBySpaces(const QString& label) {
    return label.front().isSpace();  // U+3000, the ideographic space, included
}

}  // namespace

QString ShownButtonLabel(const MainWindowButton& button) {
    const char* label = kButtonWords[static_cast<std::size_t>(button.key)].label;
    return *label == '\0' ? QString() : QCoreApplication::translate(kButtonContext, label);
}

QString ShownButtonTip(const MainWindowButton& button) {
    return QCoreApplication::translate(kButtonContext,
                                       kButtonWords[static_cast<std::size_t>(button.key)].tip);
}

QFont ButtonLabelFont() {
    QFont font = QGuiApplication::font();
    font.setFamilies({font.family(), QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic")});
    font.setPixelSize(16);
    font.setWeight(QFont::Bold);
    return font;
}

void PaintButtonFace(QPainter& painter, const ImageRecord& picture, const QString& label,
                     const QColor& colour) {
    painter.fillRect(painter.clipBoundingRect(), Qt::white);
    if (picture.Width() > 0 && picture.Height() > 0) {
        const QImage image(reinterpret_cast<const uchar*>(picture.picture.pixels.data()),
                           picture.Width(), picture.Height(), picture.Width() * 4,
                           QImage::Format_RGB32);
        painter.drawImage(QRect(0, 0, picture.Width(), picture.Height()), image);
    }
    if (label.isEmpty()) {
        return;
    }
    painter.setFont(ButtonLabelFont());
    painter.setPen(colour);
    const bool centred = !PlacedBySpaces(label) && painter.fontMetrics().horizontalAdvance(label) <=
                                                       picture.Width() - 2 * kBandLeft;
    if (centred) {
        const QRect face(0, kBandTop, picture.Width(), kBandHeight);
        painter.drawText(face, Qt::AlignCenter | Qt::TextSingleLine, label);
        return;
    }
    const QRect band(QPoint(kBandLeft, kBandTop), QPoint(kBandRight, kBandTop + kBandHeight - 1));
    painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, label);
}

void DrawButtonFace(PixelSurface& surface, const ImageRecord& picture, const QString& label,
                    const QColor& colour) {
    if (surface.width <= 0 || surface.height <= 0) {
        return;
    }
    // Paint straight into the surface's own pixels.
    QImage target(reinterpret_cast<uchar*>(surface.pixels.data()), surface.width, surface.height,
                  surface.width * 4, QImage::Format_RGB32);
    QPainter painter(&target);
    painter.setClipRect(target.rect());
    PaintButtonFace(painter, picture, label, colour);
}

}  // namespace tavrola
