#include "audio/find_midi_output.h"

#include <utility>

#include "audio/fluidsynth_output.h"
#include "audio/rtmidi_output.h"

namespace tavrola {

namespace {

bool ServerMayPlay(SoundServerAnswer server) {
    return server == SoundServerAnswer::kAnswered || server == SoundServerAnswer::kAwaited;
}

}  // namespace

MidiOutputSurvey SurveyMidiOutputs(SoundServerAnswer server) {
    MidiOutputSurvey survey;
    survey.soundfont = FirstUsableSoundFont(SoundFontCandidates());
    survey.server = server;
    survey.fallback_driver = survey.soundfont.has_value() &&
                             server == SoundServerAnswer::kRefused && CanStartFallbackDriver();
    if (!survey.soundfont || !(ServerMayPlay(server) || survey.fallback_driver)) {
        survey.midi_ports = ListMidiOutputPorts();
    }
    return survey;
}

std::unique_ptr<MidiOutput> ChooseMidiOutput(const MidiOutputSurvey& survey,
                                             std::function<void()> failed_to_load) {
    if (survey.soundfont && (ServerMayPlay(survey.server) || survey.fallback_driver)) {
        return std::make_unique<FluidSynthOutput>(
            FluidSynthOptions{.soundfont_path = *survey.soundfont,
                              .audio = ServerMayPlay(survey.server) ? SynthAudio::kPulseStream
                                                                    : SynthAudio::kFallbackDriver,
                              .failed_to_load = std::move(failed_to_load)});
    }
    if (std::optional<std::string> port = FirstExternalMidiPort(survey.midi_ports)) {
        return std::make_unique<RtMidiOutput>(*port);
    }
    return nullptr;
}

std::unique_ptr<MidiOutput> ChooseOutputWithoutServer(MidiOutputSurvey survey) {
    survey.server = SoundServerAnswer::kNoAnswer;
    survey.fallback_driver = false;
    survey.midi_ports = ListMidiOutputPorts();
    return ChooseMidiOutput(survey);
}

std::unique_ptr<MidiOutput> FindMidiOutput() {
    const SoundServerProbe probe;
    return ChooseMidiOutput(SurveyMidiOutputs(probe.Answer()));
}

}  // namespace tavrola
