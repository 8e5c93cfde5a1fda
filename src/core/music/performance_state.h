#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "core/sequence/base_sequence.h"

namespace tavrola {

inline constexpr int kPitchSlotCount = 25;
inline constexpr std::int32_t kSilentInstrument = -1;

// Base code that each pitch slot (0 to 24) belongs to.
using AssignmentTable = std::array<BaseCode, kPitchSlotCount>;

inline constexpr AssignmentTable kDefaultAssignmentTable = {0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3,
                                                            3, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2};

// Both reset slots stand for MIDI note 60: 2 + 58 on the right voice, 14 + 46 on the left.
inline constexpr std::int32_t kInstalledRightSlot = 2;
inline constexpr std::int32_t kInstalledLeftSlot = 14;

inline constexpr std::int32_t kDefaultPairCount = 14;
inline constexpr double kStartHelixPhase = 1.0;
inline constexpr std::int32_t kDefaultRightInstrument = 98;
inline constexpr std::int32_t kDefaultLeftInstrument = 91;
// How the helix turns between pairs, in the order the Algorithm dialog lists them: quarter notes
// (the short step every tick), eighth notes (the long step) and mixed (drawn tick by tick).
enum class TimingMode : std::int32_t { kQuarter = 0, kEighth = 1, kMixed = 2 };
inline constexpr int kTimingModeCount = 3;
inline constexpr TimingMode kDefaultTimingMode = TimingMode::kMixed;

// Everything a performance needs: the loaded sequence and every parameter, shared by the
// engine, the parameter dialogs and the helix. Nothing of it outlives the run.
struct PerformanceState {
    std::optional<BaseSequence> sequence;
    std::int32_t play_position = 0;
    double helix_phase = kStartHelixPhase;
    std::int32_t pair_count = kDefaultPairCount;
    std::int32_t right_instrument = kDefaultRightInstrument;  // 0 to 127, or -1: silent
    std::int32_t left_instrument = kDefaultLeftInstrument;
    AssignmentTable assignment_table = kDefaultAssignmentTable;
    TimingMode timing_mode = kDefaultTimingMode;
    bool diatonic_only = true;
    std::int32_t previous_right_slot = kInstalledRightSlot;
    std::int32_t previous_left_slot = kInstalledLeftSlot;
    bool playing = false;
    std::int32_t last_right_note = 0;
    std::int32_t last_left_note = 0;
    std::filesystem::path working_directory;
};

// The start-up values; the working directory is the process's current directory.
void SetPerformanceDefaults(PerformanceState& state);
void SetPerformanceDefaults(PerformanceState& state, std::filesystem::path working_directory);

// Takes the sequence back from the Data dialog, however it closed: rewinds the play position
// and the previous slots, and leaves the phase and every parameter as they are.
void InstallSequence(PerformanceState& state, std::optional<BaseSequence> sequence);

std::int32_t SequenceLength(const PerformanceState& state);

}  // namespace tavrola
