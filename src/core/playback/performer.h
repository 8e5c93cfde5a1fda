#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/helix/sphere_layer.h"
#include "core/music/midi_controler.h"
#include "core/music/midi_output.h"
#include "core/music/performance_state.h"
#include "core/music/program_random.h"
#include "core/playback/command_key.h"
#include "core/playback/performance_simulation.h"
#include "core/playback/playback_clock.h"
#include "core/sequence/base_sequence.h"

namespace tavrola {

// The one owner of a performance: its state and sequence, the MIDI controller it plays on, the
// sphere layer of its helix, the program's random series that the timing and the sphere noise
// share, and the texts of the four voice labels. The window holds one and is its view; a
// command line or a video renderer holds one with no window at all (and a view that shows
// nothing). Everything the buttons and the timer do to a performance is done here, so a
// performance needs nothing of a window to be played, changed or worked out.
//
// Belongs to one thread, the one its view's timer ticks on.
class Performer final : private PlaybackView {
  public:
    // Stands where the window stands after start-up: the defaults set (the working directory
    // is the process's), the sphere layer set up with its start-up spheres built and rendered,
    // which moves the random series exactly as the window's start-up does, and the MIDI output
    // opened (null: there is none), its failure reported once and the two default program
    // changes sent. `view` shows what playback changes and runs its timer; it must outlive the
    // performer and is not called during construction.
    Performer(std::unique_ptr<MidiOutput> midi_output, PlaybackView& view);
    // Takes a performance up where a snapshot of one stands (a video plays it again on its own),
    // with the layer's surface allocated, black until the first tick draws it; opens the output
    // and sends the snapshot's programs.
    Performer(const PerformanceSnapshot& snapshot, std::unique_ptr<MidiOutput> midi_output,
              PlaybackView& view);
    // Resets and closes the MIDI output, each failure reported.
    ~Performer() override;
    Performer(const Performer&) = delete;
    Performer& operator=(const Performer&) = delete;

    const PerformanceState& State() const { return state_; }
    // For the set-ups no command reaches (a test's, a benchmark's): the state as it is.
    PerformanceState& State() { return state_; }
    const SphereLayer& Layer() const { return layer_; }
    const ProgramRandom& Random() const { return random_; }
    const MidiControler& Midi() const { return *midi_; }
    // What the voice label shows: "-" until the first pair plays.
    const std::string& VoiceLabelText(VoiceLabel label) const;

    // The Start button: starts playback from where it stopped, or stops it.
    void TogglePlayback();
    // One timer tick: turns the helix, plays the next pair when its time has come, stops at the
    // end of the sequence.
    void Tick();

    // The Data command hands the sequence to its dialog and takes it back however the dialog
    // closed: installed from its start, the helix recomputed to show it, Start enabled for good,
    // the layer rendered and presented.
    std::optional<BaseSequence> LendSequence();
    void InstallSequence(std::optional<BaseSequence> sequence);
    // The Instrument command's result: both voices' instruments (a program or
    // kSilentInstrument), then a program change for each voice that sounds.
    void SetInstruments(std::int32_t right, std::int32_t left);
    // The Algorithm command's result: nothing sounds and nothing is redrawn.
    void SetAlgorithm(const AssignmentTable& table, TimingMode timing_mode, bool diatonic_only);
    // An opened output that plays from now on instead, with the current instruments; the old
    // one is reset and closed.
    void ReplaceMidiOutput(std::unique_ptr<MidiOutput> opened);

    // Everything Start would play with, copied, for working the performance out elsewhere.
    PerformanceSnapshot Snapshot() const;
    // What Start would play now; the performance itself stays as it is.
    SimulatedPerformance WorkOutPerformance() const;

  private:
    PlaybackContext Context();

    // Playback's view: the voice labels are kept here, everything passes on to the real view.
    void EnableImageButton(CommandKey key, bool enable) override;
    void SetStartButtonLabel(const std::string& label) override;
    void SetVoiceLabel(VoiceLabel label, const std::string& text) override;
    void StartPlaybackTimer() override;
    void StopPlaybackTimer() override;
    void PresentLayer() override;
    void PresentImageButtons() override;

    PlaybackView& view_;
    PerformanceState state_;
    SphereLayer layer_;
    ProgramRandom random_;
    std::unique_ptr<MidiControler> midi_;
    std::array<std::string, 4> voice_labels_;
};

}  // namespace tavrola
