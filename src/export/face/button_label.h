#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "core/helix/pixel_surface.h"
#include "export/face/image_record.h"
#include "export/face/main_window_buttons.h"

class QPainter;

namespace tavrola {

// Label colours: dark green while the button can be used, wine red while it is disabled.
inline const QColor kEnabledLabelColour{0, 100, 0};
inline const QColor kDisabledLabelColour{100, 0, 50};

// The labels' font: the desktop's UI font, bold, at 16 pixels, the size the labels' leading and
// trailing spaces are laid out for (they centre the words on a 115-pixel bar), with Japanese
// fonts behind it so no character shows as a box.
QFont ButtonLabelFont();

// A button's label and tip in the installed language. The designed Japanese labels place
// themselves on the bar with their spaces; the English ones are bare words, which the painter
// centres. The tip is what the tooltip calls the button before its shortcut.
QString ShownButtonLabel(const MainWindowButton& button);
QString ShownButtonTip(const MainWindowButton& button);

// Paints a button's face in its own coordinates, at whatever scale the painter has: white, the
// picture at (0, 0), then the label, strokes only, on one line, vertically centred in the band
// y = 2 to 28. A label that begins with a space (the designed ones) is drawn from x = 2 and cut
// at x = 210, as designed, and so is one too wide for the picture; any other is centred on the
// picture's width. The window draws its buttons with it at their own size, a video at twice
// that. The painter's clip cuts the face at the button's edges.
void PaintButtonFace(QPainter& painter, const ImageRecord& picture, const QString& label,
                     const QColor& colour);

// The same into a button's surface, which it covers.
void DrawButtonFace(PixelSurface& surface, const ImageRecord& picture, const QString& label,
                    const QColor& colour);

}  // namespace tavrola
