#include "core/music/pitch_selection.h"

#include <array>
#include <cstdlib>

namespace tavrola {

namespace {

constexpr std::array<bool, 12> kDiatonicMask = {true,  false, true,  false, true,  true,
                                                false, true,  false, true,  false, true};

constexpr std::array<const char*, 12> kNoteNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                    "F#", "G",  "G#", "A",  "A#", "B"};

// Larger than any distance between two slots.
constexpr std::int32_t kNoDistance = 25;

}  // namespace

PitchCandidates CollectPitchCandidates(const PerformanceState& state, BaseCode base) {
    PitchCandidates candidates;
    for (std::int32_t slot = 0; slot < kPitchSlotCount; ++slot) {
        if (state.assignment_table[static_cast<std::size_t>(slot)] != base) {
            continue;
        }
        if (state.diatonic_only && !IsDiatonicSlot(slot)) {
            continue;
        }
        candidates.slots[static_cast<std::size_t>(candidates.count++)] = slot;
    }
    return candidates;
}

bool IsDiatonicSlot(std::int32_t slot) {
    return kDiatonicMask[static_cast<std::size_t>((slot + kRightNoteOffset) % 12)];
}

std::optional<std::int32_t> ChoosePitchSlot(const PerformanceState& state, BaseCode base,
                                            std::int32_t previous_slot) {
    const PitchCandidates candidates = CollectPitchCandidates(state, base);
    if (candidates.count == 0) {
        return std::nullopt;
    }

    std::int32_t best_distance = kNoDistance;
    std::int32_t choice = previous_slot;
    for (int i = 0; i < candidates.count; ++i) {
        const std::int32_t slot = candidates.slots[static_cast<std::size_t>(i)];
        if (std::abs(previous_slot - slot) < best_distance) {
            choice = slot;
            best_distance = std::abs(previous_slot - slot);
        }
    }
    if (choice != previous_slot) {
        return choice;
    }

    // The nearest candidate is the previous slot itself: move to the nearest other one.
    best_distance = kNoDistance;
    for (int i = 0; i < candidates.count; ++i) {
        const std::int32_t slot = candidates.slots[static_cast<std::size_t>(i)];
        if (slot != previous_slot && std::abs(previous_slot - slot) < best_distance) {
            choice = slot;
            best_distance = std::abs(previous_slot - slot);
        }
    }
    return choice;
}

std::string PitchName(std::int32_t note) {
    // Notes are always 0 to 127 here; floor the octave anyway so no input reads out of range.
    const std::int32_t pitch_class = ((note % 12) + 12) % 12;
    const std::int32_t octave = (note - pitch_class) / 12;
    return std::to_string(octave) + kNoteNames[static_cast<std::size_t>(pitch_class)];
}

}  // namespace tavrola
