#pragma once

#include <memory>

#include "audio/find_midi_output.h"
#include "audio/sound_server_probe.h"

namespace tavrola {

class CTavrolaAppDlg;

// Where the sound server took the start-up's connection but has yet to answer, the window
// starts with the synthesiser's PulseAudio stream and learns the answer on its own thread,
// within the probe's limit. A server that answers changes nothing. One that does not leaves the
// stream waiting for it (it plays as soon as the server answers) and an external MIDI port takes
// over where there is one; where there is none, the window says that no device can be used.
// Does nothing when `survey` did not choose the stream with its answer still awaited.
void AwaitSoundServer(CTavrolaAppDlg& window, std::unique_ptr<SoundServerProbe> probe,
                      MidiOutputSurvey survey);

}  // namespace tavrola
