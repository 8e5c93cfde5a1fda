#pragma once

namespace tavrola {

// Key of the image button that was released (or dragged off): 0 quit, 1 Data, 2 Start/Stop,
// 3 Instrument, 4 Algorithm, 5 Help; any other key does nothing. Every command ends by
// presenting all buttons, since commands change labels and enabled states without presenting.
void DispatchCommand(unsigned key);

}  // namespace tavrola
