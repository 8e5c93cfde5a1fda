#include "core/music/pitch_selection.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrola {
namespace {

PerformanceState DefaultState(bool diatonic_only) {
    PerformanceState state;
    state.diatonic_only = diatonic_only;
    return state;
}

std::vector<std::int32_t> CandidateSlots(const PerformanceState& state, BaseCode base) {
    const PitchCandidates candidates = CollectPitchCandidates(state, base);
    return {candidates.slots.begin(), candidates.slots.begin() + candidates.count};
}

struct CandidateCase {
    bool diatonic_only;
    BaseCode base;
    std::vector<std::int32_t> slots;
};

class CandidateSetTest : public ::testing::TestWithParam<CandidateCase> {};

TEST_P(CandidateSetTest, DefaultTableGivesTheDesignedSlots) {
    const CandidateCase& c = GetParam();
    EXPECT_EQ(CandidateSlots(DefaultState(c.diatonic_only), c.base), c.slots)
        << "base " << BaseLetter(c.base) << ", diatonic only " << c.diatonic_only;
}

INSTANTIATE_TEST_SUITE_P(
    DefaultTable, CandidateSetTest,
    ::testing::Values(CandidateCase{true, kCytosine, {1, 2, 14, 16}},
                      CandidateCase{true, kAdenine, {4, 6, 18, 19}},
                      CandidateCase{true, kGuanine, {7, 9, 21, 23}},
                      CandidateCase{true, kThymine, {11, 13}},
                      CandidateCase{false, kCytosine, {0, 1, 2, 14, 15, 16}},
                      CandidateCase{false, kAdenine, {3, 4, 5, 6, 17, 18, 19, 20}},
                      CandidateCase{false, kGuanine, {7, 8, 9, 21, 22, 23, 24}},
                      CandidateCase{false, kThymine, {10, 11, 12, 13}}),
    [](const ::testing::TestParamInfo<CandidateCase>& info) {
        return std::string(info.param.diatonic_only ? "Diatonic" : "Chromatic") +
               BaseLetter(info.param.base);
    });

struct ChoiceCase {
    std::string name;
    bool diatonic_only;
    BaseCode base;
    std::int32_t previous;
    std::int32_t expected;
};

class ChoosePitchSlotTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChoosePitchSlotTest, PicksTheNearestOtherSlot) {
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(ChoosePitchSlot(DefaultState(c.diatonic_only), c.base, c.previous), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    DefaultTable, ChoosePitchSlotTest,
    ::testing::Values(
        // Right voice after installing: C may not repeat slot 2, so 1 (note 59).
        ChoiceCase{"RightCAfterInstall", true, kCytosine, 2, 1},
        ChoiceCase{"RightAAfterInstall", true, kAdenine, 2, 4},
        // Left voice after installing, right base A: left base T, slot 13 (note 59).
        ChoiceCase{"LeftTAfterInstall", true, kThymine, 14, 13},
        ChoiceCase{"TieFallsToTheLowerSlotDiatonic", true, kGuanine, 8, 7},
        ChoiceCase{"TieFallsToTheLowerSlotChromatic", false, kGuanine, 8, 7},
        ChoiceCase{"RepeatAvoidedEvenFarAway", true, kThymine, 11, 13},
        ChoiceCase{"RepeatAvoidedTieBelow", true, kCytosine, 14, 16},
        ChoiceCase{"FromTheTop", false, kCytosine, 24, 16},
        ChoiceCase{"FromTheBottom", true, kGuanine, 0, 7}),
    [](const ::testing::TestParamInfo<ChoiceCase>& info) { return info.param.name; });

TEST(ChoosePitchSlot, OnlyCandidateIsRepeated) {
    PerformanceState state = DefaultState(0);
    state.assignment_table.fill(kCytosine);
    state.assignment_table[11] = kThymine;
    EXPECT_EQ(ChoosePitchSlot(state, kThymine, 11), 11);
    EXPECT_EQ(ChoosePitchSlot(state, kThymine, 0), 11);
}

TEST(ChoosePitchSlot, BaseWithoutCandidatesRests) {
    PerformanceState state = DefaultState(0);
    state.assignment_table.fill(kCytosine);
    EXPECT_EQ(ChoosePitchSlot(state, kAdenine, 5), std::nullopt) << "no slot holds the base";

    state = DefaultState(1);
    state.assignment_table.fill(kCytosine);
    state.assignment_table[0] = kGuanine;  // A#, filtered out
    state.assignment_table[8] = kGuanine;  // F#, filtered out
    EXPECT_EQ(ChoosePitchSlot(state, kGuanine, 5), std::nullopt)
        << "every slot of the base is non-diatonic";
}

TEST(ChoosePitchSlot, NeverRepeatsWhileAnotherCandidateExists) {
    for (const bool diatonic : {false, true}) {
        const PerformanceState state = DefaultState(diatonic);
        for (BaseCode base = 0; base < 4; ++base) {
            for (std::int32_t previous = 0; previous < kPitchSlotCount; ++previous) {
                const auto slot = ChoosePitchSlot(state, base, previous);
                ASSERT_TRUE(slot.has_value());
                EXPECT_NE(*slot, previous) << "base " << base << " from " << previous;
                EXPECT_EQ(state.assignment_table[static_cast<std::size_t>(*slot)], base);
            }
        }
    }
}

TEST(ChoosePitchSlot, DiatonicFilterNeverSoundsARaisedNote) {
    // Every slot belongs to one base, so only the filter stands between it and a raised note.
    PerformanceState state = DefaultState(1);
    state.assignment_table.fill(kAdenine);
    for (std::int32_t previous = 0; previous < kPitchSlotCount; ++previous) {
        const auto chosen = ChoosePitchSlot(state, kAdenine, previous);
        ASSERT_TRUE(chosen.has_value());
        const std::int32_t pitch_class = (*chosen + kRightNoteOffset) % 12;
        EXPECT_TRUE(pitch_class != 1 && pitch_class != 3 && pitch_class != 6 && pitch_class != 8 &&
                    pitch_class != 10)
            << "slot " << *chosen << " is a raised note";
    }
}

TEST(PitchName, NamesEveryNoteBothVoicesCanSound) {
    const char* right[] = {"4A#", "4B",  "5C",  "5C#", "5D",  "5D#", "5E",  "5F", "5F#",
                           "5G",  "5G#", "5A",  "5A#", "5B",  "6C",  "6C#", "6D", "6D#",
                           "6E",  "6F",  "6F#", "6G",  "6G#", "6A",  "6A#"};
    const char* left[] = {"3A#", "3B",  "4C",  "4C#", "4D",  "4D#", "4E",  "4F", "4F#",
                          "4G",  "4G#", "4A",  "4A#", "4B",  "5C",  "5C#", "5D", "5D#",
                          "5E",  "5F",  "5F#", "5G",  "5G#", "5A",  "5A#"};
    for (std::int32_t slot = 0; slot < kPitchSlotCount; ++slot) {
        EXPECT_EQ(PitchName(slot + kRightNoteOffset), right[slot]) << "right slot " << slot;
        EXPECT_EQ(PitchName(slot + kLeftNoteOffset), left[slot]) << "left slot " << slot;
    }
    EXPECT_EQ(PitchName(0), "0C");
    EXPECT_EQ(PitchName(127), "10G");
}

}  // namespace
}  // namespace tavrola
