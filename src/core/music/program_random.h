#pragma once

#include <cstdint>

namespace tavrola {

// The program's one pseudo-random series: the classic C runtime formula, never seeded, so
// every run draws the same numbers. The irregular timing and the sphere noise share it, in the
// order in which they draw, which makes the number of draws part of the behaviour.
class ProgramRandom {
  public:
    static constexpr std::uint32_t kMultiplier = 214013U;
    static constexpr std::uint32_t kIncrement = 2531011U;
    static constexpr int kMax = 0x7FFF;

    // Returns 0 to 32767.
    int Next() {
        state_ = state_ * kMultiplier + kIncrement;
        return static_cast<int>((state_ >> 16) & 0x7FFFU);
    }

    // Moves the series on by `count` draws in O(log count).
    void Discard(std::uint64_t count);

    std::uint32_t State() const { return state_; }
    void SetState(std::uint32_t state) { state_ = state; }

  private:
    std::uint32_t state_ = 1;
};

}  // namespace tavrola
