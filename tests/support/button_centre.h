#pragma once

#include "export/face/main_window_buttons.h"

namespace tavrola::testing {

// A point in the main window's client pixels; the window stands at (0, 0) of a desktop without
// a window manager, so it is also where xdotool clicks.
struct ScreenPoint {
    int x;
    int y;
};

// Where a test clicks to reach one of the main window's buttons: its centre in client pixels,
// read from the window's own table, as any point type built from {x, y} (QPoint, or a plain
// struct where Qt is not linked).
template <class Point>
constexpr Point ButtonCentre(CommandKey key) {
    const ClientRect& rect = MainWindowButtonFor(key).rect;
    return Point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Clicks the button on a virtual desktop (anything with Click(x, y), such as VirtualDesktop).
template <class Desktop>
void ClickButton(const Desktop& desktop, CommandKey key) {
    const auto at = ButtonCentre<ScreenPoint>(key);
    desktop.Click(at.x, at.y);
}

}  // namespace tavrola::testing
