#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/music/performance_state.h"
#include "core/sequence/base_sequence.h"

namespace tavrola {

// A slot sounds note slot + 58 on the right voice and slot + 46 (an octave lower) on the left.
inline constexpr std::int32_t kRightNoteOffset = 58;
inline constexpr std::int32_t kLeftNoteOffset = 46;

// True when the slot's pitch is a natural of C major.
bool IsDiatonicSlot(std::int32_t slot);

// The slots a base may sound, ascending, in a fixed array: choosing a pitch allocates nothing.
struct PitchCandidates {
    std::array<std::int32_t, kPitchSlotCount> slots{};
    int count = 0;
};

PitchCandidates CollectPitchCandidates(const PerformanceState& state, BaseCode base);

// The slot nearest to the previous one among those the base may sound (lower slot on a tie),
// never the previous slot itself while another candidate exists. No value when the base has
// no candidate at all: the voice then rests for that base.
std::optional<std::int32_t> ChoosePitchSlot(const PerformanceState& state, BaseCode base,
                                            std::int32_t previous_slot);

// Octave number and note name, for example 60 -> "5C", 46 -> "3A#".
std::string PitchName(std::int32_t note);

}  // namespace tavrola
