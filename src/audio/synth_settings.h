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

// The live synthesiser's sample rate: 48 kHz is what PipeWire and most desktop sound servers
// run at, so nothing is resampled on the way out.
inline constexpr double kSynthSampleRate = 48000.0;
// Headroom for any instrument the user picks: at this gain two velocity-127 voices of the
// same program, in unison or an octave apart, peak at most 0.92 of full scale with FluidR3_GM
// (its synth leads are the loudest), its pads at 0.63; the default pair 98/91 peaks at 0.25.
inline constexpr double kSynthGain = 0.12;

// How the built-in synthesiser sounds, the same live and in an exported file: its gain, and
// FluidSynth's own reverb and chorus, at the given sample rate. Null when FluidSynth has no
// memory for it.
SynthSettings MakeSynthSettings(double sample_rate, bool dynamic_sample_loading);

// Plays one short MIDI message (as MidiOutput packs it) on the synthesiser, live or offline.
// System messages mean nothing to it; results are not looked at.
void PlayShortMessage(fluid_synth_t* synth, std::uint32_t message);

}  // namespace tavrola
