#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "core/helix/pixel_surface.h"

namespace tavrola {

// Label colours: dark green while the button can be used, wine red while it is disabled.
inline const QColor kEnabledLabelColour{0, 100, 0};
inline const QColor kDisabledLabelColour{100, 0, 50};

// The labels' font: the desktop's UI font, bold, at 16 pixels, the size the labels' leading and
// trailing spaces are laid out for (they centre the words on a 115-pixel bar), with Japanese
// fonts behind it so no character shows as a box.
QFont ButtonLabelFont();

// Draws the label over whatever the surface holds, strokes only, on one line from x = 2,
// vertically centred in the band y = 2 to 28 and cut at x = 210 and at the surface's edges.
void DrawButtonLabel(PixelSurface& surface, const QString& label, const QColor& colour);

}  // namespace tavrola
