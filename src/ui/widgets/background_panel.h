#pragma once

#include <QPointer>
#include <memory>

#include "core/helix/pixel_surface.h"
#include "export/face/client_rect.h"
#include "export/face/image_record.h"
#include "ui/widgets/offscreen_control.h"

namespace tavrola {

// The picture behind everything in the main window. Its surface is drawn once, at creation;
// the main window presents it with PresentOffScreen(panel.Surface(), control).
class BackgroundPanel {
  public:
    BackgroundPanel() = default;
    BackgroundPanel(const BackgroundPanel&) = delete;
    BackgroundPanel& operator=(const BackgroundPanel&) = delete;
    ~BackgroundPanel();

    const PixelSurface& Surface() const { return surface_; }
    COffScreenControl* Control() const { return control_; }
    const ImageRecord& BackgroundImage() const { return background_image_; }

    // Frees the surface; presenting it afterwards shows nothing new.
    void DestroyBackgroundPanel();

  private:
    friend std::unique_ptr<BackgroundPanel> CreateBackgroundPanel(const ClientRect& rect,
                                                                  COffScreenControl& control);

    PixelSurface surface_;
    QPointer<COffScreenControl> control_;
    ImageRecord background_image_;
};

// Sets the control up over rect and copies bitmap 129 into its surface at (0, 0). The surface
// is not filled first: beyond the picture it stays black.
std::unique_ptr<BackgroundPanel> CreateBackgroundPanel(const ClientRect& rect,
                                                       COffScreenControl& control);

}  // namespace tavrola
