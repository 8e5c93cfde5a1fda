#include "core/playback/playback_clock.h"

#include <optional>

#include "core/helix/helix_geometry.h"
#include "core/music/pitch_selection.h"
#include "core/sequence/base_sequence.h"

namespace tavrola {

namespace {

// One voice's share of a played pair. Returns whether the voice sounds a note now; a base
// without any candidate slot rests, keeping the voice's previous slot and last note.
bool PlayVoice(PlaybackContext& context, BaseCode base, std::int32_t channel,
               std::int32_t note_offset, std::int32_t& previous_slot, std::int32_t& last_note) {
    context.midi.SendNoteOff(last_note, channel);
    const std::optional<std::int32_t> slot = ChoosePitchSlot(context.state, base, previous_slot);
    if (!slot) {
        return false;
    }
    previous_slot = *slot;
    last_note = *slot + note_offset;
    context.midi.SendNoteOn(last_note, channel);
    return true;
}

std::string PitchLabel(bool sounding, std::int32_t last_note) {
    return sounding ? PitchName(last_note) : std::string(kNoPitchLabel);
}

void UpdateVoiceLabels(PlaybackContext& context, BaseCode base, bool right_sounds,
                       bool left_sounds) {
    context.view.SetVoiceLabel(VoiceLabel::kRightBase, BaseLetter(base));
    context.view.SetVoiceLabel(VoiceLabel::kLeftBase, BaseLetter(ComplementBase(base)));
    context.view.SetVoiceLabel(VoiceLabel::kRightPitch,
                               PitchLabel(right_sounds, context.state.last_right_note));
    context.view.SetVoiceLabel(VoiceLabel::kLeftPitch,
                               PitchLabel(left_sounds, context.state.last_left_note));
}

void PlayPair(PlaybackContext& context) {
    PerformanceState& state = context.state;
    const BaseCode base = (*state.sequence)[static_cast<std::size_t>(state.play_position)];
    bool right_sounds = false;
    bool left_sounds = false;
    if (state.right_instrument != kSilentInstrument) {
        right_sounds = PlayVoice(context, base, kRightVoiceChannel, kRightNoteOffset,
                                 state.previous_right_slot, state.last_right_note);
    }
    if (state.left_instrument != kSilentInstrument) {
        left_sounds = PlayVoice(context, ComplementBase(base), kLeftVoiceChannel, kLeftNoteOffset,
                                state.previous_left_slot, state.last_left_note);
    }
    UpdateVoiceLabels(context, base, right_sounds, left_sounds);
    state.play_position += 1;
    state.helix_phase += kPairStep;
}

}  // namespace

double TickStep(TimingMode timing_mode, ProgramRandom& random) {
    switch (timing_mode) {
        case TimingMode::kEighth:
            // Eighth notes: always the long step, but the tick still takes its draw so the
            // shared series (and with it the sphere noise) stays the designed one.
            random.Next();
            return kLongTickStep;
        case TimingMode::kMixed:
            return random.Next() % 2 == 0 ? kShortTickStep : kLongTickStep;
        case TimingMode::kQuarter:
            break;
    }
    return kShortTickStep;
}

void TogglePlayback(PlaybackContext& context) {
    if (!context.state.playing) {
        StartPlayback(context);
    } else {
        StopPlayback(context);
    }
}

void StartPlayback(PlaybackContext& context) {
    context.state.playing = true;
    context.view.EnableImageButton(kInstrumentButtonKey, false);
    context.view.EnableImageButton(kDataButtonKey, false);
    context.view.EnableImageButton(kAlgorithmButtonKey, false);
    context.state.last_right_note = 0;
    context.state.last_left_note = 0;
    // The first pair comes one tick from now: time enough for the sound output to wake.
    context.midi.PrepareToPlay();
    context.view.StartPlaybackTimer();
    context.view.SetStartButtonLabel(kStopLabel);
}

void StopPlayback(PlaybackContext& context) {
    context.view.SetStartButtonLabel(kStartLabel);
    context.view.StopPlaybackTimer();
    context.view.EnableImageButton(kInstrumentButtonKey, true);
    context.view.EnableImageButton(kDataButtonKey, true);
    context.view.EnableImageButton(kAlgorithmButtonKey, true);
    context.midi.AllNotesOff();
    context.state.playing = false;
}

void PlaybackTick(PlaybackContext& context, HelixUpdate helix) {
    PerformanceState& state = context.state;
    state.helix_phase -= TickStep(state.timing_mode, context.random);
    if (state.helix_phase < 1.0) {
        if (state.play_position < SequenceLength(state)) {
            PlayPair(context);
        } else {
            state.play_position = 0;
            TogglePlayback(context);
            context.view.PresentImageButtons();
        }
    }
    if (helix == HelixUpdate::kUnseen) {
        RecomputeHelixUnseen(state, context.layer.table, context.random);
        return;
    }
    RecomputeHelix(state, context.layer, context.random);
    context.view.PresentLayer();
}

}  // namespace tavrola
