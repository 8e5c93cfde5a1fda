#include "core/playback/performance_simulation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "core/music/midi_output.h"
#include "support/live_performance.h"

namespace tavrola {
namespace {

// The part of the state a simulation could disturb.
auto PlaybackFields(const PerformanceState& state) {
    return std::make_tuple(state.play_position, state.helix_phase, state.previous_right_slot,
                           state.previous_left_slot, state.last_right_note, state.last_left_note,
                           state.playing, state.sequence);
}

int NoteOnsOnChannel(const SimulatedPerformance& performance, std::uint32_t channel) {
    int count = 0;
    for (const TimedMidiEvent& event : performance.events) {
        count += (event.message & 0xffU) == kNoteOnStatus + channel ? 1 : 0;
    }
    return count;
}

// The worked-out performance is what a Start right afterwards sends, message for message and
// tick for tick, whatever the timing, the voices and where the last performance left the
// position, the helix and the series; working it out changes none of them.
TEST(SimulatePerformance, IsExactlyWhatStartThenPlays) {
    struct Case {
        const char* name;
        TimingMode timing_mode;
        std::int32_t right_instrument;
        std::int32_t left_instrument;
        // Ticks played (and the helix drawn) before: 0 plays one whole performance, so the
        // next starts from the first base with the phase and series it left; more stops there.
        std::int64_t ticks_before;
    };
    const Case cases[] = {
        {"quarter notes, from the start after a whole performance", TimingMode::kQuarter, 98, 91,
         0},
        {"eighth notes, after a stop in mid-sequence", TimingMode::kEighth, 98, 91, 37},
        {"mixed, after a stop in mid-sequence", TimingMode::kMixed, 0, 40, 53},
        {"mixed, right voice silent, from the start", TimingMode::kMixed, kSilentInstrument, 91, 0},
        {"quarter notes, left voice silent, after a stop", TimingMode::kQuarter, 98,
         kSilentInstrument, 61},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::PerformanceStage stage("gattacaCGTTTAGcatgcaaccgtagctagctaggatcc");
        stage.state.timing_mode = c.timing_mode;
        stage.state.right_instrument = c.right_instrument;
        stage.state.left_instrument = c.left_instrument;
        stage.Play(c.ticks_before == 0 ? 1000000 : c.ticks_before);
        ASSERT_FALSE(stage.state.playing);

        const auto fields_before = PlaybackFields(stage.state);
        const SphereTable table_before = stage.layer.table;
        const auto pixels_before = stage.layer.surface.pixels;
        const std::uint32_t series_before = stage.random.State();

        const SimulatedPerformance simulated =
            SimulatePerformance(stage.state, stage.layer.table, stage.random);

        EXPECT_EQ(PlaybackFields(stage.state), fields_before) << "the state was touched";
        EXPECT_EQ(stage.layer.table, table_before) << "the helix was touched";
        EXPECT_EQ(stage.layer.surface.pixels, pixels_before) << "the picture was touched";
        EXPECT_EQ(stage.random.State(), series_before) << "the series was touched";

        const SimulatedPerformance played = stage.Play();
        ASSERT_FALSE(stage.state.playing) << "the real performance never stopped";
        EXPECT_EQ(simulated.stop_tick, played.stop_tick);
        EXPECT_EQ(simulated.events, played.events);
        EXPECT_EQ(simulated.right_program, c.right_instrument);
        EXPECT_EQ(simulated.left_program, c.left_instrument);

        EXPECT_EQ(NoteOnsOnChannel(simulated, kRightVoiceChannel) > 0,
                  c.right_instrument != kSilentInstrument);
        EXPECT_EQ(NoteOnsOnChannel(simulated, kLeftVoiceChannel) > 0,
                  c.left_instrument != kSilentInstrument);
        // The stop tick silences every channel, which releases whatever still sounds.
        ASSERT_GE(simulated.events.size(), 16U);
        const TimedMidiEvent& last = simulated.events.back();
        EXPECT_EQ(last.tick, simulated.stop_tick);
        EXPECT_EQ(last.message,
                  PackShortMessage(kControllerStatus + 15, kAllNotesOffController, 0));
    }
}

}  // namespace
}  // namespace tavrola
