#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

class QDialog;
class QWidget;

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

// Template ids stay with their controls, so tests and callers can find a control by its id.
void SetControlId(QWidget* control, int id);
QWidget* FindControl(const QWidget* dialog, int id);

// Lays out a dialog from its template. Controls are placed at their rectangles converted with
// the dialog font's base units. Where a quoted text would not fit its rectangle with those
// units (Japanese glyphs are wider than the Latin letters the units are measured on), the
// units grow just enough for every text to fit, the same for the whole dialog, so the
// template's proportions stay and nothing is clipped.
class DialogTemplateLayout {
  public:
    DialogTemplateLayout(QDialog* dialog, int width, int height, const QFont& font = DialogFont());

    // Drop-down lists take their height from the font, as the template's height is the height
    // of the opened list: `height` sets how many entries the opened list shows.
    void Place(QWidget* control, DialogRect rect);

    // Places every control and fixes the dialog's size. Returns the units used.
    DialogBaseUnits Apply();

  private:
    struct Placed {
        QWidget* control;
        DialogRect rect;
    };
    QDialog* dialog_;
    int width_;
    int height_;
    std::vector<Placed> placed_;
};

}  // namespace tavrola
