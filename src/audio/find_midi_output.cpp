#include "audio/find_midi_output.h"

#include "audio/fluidsynth_output.h"
#include "audio/rtmidi_output.h"

namespace tavrola {

MidiOutputSurvey SurveyMidiOutputs() {
    MidiOutputSurvey survey;
    survey.soundfont = FirstUsableSoundFont(SoundFontCandidates());
    survey.synth_audio = survey.soundfont.has_value() && CanStartSynthAudio();
    if (!survey.soundfont || !survey.synth_audio) {
        survey.midi_ports = ListMidiOutputPorts();
    }
    return survey;
}

std::unique_ptr<MidiOutput> ChooseMidiOutput(const MidiOutputSurvey& survey) {
    if (survey.soundfont && survey.synth_audio) {
        return std::make_unique<FluidSynthOutput>(
            FluidSynthOptions{.soundfont_path = *survey.soundfont});
    }
    if (std::optional<std::string> port = FirstExternalMidiPort(survey.midi_ports)) {
        return std::make_unique<RtMidiOutput>(*port);
    }
    return nullptr;
}

std::unique_ptr<MidiOutput> FindMidiOutput() {
    return ChooseMidiOutput(SurveyMidiOutputs());
}

}  // namespace tavrola
