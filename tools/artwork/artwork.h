#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "shading.h"

// The program's pictures, drawn from numbers alone so that they come out the same every time.
namespace tavrola::artwork {

// One palette for the whole face. The panel is flat wherever a button stands, so the buttons'
// corners, drawn on the same colour, join it without a seam.
inline constexpr Rgb kFace = Bytes(218, 223, 229);
inline constexpr Rgb kFaceLight = Bytes(252, 253, 254);
inline constexpr Rgb kFaceShade = Bytes(128, 139, 153);
inline constexpr Rgb kInk = Bytes(30, 37, 48);

// Light falls from the top left: a surface turned that way is lit.
inline constexpr double kLightX = -0.6;
inline constexpr double kLightY = -0.8;

QImage DrawBackground();          // bitmap 129, 794 x 569
QImage DrawExitButton(bool lit);  // bitmaps 130 (released) and 133 (lit), 60 x 60
QImage DrawTextBar(bool sunk);    // bitmaps 132 (raised) and 131 (sunk), 115 x 32
QImage DrawIcon(int size);        // icon 128, square, with alpha

struct ArtworkFile {
    QString path;  // relative to resources/
    QImage image;
};

// Every picture with the file it is kept in.
std::vector<ArtworkFile> DrawAllArtwork();

}  // namespace tavrola::artwork
