#include "audio/synth_settings.h"

#include "audio/fluidsynth_output.h"

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

}  // namespace tavrola
