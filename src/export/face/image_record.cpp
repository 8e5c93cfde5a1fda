#include "export/face/image_record.h"

#include <QImage>
#include <QString>
#include <cstring>

#include "core/helix/surface_copy.h"
#include "export/face/resource_ids.h"

// The pictures live in a static library; naming their initialiser here makes every program
// that loads a picture link them in.
static void InitArtworkResources() {
    static const bool initialised = [] {
        Q_INIT_RESOURCE(artwork);
        return true;
    }();
    (void)initialised;
}

namespace tavrola {
namespace {

QString BitmapPath(int id) {
    switch (id) {
        case kBackgroundBitmap:
        case kExitReleasedBitmap:
        case kTextBarPressedBitmap:
        case kTextBarReleasedBitmap:
        case kExitPressedBitmap:
            return QStringLiteral(":/bitmaps/%1.png").arg(id);
        default:
            return {};
    }
}

}  // namespace

ImageRecord LoadBitmapResource(int id) {
    InitArtworkResources();
    ImageRecord record;
    const QString path = BitmapPath(id);
    if (path.isEmpty()) {
        return record;
    }
    const QImage loaded(path);
    if (loaded.isNull()) {
        return record;
    }
    record.depth = loaded.bitPlaneCount();
    const QImage pixels = loaded.convertToFormat(QImage::Format_RGB32);
    record.picture = PixelSurface(pixels.width(), pixels.height());
    for (int y = 0; y < pixels.height(); ++y) {
        std::memcpy(&record.picture.At(0, y), pixels.constScanLine(y),
                    static_cast<std::size_t>(pixels.width()) * sizeof(std::uint32_t));
    }
    return record;
}

void CopyImageToSurface(const ImageRecord& image, PixelSurface& surface) {
    CopyPictureAtOrigin(image.picture, surface);
}

QIcon LoadProgramIcon() {
    InitArtworkResources();
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icon/%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace tavrola
