#pragma once

#include <array>

#include "core/playback/command_key.h"
#include "export/face/client_rect.h"
#include "export/face/resource_ids.h"

namespace tavrola {

// One image button of the main window: where it stands, what it says, the command it runs, its
// two pictures and its keyboard shortcut.
struct MainWindowButton {
    CommandKey key;
    ClientRect rect;
    // The labels carry their own spaces for their place on the bar.
    const char16_t* label;
    int released_bitmap;
    int pressed_bitmap;
    // A shortcut anywhere in the window, in QKeySequence's portable text.
    const char* shortcut;
    // What the tooltip calls the button, before the shortcut; also the name screen readers give
    // a button without a label.
    const char16_t* tip;
};

// In the order the window adds them, which makes each key its button's index: the round exit
// switch at the bottom right, then the five 115 x 32 text bars at x 415.
// clang-format off
inline constexpr std::array<MainWindowButton, kCommandKeyCount> kMainWindowButtons = {{
    {kExitButtonKey,       {480, 500, 540, 560}, u"",
     kExitReleasedBitmap,    kExitPressedBitmap,    "Ctrl+Q", u"終了"},
    {kDataButtonKey,       {415, 10, 530, 42},   u"　　データ　　",
     kTextBarReleasedBitmap, kTextBarPressedBitmap, "Ctrl+O", u"データ"},
    {kStartButtonKey,      {415, 60, 530, 92},   u"　　開　始　　",
     kTextBarReleasedBitmap, kTextBarPressedBitmap, "Space",  u"開始・停止"},
    {kInstrumentButtonKey, {415, 110, 530, 142}, u"　　音　色　　",
     kTextBarReleasedBitmap, kTextBarPressedBitmap, "Ctrl+I", u"音色"},
    {kAlgorithmButtonKey,  {415, 160, 530, 192}, u" アルゴリズム　　",
     kTextBarReleasedBitmap, kTextBarPressedBitmap, "Ctrl+L", u"アルゴリズム"},
    {kHelpButtonKey,       {415, 260, 530, 292}, u" 　　ヘルプ　　",
     kTextBarReleasedBitmap, kTextBarPressedBitmap, "F1",     u"ヘルプ"},
}};
// clang-format on

inline constexpr const MainWindowButton& MainWindowButtonFor(CommandKey key) {
    return kMainWindowButtons[static_cast<std::size_t>(key)];
}

}  // namespace tavrola
