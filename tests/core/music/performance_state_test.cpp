#include "core/music/performance_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tavrola {
namespace {

TEST(SetPerformanceDefaults, GivesTheStartUpValues) {
    PerformanceState state;
    state.helix_phase = 3.0;
    state.sequence = BaseSequence{1, 2};
    state.timing_mode = TimingMode::kQuarter;
    SetPerformanceDefaults(state, "/music");

    EXPECT_FALSE(state.sequence.has_value());
    EXPECT_EQ(SequenceLength(state), 0);
    EXPECT_EQ(state.play_position, 0);
    EXPECT_EQ(state.helix_phase, 1.0);
    EXPECT_EQ(state.pair_count, 14);
    EXPECT_EQ(state.right_instrument, 98);
    EXPECT_EQ(state.left_instrument, 91);
    EXPECT_EQ(state.timing_mode, TimingMode::kMixed);
    EXPECT_TRUE(state.diatonic_only);
    EXPECT_FALSE(state.playing);
    EXPECT_EQ(state.working_directory, std::filesystem::path("/music"));
    const AssignmentTable expected = {0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3,
                                      3, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2};
    EXPECT_EQ(state.assignment_table, expected);
}

TEST(SetPerformanceDefaults, KeepsALongWorkingDirectoryWhole) {
    const std::filesystem::path cwd = std::filesystem::current_path();
    const std::filesystem::path deep =
        std::filesystem::temp_directory_path() / std::string(300, 'd') / "データ";
    PerformanceState state;
    SetPerformanceDefaults(state, deep);
    EXPECT_EQ(state.working_directory, deep) << "no 260-byte limit";

    SetPerformanceDefaults(state);
    EXPECT_EQ(state.working_directory, cwd);
}

TEST(InstallSequence, RewindsAndResetsSlotsButKeepsEveryParameter) {
    PerformanceState state;
    SetPerformanceDefaults(state, "/");
    state.play_position = 5;
    state.helix_phase = 0.93;
    state.previous_right_slot = 20;
    state.previous_left_slot = 3;
    state.right_instrument = 0;
    state.left_instrument = -1;
    state.assignment_table[0] = 3;
    state.timing_mode = TimingMode::kEighth;
    state.diatonic_only = false;

    InstallSequence(state, BaseSequence{3, 3});

    EXPECT_EQ(SequenceLength(state), 2);
    EXPECT_EQ(state.play_position, 0);
    EXPECT_EQ(state.previous_right_slot, 2);
    EXPECT_EQ(state.previous_left_slot, 14);
    EXPECT_EQ(state.helix_phase, 0.93);
    EXPECT_EQ(state.right_instrument, 0);
    EXPECT_EQ(state.left_instrument, -1);
    EXPECT_EQ(state.assignment_table[0], 3);
    EXPECT_EQ(state.timing_mode, TimingMode::kEighth);
    EXPECT_FALSE(state.diatonic_only);
}

TEST(InstallSequence, WithoutASequenceStillRewinds) {
    PerformanceState state;
    SetPerformanceDefaults(state, "/");
    state.play_position = 7;
    state.previous_right_slot = 9;
    InstallSequence(state, std::nullopt);
    EXPECT_FALSE(state.sequence.has_value()) << "cancelling the Data dialog loads nothing";
    EXPECT_EQ(state.play_position, 0);
    EXPECT_EQ(state.previous_right_slot, 2);
}

}  // namespace
}  // namespace tavrola
