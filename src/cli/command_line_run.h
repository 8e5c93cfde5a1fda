#pragma once

#include "core/services/ui_language.h"

namespace tavrola {

// The program run as a command line (tavrola --export ... INPUT): parses the arguments, reads
// the input, plays it on a performer without a window and writes the export, with progress and
// failures on standard error. Needs no display and no sound server. Gives the exit status. Its
// own words are English; a video shows the window's face in `language`, as the window would.
int RunCommandLine(int argc, char** argv, UiLanguage language);

}  // namespace tavrola
