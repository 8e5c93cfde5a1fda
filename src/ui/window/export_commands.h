#pragma once

namespace tavrola {

class CTavrolaAppDlg;

// The exports' items in the window's context menu and their shortcuts anywhere in the window.
inline constexpr const char* kMidiExportItem = "MIDI ファイルに書き出す(&M)...";
inline constexpr const char* kMidiExportShortcut = "Ctrl+E";
inline constexpr const char* kAudioExportItem = "音声ファイルに書き出す(&W)...";
inline constexpr const char* kAudioExportShortcut = "Ctrl+Shift+E";

// Export is offered while a sequence of at least one base is loaded and nothing plays or is
// being exported.
bool CanExport(CTavrolaAppDlg& window);

// The context menu's two exports: each asks where to save, then writes exactly what Start
// would play now, leaving the performance, the helix and the random series as they were.
// What cannot be written there is refused at once; the rest runs beside the window. Failures
// show the program's warning box with a plain sentence.
void ExportMidiFile(CTavrolaAppDlg& window);
void ExportAudioFile(CTavrolaAppDlg& window);

}  // namespace tavrola
