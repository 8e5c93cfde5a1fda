#include "audio/synth_settings.h"

#include "core/music/midi_output.h"

namespace tavrola {

SynthSettings MakeSynthSettings(double sample_rate, bool dynamic_sample_loading) {
    // Warnings and errors still reach standard error; which driver plays is not news.
    static const bool quiet_info = [] {
        fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
        return true;
    }();
    static_cast<void>(quiet_info);
    SynthSettings settings(new_fluid_settings());
    if (!settings) {
        return settings;
    }
    fluid_settings_setnum(settings.get(), "synth.sample-rate", sample_rate);
    fluid_settings_setnum(settings.get(), "synth.gain", kSynthGain);
    fluid_settings_setint(settings.get(), "synth.reverb.active", 1);
    fluid_settings_setint(settings.get(), "synth.chorus.active", 1);
    fluid_settings_setint(settings.get(), "synth.dynamic-sample-loading",
                          dynamic_sample_loading ? 1 : 0);
    // Pinning up to 150 MB of samples in RAM is not a desktop program's business.
    fluid_settings_setint(settings.get(), "synth.lock-memory", 0);
    return settings;
}

void PlayShortMessage(fluid_synth_t* synth, std::uint32_t message) {
    const ShortMessage unpacked = UnpackShortMessage(message);
    const int channel = unpacked.Channel();
    const int data1 = unpacked.data1;
    const int data2 = unpacked.data2;
    // FluidSynth refuses data bytes above 127 on its own.
    switch (unpacked.Kind()) {
        case kNoteOffStatus:
            fluid_synth_noteoff(synth, channel, data1);
            break;
        case kNoteOnStatus:
            fluid_synth_noteon(synth, channel, data1, data2);
            break;
        case kKeyPressureStatus:
            fluid_synth_key_pressure(synth, channel, data1, data2);
            break;
        case kControllerStatus:
            fluid_synth_cc(synth, channel, data1, data2);
            break;
        case kProgramChangeStatus:
            fluid_synth_program_change(synth, channel, data1);
            break;
        case kChannelPressureStatus:
            fluid_synth_channel_pressure(synth, channel, data1);
            break;
        case kPitchBendStatus:
            fluid_synth_pitch_bend(synth, channel, (data1 & 0x7f) | ((data2 & 0x7f) << 7));
            break;
        default:
            break;
    }
}

}  // namespace tavrola
