// Draws the program's pictures into resources/, or checks that the committed ones are exactly
// what this program draws.
//
//   tavrola_artwork OUTPUT_DIR          write every picture
//   tavrola_artwork --check RESOURCES   compare pixel by pixel; exit 1 on any difference

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "artwork.h"

namespace tavrola::artwork {

std::vector<ArtworkFile> DrawAllArtwork() {
    std::vector<ArtworkFile> files = {
        {QStringLiteral("bitmaps/background.png"), DrawBackground()},
        {QStringLiteral("bitmaps/exit_released.png"), DrawExitButton(false)},
        {QStringLiteral("bitmaps/exit_lit.png"), DrawExitButton(true)},
        {QStringLiteral("bitmaps/text_bar_raised.png"), DrawTextBar(false)},
        {QStringLiteral("bitmaps/text_bar_sunk.png"), DrawTextBar(true)},
    };
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        files.push_back({QStringLiteral("icon/tavrola-%1.png").arg(size), DrawIcon(size)});
    }
    return files;
}

}  // namespace tavrola::artwork

namespace {

int Write(const QDir& root) {
    for (const auto& file : tavrola::artwork::DrawAllArtwork()) {
        const QString path = root.filePath(file.path);
        QDir().mkpath(QFileInfo(path).path());
        if (!file.image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s %dx%d\n", qPrintable(path), file.image.width(), file.image.height());
    }
    return 0;
}

int Check(const QDir& root) {
    int differences = 0;
    for (const auto& file : tavrola::artwork::DrawAllArtwork()) {
        const QString path = root.filePath(file.path);
        const QImage committed = QImage(path).convertToFormat(QImage::Format_ARGB32);
        const QImage drawn = file.image.convertToFormat(QImage::Format_ARGB32);
        if (committed != drawn) {
            std::fprintf(stderr, "%s differs from what the generator draws\n", qPrintable(path));
            ++differences;
        }
    }
    return differences == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() == 3 && arguments[1] == QStringLiteral("--check")) {
        return Check(QDir(arguments[2]));
    }
    if (arguments.size() == 2) {
        return Write(QDir(arguments[1]));
    }
    std::fprintf(stderr, "usage: tavrola_artwork OUTPUT_DIR | --check RESOURCES_DIR\n");
    return 2;
}
