#include "ui/widgets/image_buttons.h"

#include <utility>

#include "core/playback/command_key.h"
#include "export/face/button_label.h"

namespace tavrola {
namespace {

// What a screen reader calls a button: its label without the spaces that place it on the bar.
void NameForScreenReaders(COffScreenControl& control, const QString& label) {
    if (label.isEmpty()) {
        return;
    }
    QString name = label;
    name.remove(u' ').remove(u'\u3000');
    control.setAccessibleName(name);
}

}  // namespace

ImageButtonSet::~ImageButtonSet() {
    for (int i = 0; i < count_; ++i) {
        if (COffScreenControl* control = entries_[static_cast<std::size_t>(i)].control) {
            control->ClearCallbacks();
        }
    }
}

std::unique_ptr<ImageButtonSet> CreateImageButtonSet(const ClientRect& rect,
                                                     COffScreenControl& control,
                                                     const QString& label, int released_id,
                                                     int pressed_id, int key) {
    auto set = std::make_unique<ImageButtonSet>();
    set->SetReleaseHook([](int) {});
    set->SetPressHook([](int) {});
    set->AddImageButton(rect, label, released_id, pressed_id, key, control);
    return set;
}

void ImageButtonSet::AddImageButton(const ClientRect& rect, const QString& label, int released_id,
                                    int pressed_id, int key, COffScreenControl& control) {
    const int n = count_;
    if (n >= kCapacity) {
        return;
    }
    ImageButtonEntry& entry = entries_[static_cast<std::size_t>(n)];
    SetUpOffScreen(
        control, rect, [this](int x, int y, int key) { OnImageButtonPress(x, y, key); },
        [this](int x, int y, int key) { OnImageButtonRelease(x, y, key); }, entry.surface);
    control.SetCancelCallback([this](int x, int y, int key) { OnImageButtonCancel(x, y, key); });
    entry.released_image = LoadBitmapResource(released_id);
    entry.pressed_image = LoadBitmapResource(pressed_id);
    entry.label = label;
    entry.control = &control;
    NameForScreenReaders(control, label);
    control.SetKey(key);
    // Rendering looks at the entry only, so it may run before the count takes the button in.
    RenderImageButton(n);
    entry.pressed = false;
    count_ = n + 1;
}

void ImageButtonSet::RenderImageButton(int index) {
    if (index < 0 || index >= kCapacity) {
        return;
    }
    ImageButtonEntry& entry = entries_[static_cast<std::size_t>(index)];
    const bool enabled = entry.control && entry.control->isEnabled();
    DrawButtonFace(entry.surface, entry.pressed ? entry.pressed_image : entry.released_image,
                   entry.label, enabled ? kEnabledLabelColour : kDisabledLabelColour);
}

void ImageButtonSet::PresentImageButtons() {
    for (int i = 0; i < count_; ++i) {
        ImageButtonEntry& entry = entries_[static_cast<std::size_t>(i)];
        if (entry.control) {
            PresentOffScreen(entry.surface, *entry.control);
        }
    }
}

int ImageButtonSet::FirstIndexWithKey(int key) const {
    for (int i = 0; i < count_; ++i) {
        const ImageButtonEntry& entry = entries_[static_cast<std::size_t>(i)];
        if (entry.control && entry.control->Key() == key) {
            return i;
        }
    }
    return -1;
}

void ImageButtonSet::EnableImageButton(int key, bool enable) {
    if (const int index = FirstIndexWithKey(key); index >= 0) {
        entries_[static_cast<std::size_t>(index)].control->setEnabled(enable);
        RenderImageButton(index);
    }
}

void ImageButtonSet::SetStartButtonLabel(const QString& label) {
    SetButtonLabel(kStartButtonKey, label);
}

void ImageButtonSet::SetButtonLabel(int key, const QString& label) {
    if (const int index = FirstIndexWithKey(key); index >= 0) {
        ImageButtonEntry& entry = entries_[static_cast<std::size_t>(index)];
        entry.label = label;
        NameForScreenReaders(*entry.control, label);
        RenderImageButton(index);
    }
}

bool ImageButtonSet::AnyPressed() const {
    for (int i = 0; i < count_; ++i) {
        const ImageButtonEntry& entry = entries_[static_cast<std::size_t>(i)];
        if (entry.control && entry.control->Pressed()) {
            return true;
        }
    }
    return false;
}

void ImageButtonSet::DestroyImageButtons() {
    for (int i = 0; i < count_; ++i) {
        entries_[static_cast<std::size_t>(i)].surface = PixelSurface();
    }
}

void ImageButtonSet::OnImageButtonPress(int /*x*/, int /*y*/, int key) {
    // A control without a button's key (or one the table does not hold) changes nothing.
    if (!HoldsButton(key)) {
        return;
    }
    ImageButtonEntry& entry = entries_[static_cast<std::size_t>(key)];
    entry.pressed = true;
    RenderImageButton(key);
    if (entry.control) {
        PresentOffScreen(entry.surface, *entry.control);
    }
    if (press_hook_) {
        const KeyHook hook = press_hook_;
        hook(key);
    }
}

bool ImageButtonSet::ShowReleased(int key) {
    if (!HoldsButton(key)) {
        return false;
    }
    ImageButtonEntry& entry = entries_[static_cast<std::size_t>(key)];
    entry.pressed = false;
    RenderImageButton(key);
    if (entry.control) {
        PresentOffScreen(entry.surface, *entry.control);
    }
    return true;
}

void ImageButtonSet::OnImageButtonCancel(int /*x*/, int /*y*/, int key) {
    ShowReleased(key);
}

void ImageButtonSet::OnImageButtonRelease(int /*x*/, int /*y*/, int key) {
    if (!ShowReleased(key)) {
        return;
    }
    // Every release runs the command, the drag-off included; the button already shows released.
    // The hook may open a modal dialog; nothing of the set is touched after it.
    if (release_hook_) {
        const KeyHook hook = release_hook_;
        hook(key);
    }
}

}  // namespace tavrola
