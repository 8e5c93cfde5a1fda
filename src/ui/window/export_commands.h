#pragma once

class QMenu;

namespace tavrola {

class CTavrolaAppDlg;

// The exports' shortcuts anywhere in the window; their items in the context menu name them.
inline constexpr const char* kMidiExportShortcut = "Ctrl+E";
inline constexpr const char* kAudioExportShortcut = "Ctrl+Shift+E";
inline constexpr const char* kVideoExportShortcut = "Ctrl+Alt+E";

// Export is offered while a sequence of at least one base is loaded and nothing plays or is
// being exported.
bool CanExport(CTavrolaAppDlg& window);
// A video also needs Debian's ffmpeg program on PATH.
bool VideoExportAvailable();

// The context menu's two exports: each asks where to save, then writes exactly what Start
// would play now, leaving the performance, the helix and the random series as they were.
// What cannot be written there is refused at once; the rest runs beside the window. Failures
// show the program's warning box with a plain sentence.
void ExportMidiFile(CTavrolaAppDlg& window);
void ExportAudioFile(CTavrolaAppDlg& window);
// The window's face while playing, frame by frame, with the sound, as MP4 or WebM.
void ExportVideoFile(CTavrolaAppDlg& window);

// The three export items of the window's context menu, each showing its shortcut (the window's
// own shortcuts do the work) and offered as CanExport says; the video item says in its tooltip
// what to install where the encoder is missing.
void AddExportItems(QMenu& menu, CTavrolaAppDlg& window);

}  // namespace tavrola
