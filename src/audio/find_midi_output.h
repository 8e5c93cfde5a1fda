#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/sound_server_probe.h"
#include "core/music/midi_output.h"

namespace tavrola {

// What this machine offers for sound, as far as it can be known without waiting.
struct MidiOutputSurvey {
    std::optional<std::string> soundfont;  // the SoundFont the built-in synthesiser would use
    SoundServerAnswer server = SoundServerAnswer::kRefused;  // what the sound server said so far
    bool fallback_driver = false;         // one of FluidSynth's own audio drivers starts
    std::vector<std::string> midi_ports;  // the ALSA sequencer's output ports
};

// Looks at the SoundFonts, takes what the sound server said so far and, where the built-in
// synthesiser cannot play through the server, tries FluidSynth's own drivers (only where the
// server refused: one that took the connection may still answer) and lists the MIDI ports.
// Never waits for the server.
MidiOutputSurvey SurveyMidiOutputs(SoundServerAnswer server);

// The built-in synthesiser when it has a SoundFont and an audio output (the server's, while its
// answer is awaited too), else the first external MIDI port; null when neither can run. The
// result is not opened yet. The synthesiser loads its SoundFont beside the caller once opened:
// should that fail, it calls `failed_to_load` on the loading thread and stays silent.
std::unique_ptr<MidiOutput> ChooseMidiOutput(const MidiOutputSurvey& survey,
                                             std::function<void()> failed_to_load = {});

// What plays instead of the synthesiser when the server took the start-up's connection but did
// not answer: the first external MIDI port, not opened yet; null when there is none. FluidSynth's
// own drivers are not tried then: the desktop's ALSA default leads to the same stalled server.
std::unique_ptr<MidiOutput> ChooseOutputWithoutServer(MidiOutputSurvey survey);

// ChooseMidiOutput on this machine's survey, with the sound server's answer as it stands at once.
std::unique_ptr<MidiOutput> FindMidiOutput();

}  // namespace tavrola
