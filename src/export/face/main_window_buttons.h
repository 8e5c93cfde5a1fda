#pragma once

#include <array>

#include "core/playback/command_key.h"
#include "export/face/client_rect.h"
#include "export/face/resource_ids.h"

namespace tavrola {

// One image button of the main window: where it stands, the command it runs, its two pictures
// and its keyboard shortcut. What it says is in the installed language (button_label.h).
struct MainWindowButton {
    CommandKey key;
    ClientRect rect;
    int released_bitmap;
    int pressed_bitmap;
    // A shortcut anywhere in the window, in QKeySequence's portable text.
    const char* shortcut;
};

// In the order the window adds them, which makes each key its button's index: the round exit
// switch at the bottom right, then the five 115 x 32 text bars at x 415.
// clang-format off
inline constexpr std::array<MainWindowButton, kCommandKeyCount> kMainWindowButtons = {{
    {kExitButtonKey,       {480, 500, 540, 560}, kExitReleasedBitmap,    kExitPressedBitmap,    "Ctrl+Q"},
    {kDataButtonKey,       {415, 10, 530, 42},   kTextBarReleasedBitmap, kTextBarPressedBitmap, "Ctrl+O"},
    {kStartButtonKey,      {415, 60, 530, 92},   kTextBarReleasedBitmap, kTextBarPressedBitmap, "Space"},
    {kInstrumentButtonKey, {415, 110, 530, 142}, kTextBarReleasedBitmap, kTextBarPressedBitmap, "Ctrl+I"},
    {kAlgorithmButtonKey,  {415, 160, 530, 192}, kTextBarReleasedBitmap, kTextBarPressedBitmap, "Ctrl+L"},
    {kHelpButtonKey,       {415, 260, 530, 292}, kTextBarReleasedBitmap, kTextBarPressedBitmap, "F1"},
}};
// clang-format on

inline constexpr const MainWindowButton& MainWindowButtonFor(CommandKey key) {
    return kMainWindowButtons[static_cast<std::size_t>(key)];
}

}  // namespace tavrola
