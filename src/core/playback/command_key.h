#pragma once

namespace tavrola {

// The six commands of the main window's image buttons. A button's key is its index in the
// image-button table, so these are also the order in which the window adds its buttons.
enum CommandKey : int {
    kExitButtonKey = 0,
    kDataButtonKey = 1,
    kStartButtonKey = 2,
    kInstrumentButtonKey = 3,
    kAlgorithmButtonKey = 4,
    kHelpButtonKey = 5,
};

inline constexpr int kCommandKeyCount = 6;

}  // namespace tavrola
