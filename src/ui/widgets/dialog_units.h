#pragma once

#include <QFont>
#include <QRect>
#include <vector>

#include "export/face/dialog_font.h"

class QDialog;
class QWidget;

namespace tavrola {

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
