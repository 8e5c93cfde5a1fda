#pragma once

class QWidget;

namespace tavrola {

class CTavrolaAppDlg;

// Closes every menu and modal window open over the program's window, innermost first, as if the
// user had dismissed each; their nested runs end as they close.
void CloseModalWindows(const QWidget* program_window);

// Ends the window's run as its exit switch does, whatever is open over it: the modal windows
// and menus are closed first; an export under way is cancelled and its file removed; playback
// and the synthesiser stop as the window goes.
void EndRunAsTheExitSwitchDoes(CTavrolaAppDlg& window);

}  // namespace tavrola
