#include "core/music/program_random.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tavrola {
namespace {

TEST(ProgramRandom, DrawsTheClassicSeriesFromStateOne) {
    ProgramRandom random;
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) {
        EXPECT_EQ(random.Next(), value);
    }
}

TEST(ProgramRandom, DiscardEqualsSingleSteps) {
    for (std::uint64_t count : {0ULL, 1ULL, 2ULL, 3ULL, 1000ULL, 123457ULL, 4000037ULL}) {
        ProgramRandom stepped;
        stepped.SetState(0xDEADBEEFU);
        for (std::uint64_t i = 0; i < count; ++i) {
            stepped.Next();
        }
        ProgramRandom jumped;
        jumped.SetState(0xDEADBEEFU);
        jumped.Discard(count);
        EXPECT_EQ(jumped.State(), stepped.State()) << "after " << count << " draws";
        EXPECT_EQ(jumped.Next(), stepped.Next()) << "the draw after " << count;
    }
}

TEST(ProgramRandom, DiscardOfAFullPeriodReturnsToTheStart) {
    ProgramRandom random;
    random.SetState(12345U);
    random.Discard(1ULL << 32);
    EXPECT_EQ(random.State(), 12345U) << "the generator's period is 2^32";
}

}  // namespace
}  // namespace tavrola
