#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <string>

#include "core/helix/pixel_surface.h"
#include "core/playback/command_key.h"
#include "core/playback/playback_clock.h"
#include "export/face/image_record.h"
#include "export/face/window_labels.h"

class QPainter;

namespace tavrola {

// What the window's face shows at a moment, besides the helix: each button's enabled state and
// the Start button's label, and what the four voice labels read.
struct WindowFaceState {
    std::array<bool, kCommandKeyCount> enabled{true, true, true, true, true, true};
    std::string start_label = kStartLabel;
    std::array<std::string, 4> voice_labels{"-", "-", "-", "-"};  // in VoiceLabel order
};

// The pictures, fonts, places and words the face is painted with: the window's own, taken on
// the GUI thread (the label font is measured there, the words read in the installed language)
// and then read from any thread.
struct WindowFaceArt {
    ImageRecord background;
    std::array<ImageRecord, kCommandKeyCount> buttons;  // each button's released picture
    std::array<QString, kCommandKeyCount> button_labels;
    QString stop_label;  // the Start button's label while playing
    MainWindowLabelLook labels;
    std::array<QString, 10> label_texts;  // what each label says before anything plays
};
WindowFaceArt LoadWindowFaceArt();

// Paints the face in the window's client coordinates, at whatever scale the painter has: the
// background picture, the helix layer's pixels as they are (a larger scale doubles them, never
// smooths them), the six buttons as they look unpressed and the ten labels, each by the same
// code the window's own controls draw themselves with.
void PaintWindowFace(QPainter& painter, const WindowFaceArt& art, const WindowFaceState& state,
                     const PixelSurface& layer);

// The face at twice the window's client size, device-pixel ratio 2, as a video frame.
QImage WindowFaceImage(const WindowFaceArt& art, const WindowFaceState& state,
                       const PixelSurface& layer);

// The face's state as playback changes it: a performer's view where nobody watches a window.
class WindowFaceRecorder final : public PlaybackView {
  public:
    explicit WindowFaceRecorder(WindowFaceState state = {}) : state_(std::move(state)) {}
    const WindowFaceState& State() const { return state_; }

    void EnableImageButton(CommandKey key, bool enable) override;
    void SetStartButtonLabel(const std::string& label) override { state_.start_label = label; }
    void SetVoiceLabel(VoiceLabel label, const std::string& text) override;
    void StartPlaybackTimer() override {}
    void StopPlaybackTimer() override {}
    void PresentLayer() override {}
    void PresentImageButtons() override {}

  private:
    WindowFaceState state_;
};

}  // namespace tavrola
