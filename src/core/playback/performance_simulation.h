#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/helix/sphere_layer.h"
#include "core/music/performance_state.h"
#include "core/music/program_random.h"
#include "core/services/work_progress.h"

namespace tavrola {

// One message playback sends, with the timer tick that sends it. Tick 0 is the first tick after
// Start, 500 ms after the press; tick n comes n x 500 ms later.
struct TimedMidiEvent {
    std::int64_t tick = 0;
    std::uint32_t message = 0;  // a short message, packed as MidiOutput takes it
    bool operator==(const TimedMidiEvent&) const = default;
};

// What pressing Start would play, from the first tick to the one that stops at the end of the
// sequence.
struct SimulatedPerformance {
    // Every short message of every tick, in the order sent: the note-offs and note-ons of the
    // pairs (the first of each voice ends note 0, which never sounded) and, at the stop tick,
    // the all-notes-off of each channel.
    std::vector<TimedMidiEvent> events;
    // The tick that finds the end of the sequence and stops playback.
    std::int64_t stop_tick = 0;
    // The instruments the voices play: a General MIDI program, or kSilentInstrument.
    std::int32_t right_program = kSilentInstrument;
    std::int32_t left_program = kSilentInstrument;
};

// Everything Start would play with, copied, so that the performance can be worked out elsewhere
// (an export's worker) while the performance itself goes on.
struct PerformanceSnapshot {
    PerformanceState state;
    SphereTable spheres;
    ProgramRandom random;
    // What the voice labels show, in VoiceLabel order: a video starts with them.
    std::array<std::string, 4> voice_labels{"-", "-", "-", "-"};
};

// Works out the performance that Start would play now: from the state's play position and
// helix phase, with its instruments, timing, table and filter, the helix spheres as they stand
// and the series where it stands. Runs the playback's own tick on copies, with the helix moved
// unseen, so the state, the spheres and the series handed in stay as they are, and a Start
// afterwards plays exactly this.
SimulatedPerformance SimulatePerformance(const PerformanceState& state, const SphereTable& spheres,
                                         const ProgramRandom& random);

// The same for a worker thread, which may take seconds over a long typed sequence: reports its
// progress through the pairs to `stage` and gives up, with nothing, once it is cancelled.
std::optional<SimulatedPerformance> SimulatePerformance(const PerformanceState& state,
                                                        const SphereTable& spheres,
                                                        const ProgramRandom& random,
                                                        const ProgressStage& stage);

// A tick that the stop tick of the performance Start would play cannot come before, from the
// state alone and at once: every tick turns the helix by at most the long step, and every pair
// takes a pair step. Lets an export refuse what cannot fit before working the performance out.
std::int64_t EarliestStopTick(const PerformanceState& state);

}  // namespace tavrola
