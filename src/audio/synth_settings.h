#pragma once

#include <fluidsynth.h>

#include <cstdint>
#include <memory>

namespace tavrola {

struct SynthSettingsDeleter {
    void operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
};
using SynthSettings = std::unique_ptr<fluid_settings_t, SynthSettingsDeleter>;

struct SynthDeleter {
    void operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
};
using SynthHandle = std::unique_ptr<fluid_synth_t, SynthDeleter>;

// How the built-in synthesiser sounds, the same live and in an exported file: its gain, and
// FluidSynth's own reverb and chorus, at the given sample rate. Null when FluidSynth has no
// memory for it.
SynthSettings MakeSynthSettings(double sample_rate, bool dynamic_sample_loading);

// Plays one short MIDI message (as MidiOutput packs it) on the synthesiser, live or offline.
// System messages mean nothing to it; results are not looked at.
void PlayShortMessage(fluid_synth_t* synth, std::uint32_t message);

}  // namespace tavrola
