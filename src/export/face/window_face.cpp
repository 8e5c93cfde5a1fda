#include "export/face/window_face.h"

#include <QPainter>
#include <QRect>
#include <utility>

#include "export/face/button_label.h"
#include "export/face/client_rect.h"
#include "export/face/designed_texts.h"
#include "export/face/main_window_buttons.h"
#include "export/face/resource_ids.h"

namespace tavrola {
namespace {

constexpr QPoint kLayerOrigin(5, 5);
constexpr int kFaceScale = 2;

QImage Wrap(const PixelSurface& surface) {
    return QImage(reinterpret_cast<const uchar*>(surface.pixels.data()), surface.width,
                  surface.height, surface.width * 4, QImage::Format_RGB32);
}

// What a label shows now: a voice value from the state, else its first words.
QString LabelText(const WindowFaceArt& art, const WindowFaceState& state, int id) {
    for (const VoiceLabel value : {VoiceLabel::kRightBase, VoiceLabel::kLeftBase,
                                   VoiceLabel::kRightPitch, VoiceLabel::kLeftPitch}) {
        if (VoiceLabelId(value) == id) {
            return QString::fromStdString(state.voice_labels[static_cast<std::size_t>(value)]);
        }
    }
    return art.label_texts[static_cast<std::size_t>(id - kFirstLabelId)];
}

}  // namespace

WindowFaceArt LoadWindowFaceArt() {
    WindowFaceArt art;
    art.background = LoadBitmapResource(kBackgroundBitmap);
    for (const MainWindowButton& button : kMainWindowButtons) {
        art.buttons[static_cast<std::size_t>(button.key)] =
            LoadBitmapResource(button.released_bitmap);
        art.button_labels[static_cast<std::size_t>(button.key)] = ShownButtonLabel(button);
    }
    art.stop_label = ShownDesignedText(kStopLabel);
    art.labels = LookOfMainWindowLabels();
    for (const LabelTemplate& entry : kMainWindowLabels) {
        art.label_texts[static_cast<std::size_t>(entry.id - kFirstLabelId)] = ShownLabelText(entry);
    }
    return art;
}

void PaintWindowFace(QPainter& painter, const WindowFaceArt& art, const WindowFaceState& state,
                     const PixelSurface& layer) {
    const QRect client(0, 0, kMainWindowClientWidth, kMainWindowClientHeight);
    painter.save();
    painter.setClipRect(client);
    painter.fillRect(client, Qt::black);
    // The pictures are drawn smoothly when scaled; the helix keeps its pixels whole.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const ImageRecord& background = art.background;
    painter.drawImage(QRect(0, 0, background.Width(), background.Height()),
                      Wrap(background.picture));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(kLayerOrigin, QSize(layer.width, layer.height)), Wrap(layer));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const MainWindowButton& button : kMainWindowButtons) {
        const auto key = static_cast<std::size_t>(button.key);
        const bool stop = button.key == kStartButtonKey && state.start_label == kStopLabel;
        const QString& label = stop ? art.stop_label : art.button_labels[key];
        painter.save();
        painter.translate(button.rect.left, button.rect.top);
        painter.setClipRect(QRect(0, 0, button.rect.Width(), button.rect.Height()));
        PaintButtonFace(painter, art.buttons[key], label,
                        state.enabled[key] ? kEnabledLabelColour : kDisabledLabelColour);
        painter.restore();
    }
    for (const LabelTemplate& entry : kMainWindowLabels) {
        PaintMainWindowLabel(painter, art.labels, entry.id - kFirstLabelId,
                             LabelText(art, state, entry.id));
    }
    painter.restore();
}

QImage WindowFaceImage(const WindowFaceArt& art, const WindowFaceState& state,
                       const PixelSurface& layer) {
    QImage image(kMainWindowClientWidth * kFaceScale, kMainWindowClientHeight * kFaceScale,
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(kFaceScale);
    QPainter painter(&image);
    PaintWindowFace(painter, art, state, layer);
    return image;
}

void WindowFaceRecorder::EnableImageButton(CommandKey key, bool enable) {
    if (key >= 0 && key < kCommandKeyCount) {
        state_.enabled[static_cast<std::size_t>(key)] = enable;
    }
}

void WindowFaceRecorder::SetVoiceLabel(VoiceLabel label, const std::string& text) {
    state_.voice_labels[static_cast<std::size_t>(label)] = text;
}

}  // namespace tavrola
