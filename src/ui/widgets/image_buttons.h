#pragma once

#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "core/helix/pixel_surface.h"
#include "export/face/client_rect.h"
#include "export/face/image_record.h"
#include "ui/widgets/offscreen_control.h"

namespace tavrola {

// One picture button: two images, a label over them, and the surface they are drawn into.
struct ImageButtonEntry {
    bool pressed = false;
    PixelSurface surface;
    // The control is the main window's; it may be gone before the set is.
    QPointer<COffScreenControl> control;
    QString label;
    ImageRecord released_image;
    ImageRecord pressed_image;
};

// The main window's buttons. A button's key is its index in the table, so the mouse callbacks
// find their entry by key.
class ImageButtonSet {
  public:
    static constexpr int kCapacity = 8;
    using KeyHook = std::function<void(int key)>;

    ImageButtonSet() = default;
    ImageButtonSet(const ImageButtonSet&) = delete;
    ImageButtonSet& operator=(const ImageButtonSet&) = delete;
    // Leaves no callback behind that could reach the set once it is gone.
    ~ImageButtonSet();

    // Sets the control up as the next button, loads its images, keeps the label (which, without its
    // spaces, also names the button for screen readers), sets the key and draws it without
    // presenting. A ninth button is refused.
    void AddImageButton(const ClientRect& rect, const QString& label, int released_id,
                        int pressed_id, int key, COffScreenControl& control);

    // Draws entry index into its surface: white, its current image at (0, 0), then the label in
    // the colour of the control's enabled state.
    void RenderImageButton(int index);
    void PresentImageButtons();

    // Enables or disables the first button with this key and redraws it, without presenting.
    void EnableImageButton(int key, bool enable);
    // Relabels the first button with the Start key and redraws it, without presenting.
    void SetStartButtonLabel(const QString& label);
    // Frees every button's surface.
    void DestroyImageButtons();

    // The callbacks of every button's control. A press the control cancels (its button was
    // disabled or its window blocked while held) shows released and runs no hook.
    void OnImageButtonPress(int x, int y, int key);
    void OnImageButtonRelease(int x, int y, int key);
    void OnImageButtonCancel(int x, int y, int key);

    // Run after every press and every release (the leave included) with the button's key.
    void SetPressHook(KeyHook hook) { press_hook_ = std::move(hook); }
    void SetReleaseHook(KeyHook hook) { release_hook_ = std::move(hook); }

    int Count() const { return count_; }
    // Whether the left button is held on one of the buttons.
    bool AnyPressed() const;
    const ImageButtonEntry& Entry(int index) const { return entries_.at(index); }

  private:
    // The first button whose control carries the key; -1 when none does.
    int FirstIndexWithKey(int key) const;
    // Relabels the first button with the key and redraws it, without presenting.
    void SetButtonLabel(int key, const QString& label);
    // Shows the button released at once; false when the key is no button of the table.
    bool ShowReleased(int key);
    bool HoldsButton(int index) const { return index >= 0 && index < count_; }

    std::array<ImageButtonEntry, kCapacity> entries_;
    int count_ = 0;
    KeyHook press_hook_;
    KeyHook release_hook_;
};

// Makes the set with its first button; both hooks start as doing nothing.
std::unique_ptr<ImageButtonSet> CreateImageButtonSet(const ClientRect& rect,
                                                     COffScreenControl& control,
                                                     const QString& label, int released_id,
                                                     int pressed_id, int key);

}  // namespace tavrola
