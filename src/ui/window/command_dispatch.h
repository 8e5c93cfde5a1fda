#pragma once

#include "core/playback/command_key.h"

namespace tavrola {

class CTavrolaAppDlg;

// Runs on `window` the command of the image button that was released (or dragged off), by its
// key; any other key only presents. Every command ends by presenting all buttons, since
// commands change labels and enabled states without presenting. While an export runs only the
// quit gets through; it cancels the export.
void DispatchCommand(CTavrolaAppDlg& window, CommandKey key);

}  // namespace tavrola
