#include "core/music/performance_state.h"

#include <system_error>
#include <utility>

namespace tavrola {

void SetPerformanceDefaults(PerformanceState& state) {
    std::error_code error;
    std::filesystem::path directory = std::filesystem::current_path(error);
    SetPerformanceDefaults(state, error ? std::filesystem::path() : std::move(directory));
}

void SetPerformanceDefaults(PerformanceState& state, std::filesystem::path working_directory) {
    state = PerformanceState{};
    state.working_directory = std::move(working_directory);
}

void InstallSequence(PerformanceState& state, std::optional<BaseSequence> sequence) {
    state.sequence = std::move(sequence);
    state.play_position = 0;
    state.previous_right_slot = kInstalledRightSlot;
    state.previous_left_slot = kInstalledLeftSlot;
}

std::int32_t SequenceLength(const PerformanceState& state) {
    return SequenceLength(state.sequence);
}

}  // namespace tavrola
