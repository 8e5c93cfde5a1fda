#include "export/face/button_label.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QStringList>

namespace tavrola {

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
    const QRect band(QPoint(2, 2), QPoint(209, 27));
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
