#include "export/face/dialog_font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>
#include <QStringList>
#include <cmath>

namespace tavrola {
namespace {

int Scale(int units, double base, int per) {
    return static_cast<int>(std::lround(units * base / per));
}

}  // namespace

QFont DialogFont(int point_size) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(point_size);
    font.setFamilies({font.family(), QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("Noto Sans CJK JP")});
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {static_cast<double>((letters / 26 + 1) / 2), static_cast<double>(metrics.height())};
}

QRect ToPixels(const DialogBaseUnits& units, const DialogRect& rect) {
    const int left = Scale(rect.x, units.x, 4);
    const int top = Scale(rect.y, units.y, 8);
    const int right = Scale(rect.x + rect.width, units.x, 4);
    const int bottom = Scale(rect.y + rect.height, units.y, 8);
    return {left, top, right - left, bottom - top};
}

}  // namespace tavrola
