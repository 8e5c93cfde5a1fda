#include "ui/widgets/background_panel.h"

#include "export/face/resource_ids.h"

namespace tavrola {

BackgroundPanel::~BackgroundPanel() {
    if (control_) {
        control_->ClearCallbacks();
    }
}

std::unique_ptr<BackgroundPanel> CreateBackgroundPanel(const ClientRect& rect,
                                                       COffScreenControl& control) {
    auto panel = std::make_unique<BackgroundPanel>();
    SetUpOffScreen(
        control, rect, [](int, int, int) {}, [](int, int, int) {}, panel->surface_);
    panel->control_ = &control;
    panel->background_image_ = LoadBitmapResource(kBackgroundBitmap);
    CopyImageToSurface(panel->background_image_, panel->surface_);
    return panel;
}

void BackgroundPanel::DestroyBackgroundPanel() {
    surface_ = PixelSurface();
}

}  // namespace tavrola
