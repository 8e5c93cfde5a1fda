#include "core/music/program_random.h"

namespace tavrola {

void ProgramRandom::Discard(std::uint64_t count) {
    // Compose the affine step x -> a*x + c with itself by repeated squaring: the step applied
    // 2^k times is again affine, with multiplier a^(2^k) and increment c*(a^(2^k-1)+...+1).
    std::uint32_t step_multiplier = kMultiplier;
    std::uint32_t step_increment = kIncrement;
    std::uint32_t total_multiplier = 1;
    std::uint32_t total_increment = 0;
    while (count > 0) {
        if (count & 1U) {
            total_multiplier = total_multiplier * step_multiplier;
            total_increment = total_increment * step_multiplier + step_increment;
        }
        step_increment = (step_multiplier + 1U) * step_increment;
        step_multiplier = step_multiplier * step_multiplier;
        count >>= 1U;
    }
    state_ = total_multiplier * state_ + total_increment;
}

}  // namespace tavrola
