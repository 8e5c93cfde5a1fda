#pragma once

#include <functional>

#include "core/playback/command_key.h"

namespace tavrola {

class CDataDlg;
class CTavrolaAppDlg;

// Runs on `window` the command of the image button that was released (or dragged off), by its
// key; any other key only presents. Every command ends by presenting all buttons, since
// commands change labels and enabled states without presenting. While an export runs only the
// quit gets through; it cancels the export.
void DispatchCommand(CTavrolaAppDlg& window, CommandKey key);

// The Data command (key 1) without the final present: the dialog with the window's sequence,
// and whatever closes it, the sequence taken back and installed. `once_shown`, when given, acts
// in the dialog once it is on the screen, as a drop on the window does.
void RunDataCommand(CTavrolaAppDlg& window, const std::function<void(CDataDlg&)>& once_shown = {});

}  // namespace tavrola
