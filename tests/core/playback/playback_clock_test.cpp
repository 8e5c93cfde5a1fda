#include "core/playback/playback_clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/helix/helix_geometry.h"
#include "support/recording_midi_output.h"
#include "support/recording_playback_view.h"

namespace tavrola {
namespace {

constexpr std::uint32_t NoteOn(std::uint32_t channel, std::uint32_t note) {
    return PackShortMessage(kNoteOnStatus + channel, note, 127);
}
constexpr std::uint32_t NoteOff(std::uint32_t channel, std::uint32_t note) {
    return PackShortMessage(kNoteOffStatus + channel, note, 0);
}

std::vector<std::uint32_t> AllNotesOffMessages() {
    std::vector<std::uint32_t> messages;
    for (std::uint32_t channel = 0; channel < kMidiChannelCount; ++channel) {
        messages.push_back(
            PackShortMessage(kControllerStatus + channel, kAllNotesOffController, 0));
    }
    return messages;
}

// A stopped player after start-up with `text` installed, as the Data dialog leaves it.
class Player {
  public:
    explicit Player(const char* text, TimingMode timing_mode = TimingMode::kQuarter) {
        SetPerformanceDefaults(state, "/");
        state.timing_mode = timing_mode;
        auto owned = std::make_unique<RecordingMidiOutput>();
        midi_output = owned.get();
        midi = std::make_unique<MidiControler>(std::move(owned));
        SetUpSphereLayer(layer, kSphereLayerWidth, kSphereLayerHeight, random);
        BuildStartUpSpheres(layer, state.pair_count, random);
        if (text != nullptr) {
            InstallSequence(state, ParseSequenceText(text));
        }
    }

    PlaybackContext Context() { return {state, *midi, layer, view, random}; }
    void Toggle() {
        PlaybackContext context = Context();
        TogglePlayback(context);
    }
    void Tick() {
        PlaybackContext context = Context();
        PlaybackTick(context);
    }
    // Ticks until a pair is played or playback stops; returns the ticks taken.
    int TicksToNextEvent() {
        const std::int32_t position = state.play_position;
        for (int ticks = 1; ticks <= 100; ++ticks) {
            Tick();
            if (state.play_position != position || !state.playing) {
                return ticks;
            }
        }
        return -1;
    }
    std::string Label(VoiceLabel label) {
        return view.labels.count(label) ? view.labels[label] : "";
    }

    PerformanceState state;
    RecordingMidiOutput* midi_output = nullptr;
    std::unique_ptr<MidiControler> midi;
    SphereLayer layer;
    testing::RecordingPlaybackView view;
    ProgramRandom random;
};

TEST(StartAndStop, ChangeButtonsTimerAndLabelInTheirOrder) {
    Player player("acgt");
    player.Toggle();
    EXPECT_TRUE(player.state.playing);
    const std::vector<std::string> started = {"disable 3", "disable 1", "disable 4", "start timer",
                                              std::string("label ") + kStopLabel};
    EXPECT_EQ(player.view.calls, started);
    EXPECT_TRUE(player.midi_output->messages().empty());

    player.view.calls.clear();
    player.Toggle();
    EXPECT_FALSE(player.state.playing);
    const std::vector<std::string> stopped = {std::string("label ") + kStartLabel, "stop timer",
                                              "enable 3", "enable 1", "enable 4"};
    EXPECT_EQ(player.view.calls, stopped);
    EXPECT_EQ(player.midi_output->messages(), AllNotesOffMessages());
}

TEST(PlaybackTick, FirstTickPlaysAtOnceAndEndsTheNotesOfNothing) {
    Player player("a");
    player.Toggle();
    player.view.calls.clear();
    player.Tick();

    // Right A from slot 2 -> slot 4 (note 62); left T from slot 14 -> slot 13 (note 59).
    const std::vector<std::uint32_t> expected = {NoteOff(0, 0), NoteOn(0, 62), NoteOff(1, 0),
                                                 NoteOn(1, 59)};
    EXPECT_EQ(player.midi_output->messages(), expected);
    EXPECT_EQ(player.Label(VoiceLabel::kRightBase), "a");
    EXPECT_EQ(player.Label(VoiceLabel::kLeftBase), "t");
    EXPECT_EQ(player.Label(VoiceLabel::kRightPitch), "5D");
    EXPECT_EQ(player.Label(VoiceLabel::kLeftPitch), "4B");
    EXPECT_EQ(player.state.play_position, 1);
    EXPECT_EQ(player.state.previous_right_slot, 4);
    EXPECT_EQ(player.state.previous_left_slot, 13);
    EXPECT_DOUBLE_EQ(player.state.helix_phase, 1.0 - 0.1 + kPairStep);
    EXPECT_EQ(player.view.calls, std::vector<std::string>{"present layer"});
}

TEST(PlaybackTick, SecondNoteEndsTheFirst) {
    Player player("aa");
    player.Toggle();
    player.Tick();
    player.midi_output->Clear();
    ASSERT_EQ(player.TicksToNextEvent(), 6);
    // A again: slot 4 may not repeat, so 6 (note 64); left T from 13 -> 11 (note 57).
    const std::vector<std::uint32_t> expected = {NoteOff(0, 62), NoteOn(0, 64), NoteOff(1, 59),
                                                 NoteOn(1, 57)};
    EXPECT_EQ(player.midi_output->messages(), expected);
}

TEST(PlaybackTick, QuarterNotesComeEverySixTicksWithASevenTickGapOnceInAbout24) {
    std::string text(241, 'c');
    Player player(text.c_str(), TimingMode::kQuarter);
    player.Toggle();
    ASSERT_EQ(player.TicksToNextEvent(), 1) << "from phase 1.0 the first pair plays at once";
    int long_gaps = 0;
    for (int pair = 1; pair < 241; ++pair) {
        const int gap = player.TicksToNextEvent();
        ASSERT_TRUE(gap == 6 || gap == 7) << "pair " << pair << " came after " << gap;
        long_gaps += gap == 7 ? 1 : 0;
    }
    EXPECT_GE(long_gaps, 9);
    EXPECT_LE(long_gaps, 11) << "one 7-tick gap in about every 24 pairs";
}

TEST(TickStep, DrawsFromTheSharedSeriesAsTheModeSays) {
    struct Case {
        TimingMode mode;
        std::uint64_t draws;
    };
    for (const Case& c : {Case{TimingMode::kQuarter, 0}, Case{TimingMode::kEighth, 1},
                          Case{TimingMode::kMixed, 1}}) {
        ProgramRandom random;
        ProgramRandom reference;
        for (int tick = 0; tick < 50; ++tick) {
            const double step = TickStep(c.mode, random);
            if (c.mode == TimingMode::kQuarter) {
                EXPECT_EQ(step, 0.1);
            } else if (c.mode == TimingMode::kEighth) {
                EXPECT_EQ(step, 0.2) << "eighth notes always take the long step";
                reference.Next();
            } else {
                EXPECT_EQ(step, reference.Next() % 2 == 0 ? 0.1 : 0.2);
            }
        }
        EXPECT_EQ(random.State(), reference.State()) << "mode " << static_cast<int>(c.mode);
    }
}

TEST(PlaybackTick, MixedModeDrawsOncePerTickWhetherOrNotAPairPlays) {
    // Without a sequence the helix draws nothing, so every draw is the tick's own.
    Player player(nullptr, TimingMode::kMixed);
    player.state.helix_phase = 50.0;
    player.Toggle();
    ProgramRandom reference;
    reference.SetState(player.random.State());
    for (int tick = 0; tick < 40; ++tick) {
        player.Tick();
        reference.Next();
        ASSERT_EQ(player.random.State(), reference.State()) << "tick " << tick;
    }
}

TEST(PlaybackTick, StopAndStartGoOnWithTheNextBase) {
    Player player("acgt");
    player.Toggle();
    player.TicksToNextEvent();
    player.TicksToNextEvent();
    const double phase = player.state.helix_phase;
    player.Toggle();
    EXPECT_EQ(player.state.play_position, 2) << "stopping keeps the position";
    EXPECT_EQ(player.state.helix_phase, phase) << "stopping keeps the phase";

    player.Toggle();
    player.midi_output->Clear();
    player.TicksToNextEvent();
    EXPECT_EQ(player.Label(VoiceLabel::kRightBase), "g");
    const auto messages = player.midi_output->messages();
    ASSERT_EQ(messages.size(), 4U);
    EXPECT_EQ(messages[0], NoteOff(0, 0)) << "a new start forgets the last notes";
}

TEST(PlaybackTick, EndOfSequenceRewindsStopsAndStillTurnsTheHelix) {
    Player player("a");
    player.Toggle();
    player.Tick();
    player.midi_output->Clear();
    player.view.calls.clear();
    const int ticks = player.TicksToNextEvent();
    EXPECT_EQ(ticks, 6);
    EXPECT_FALSE(player.state.playing);
    EXPECT_EQ(player.state.play_position, 0);
    EXPECT_EQ(player.midi_output->messages(), AllNotesOffMessages());
    const std::vector<std::string> tail = {std::string("label ") + kStartLabel,
                                           "stop timer",
                                           "enable 3",
                                           "enable 1",
                                           "enable 4",
                                           "present buttons",
                                           "present layer"};
    ASSERT_GE(player.view.calls.size(), tail.size());
    EXPECT_EQ(std::vector<std::string>(player.view.calls.end() - 7, player.view.calls.end()), tail);
    EXPECT_EQ(player.Label(VoiceLabel::kRightBase), "a") << "stopping leaves the labels";
}

TEST(PlaybackTick, EmptyOrMissingSequenceStopsAtTheFirstPlayingTick) {
    for (const char* text : {"", static_cast<const char*>(nullptr)}) {
        Player player(text);
        if (text == nullptr) {
            InstallSequence(player.state, std::nullopt);
        }
        player.Toggle();
        player.Tick();
        EXPECT_FALSE(player.state.playing);
        EXPECT_EQ(player.midi_output->messages(), AllNotesOffMessages())
            << "only the stop's all-notes-off";
        EXPECT_TRUE(player.view.labels.empty());
    }
}

TEST(PlaybackTick, SilentVoicesSendNothingButTheLabelsStillShowTheBases) {
    Player player("gc");
    player.state.right_instrument = kSilentInstrument;
    player.state.left_instrument = kSilentInstrument;
    player.Toggle();
    player.TicksToNextEvent();
    player.TicksToNextEvent();
    EXPECT_TRUE(player.midi_output->messages().empty());
    EXPECT_EQ(player.Label(VoiceLabel::kRightBase), "c");
    EXPECT_EQ(player.Label(VoiceLabel::kLeftBase), "g");
    EXPECT_EQ(player.Label(VoiceLabel::kRightPitch), "-");
    EXPECT_EQ(player.Label(VoiceLabel::kLeftPitch), "-");
    EXPECT_EQ(player.state.previous_right_slot, 2) << "a silent voice keeps its slot";
}

TEST(PlaybackTick, OneSilentVoiceLeavesTheOtherPlaying) {
    Player player("c");
    player.state.left_instrument = kSilentInstrument;
    player.Toggle();
    player.Tick();
    const std::vector<std::uint32_t> expected = {NoteOff(0, 0), NoteOn(0, 59)};
    EXPECT_EQ(player.midi_output->messages(), expected);
    EXPECT_EQ(player.Label(VoiceLabel::kRightPitch), "4B");
    EXPECT_EQ(player.Label(VoiceLabel::kLeftPitch), "-");
}

TEST(PlaybackTick, ABaseWithoutAnySlotRests) {
    Player player("ac");
    player.state.assignment_table.fill(kCytosine);  // neither A nor its complement T has a slot
    player.state.assignment_table[24] = kGuanine;
    player.state.diatonic_only = false;
    player.Toggle();
    player.Tick();
    const std::vector<std::uint32_t> rest = {NoteOff(0, 0), NoteOff(1, 0)};
    EXPECT_EQ(player.midi_output->messages(), rest) << "note-offs as usual, no note-on";
    EXPECT_EQ(player.Label(VoiceLabel::kRightPitch), "-");
    EXPECT_EQ(player.Label(VoiceLabel::kLeftPitch), "-");
    EXPECT_EQ(player.state.previous_right_slot, 2);

    player.midi_output->Clear();
    player.TicksToNextEvent();
    // C from slot 2 (kept while resting): slot 1; its complement G only has slot 24.
    const std::vector<std::uint32_t> next = {NoteOff(0, 0), NoteOn(0, 59), NoteOff(1, 0),
                                             NoteOn(1, 70)};
    EXPECT_EQ(player.midi_output->messages(), next);
}

}  // namespace
}  // namespace tavrola
