#include "core/music/midi_controler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "support/recorded_messages.h"
#include "support/recording_midi_output.h"

namespace tavrola {
namespace {

using Event = RecordingMidiOutput::Event;
using Kind = RecordingMidiOutput::EventKind;

// Hands the recorder to the controler and keeps a view of it for the checks.
struct Recorded {
    std::unique_ptr<RecordingMidiOutput> owned = std::make_unique<RecordingMidiOutput>();
    RecordingMidiOutput* output = owned.get();
};

TEST(OpenMidiOutput, OpensThenSendsTheStartUpProgramChanges) {
    testing::RecordedMessages messages;
    Recorded recorded;
    auto controler = OpenMidiOutput(std::move(recorded.owned), 98, 91);
    const std::vector<Event> expected = {
        {Kind::kOpen}, {Kind::kShortMessage, 0x000062C0U}, {Kind::kShortMessage, 0x00005BC1U}};
    EXPECT_EQ(recorded.output->events(), expected);
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_TRUE(controler->HasOutput());
}

TEST(OpenMidiOutput, WithoutADeviceSaysSoOnceAndGoesOnSilent) {
    testing::RecordedMessages messages;
    auto controler = OpenMidiOutput(nullptr, 98, 91);
    ASSERT_NE(controler, nullptr);
    EXPECT_FALSE(controler->HasOutput());
    ASSERT_EQ(messages.texts().size(), 1U);
    EXPECT_EQ(messages.texts()[0], "MidiControler:使用できるMIDIデバイスがありません。");
    controler->AllNotesOff();
    CloseMidiOutput(controler);
    EXPECT_EQ(messages.texts().size(), 1U) << "closing a missing output reports nothing";
}

TEST(OpenMidiOutput, AnOutputThatFailsToOpenIsAnUndefinedError) {
    testing::RecordedMessages messages;
    Recorded recorded;
    recorded.output->open_result = false;
    auto controler = OpenMidiOutput(std::move(recorded.owned), 98, 91);
    EXPECT_FALSE(controler->HasOutput());
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"MidiControler:未定義のエラーが発生しました。"});
}

TEST(MidiControler, PacksNotesProgramsAndControllersIntoLowBytes) {
    Recorded recorded;
    MidiControler controler(std::move(recorded.owned));
    controler.SendNoteOn(60, 0);
    controler.SendNoteOff(59, 1);
    controler.SendProgramChange(127, 1);
    controler.SendProgramChange(0x1FF, 0);  // only the low byte enters the message
    const std::vector<std::uint32_t> expected = {0x007F3C90U, 0x00003B81U, 0x00007FC1U,
                                                 0x0000FFC0U};
    EXPECT_EQ(recorded.output->messages(), expected);
}

TEST(MidiControler, AllNotesOffIsController123OnEveryChannelInOrder) {
    Recorded recorded;
    MidiControler controler(std::move(recorded.owned));
    controler.AllNotesOff();
    std::vector<std::uint32_t> expected;
    for (std::uint32_t channel = 0; channel < 16; ++channel) {
        expected.push_back(0xB0U + channel + (123U << 8));
    }
    EXPECT_EQ(recorded.output->messages(), expected);
}

TEST(ApplyInstruments, SendsAProgramChangeOnlyForVoicesThatSound) {
    struct Case {
        std::int32_t right, left;
        std::vector<std::uint32_t> expected;
    };
    const Case cases[] = {{0, 127, {0x0000C0U, 0x007FC1U}},
                          {-1, 40, {0x0028C1U}},
                          {5, -1, {0x0005C0U}},
                          {-1, -1, {}}};
    for (const Case& c : cases) {
        Recorded recorded;
        MidiControler controler(std::move(recorded.owned));
        PerformanceState state;
        state.right_instrument = c.right;
        state.left_instrument = c.left;
        ApplyInstruments(controler, state);
        EXPECT_EQ(recorded.output->messages(), c.expected)
            << "right " << c.right << ", left " << c.left;
    }
}

TEST(CloseMidiOutput, ResetsBeforeClosingAndReportsEachFailure) {
    struct Case {
        bool reset_ok, close_ok;
        std::size_t messages;
    };
    for (const Case& c :
         {Case{true, true, 0}, Case{false, true, 1}, Case{true, false, 1}, Case{false, false, 2}}) {
        testing::RecordedMessages messages;
        Recorded recorded;
        recorded.output->reset_result = c.reset_ok;
        recorded.output->close_result = c.close_ok;
        const auto events = recorded.output->shared_events();
        auto controler = std::make_unique<MidiControler>(std::move(recorded.owned));
        CloseMidiOutput(controler);
        const std::vector<Event> expected = {{Kind::kReset}, {Kind::kClose}};
        EXPECT_EQ(*events, expected) << "reset comes first, and a failed reset still closes";
        EXPECT_EQ(controler, nullptr);
        EXPECT_EQ(messages.texts().size(), c.messages)
            << "reset " << c.reset_ok << ", close " << c.close_ok;
        for (const std::string& text : messages.texts()) {
            EXPECT_EQ(text, "MidiControler:未定義のエラーが発生しました。");
        }
    }
}

}  // namespace
}  // namespace tavrola
