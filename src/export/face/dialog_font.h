#pragma once

#include <QFont>
#include <QRect>

namespace tavrola {

// The font every template dialog uses: the system's UI font at 8 points, falling back to a
// Japanese font for the kana and kanji. The main window and the About box use 9 points.
QFont DialogFont(int point_size = 8);

// Pixels per 4 dialog units across and per 8 down.
struct DialogBaseUnits {
    double x = 0;
    double y = 0;
};

// The base units of a font as a template dialog measures them: the average width of the
// 52 Latin letters, rounded as the templates were designed for, and the line height.
DialogBaseUnits BaseUnitsOf(const QFont& font);

// A rectangle in dialog units: x, y, width, height.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

QRect ToPixels(const DialogBaseUnits& units, const DialogRect& rect);

}  // namespace tavrola
