#include "ui/widgets/button_label.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QStringList>

namespace tavrola {

QFont ButtonLabelFont() {
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic")});
    font.setPixelSize(16);
    font.setWeight(QFont::Bold);
    return font;
}

void DrawButtonLabel(PixelSurface& surface, const QString& label, const QColor& colour) {
    if (label.isEmpty() || surface.width <= 0 || surface.height <= 0) {
        return;
    }
    // Paint straight into the surface's own pixels.
    QImage target(reinterpret_cast<uchar*>(surface.pixels.data()), surface.width, surface.height,
                  surface.width * 4, QImage::Format_RGB32);
    QPainter painter(&target);
    painter.setFont(ButtonLabelFont());
    painter.setPen(colour);
    const QRect band(QPoint(2, 2), QPoint(209, 27));
    painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, label);
}

}  // namespace tavrola
