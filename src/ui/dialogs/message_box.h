#pragma once

namespace tavrola {

// Routes the program's failure texts to a modal warning box over the active window.
void InstallMessageBox();

}  // namespace tavrola
