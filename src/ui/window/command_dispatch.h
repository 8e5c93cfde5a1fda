#pragma once

namespace tavrola {

// Runs the command of the image button that was released (or dragged off), by its CommandKey;
// any other key does nothing. Every command ends by
// presenting all buttons, since commands change labels and enabled states without presenting.
void DispatchCommand(unsigned key);

}  // namespace tavrola
