#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "core/helix/pixel_surface.h"
#include "export/face/image_record.h"

class QPainter;

namespace tavrola {

// Label colours: dark green while the button can be used, wine red while it is disabled.
inline const QColor kEnabledLabelColour{0, 100, 0};
inline const QColor kDisabledLabelColour{100, 0, 50};

// The labels' font: the desktop's UI font, bold, at 16 pixels, the size the labels' leading and
// trailing spaces are laid out for (they centre the words on a 115-pixel bar), with Japanese
// fonts behind it so no character shows as a box.
QFont ButtonLabelFont();

// Paints a button's face in its own coordinates, at whatever scale the painter has: white, the
// picture at (0, 0), then the label, strokes only, on one line from x = 2, vertically centred
// in the band y = 2 to 28 and cut at x = 210. The window draws its buttons with it at their own
// size, a video at twice that. The painter's clip cuts the face at the button's edges.
void PaintButtonFace(QPainter& painter, const ImageRecord& picture, const QString& label,
                     const QColor& colour);

// The same into a button's surface, which it covers.
void DrawButtonFace(PixelSurface& surface, const ImageRecord& picture, const QString& label,
                    const QColor& colour);

}  // namespace tavrola
