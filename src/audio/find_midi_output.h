#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/music/midi_output.h"

namespace tavrola {

// What this machine offers for sound.
struct MidiOutputSurvey {
    std::optional<std::string> soundfont;  // the SoundFont the built-in synthesiser would use
    bool synth_audio = false;              // whether one of its audio drivers starts
    std::vector<std::string> midi_ports;   // the ALSA sequencer's output ports
};

// Looks at the SoundFonts, the audio output and the MIDI ports. The ports are listed only when
// the built-in synthesiser cannot run.
MidiOutputSurvey SurveyMidiOutputs();

// The built-in synthesiser when it has a SoundFont and an audio output, else the first
// external MIDI port; null when neither can run. The result is not opened yet.
std::unique_ptr<MidiOutput> ChooseMidiOutput(const MidiOutputSurvey& survey);

// ChooseMidiOutput on this machine's survey.
std::unique_ptr<MidiOutput> FindMidiOutput();

}  // namespace tavrola
