#pragma once

#include <array>

#include "core/playback/command_key.h"
#include "ui/widgets/client_rect.h"
#include "ui/widgets/resource_ids.h"

namespace tavrola {

// One image button of the main window: where it stands, what it says, the command it runs and
// its two pictures.
struct MainWindowButton {
    CommandKey key;
    ClientRect rect;
    // The labels carry their own spaces for their place on the bar.
    const char16_t* label;
    int released_bitmap;
    int pressed_bitmap;
};

// In the order the window adds them, which makes each key its button's index: the round exit
// switch at the bottom right, then the five 115 x 32 text bars at x 415.
inline constexpr std::array<MainWindowButton, kCommandKeyCount> kMainWindowButtons = {{
    {kExitButtonKey, {480, 500, 540, 560}, u"", kExitReleasedBitmap, kExitPressedBitmap},
    {kDataButtonKey,
     {415, 10, 530, 42},
     u"　　データ　　",
     kTextBarReleasedBitmap,
     kTextBarPressedBitmap},
    {kStartButtonKey,
     {415, 60, 530, 92},
     u"　　開　始　　",
     kTextBarReleasedBitmap,
     kTextBarPressedBitmap},
    {kInstrumentButtonKey,
     {415, 110, 530, 142},
     u"　　音　色　　",
     kTextBarReleasedBitmap,
     kTextBarPressedBitmap},
    {kAlgorithmButtonKey,
     {415, 160, 530, 192},
     u" アルゴリズム　　",
     kTextBarReleasedBitmap,
     kTextBarPressedBitmap},
    {kHelpButtonKey,
     {415, 260, 530, 292},
     u" 　　ヘルプ　　",
     kTextBarReleasedBitmap,
     kTextBarPressedBitmap},
}};

inline constexpr const MainWindowButton& MainWindowButtonFor(CommandKey key) {
    return kMainWindowButtons[static_cast<std::size_t>(key)];
}

}  // namespace tavrola
