#include "audio/stream_state_machine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace tavrola {
namespace {

using std::chrono::milliseconds;
using enum StreamState;

const StreamClock::time_point kStart{std::chrono::seconds(1000)};

// A machine brought into `state` at kStart, as the audio thread would bring it there.
StreamStateMachine MachineIn(StreamState state) {
    StreamStateMachine machine;
    if (state == kAsleep) {
        return machine;
    }
    machine.Step(kStart, true);  // connecting
    if (state == kAway) {
        machine.Lose();
        machine.Step(kStart, true);
    } else if (state == kStreaming || state == kStalled) {
        machine.Ready(kStart);
        if (state == kStalled) {
            machine.Step(kStart + milliseconds(300), true);
        }
    }
    return machine;
}

TEST(StreamStateMachine, EachSituationLeadsToItsNextStateAndActions) {
    enum class Event { kNone, kLost, kRequest };
    struct Case {
        const char* what;
        StreamState from;
        Event event;   // what happened just before the step
        int after_ms;  // since kStart (the stalled machine stalled at 300)
        bool wanted;
        StreamState next;
        bool disconnect;
        bool connect;
        int kept_ms;  // time kept by the step, or by the request that ends a stall
    };
    const Case cases[] = {
        {"asleep, sound wanted: connect", kAsleep, Event::kNone, 0, true, kConnecting, false, true,
         0},
        {"asleep, nothing wanted: sleep on", kAsleep, Event::kNone, 0, false, kAsleep, false, false,
         0},
        {"connecting within the limit", kConnecting, Event::kNone, 1500, true, kConnecting, false,
         false, 0},
        {"connecting, no answer in 2 s: away", kConnecting, Event::kNone, 2100, true, kAway, true,
         false, 0},
        {"connecting, refused: away", kConnecting, Event::kLost, 10, true, kAway, true, false, 0},
        {"connecting, no longer wanted", kConnecting, Event::kNone, 10, false, kAsleep, true, false,
         0},
        {"streaming, asked lately", kStreaming, Event::kNone, 150, true, kStreaming, false, false,
         0},
        {"streaming, not asked for 250 ms: stalled", kStreaming, Event::kNone, 250, true, kStalled,
         false, false, 250},
        {"streaming, server gone: away", kStreaming, Event::kLost, 50, true, kAway, true, false, 0},
        {"streaming, quiet: sleep", kStreaming, Event::kNone, 50, false, kAsleep, true, false, 0},
        {"stalled, time goes on", kStalled, Event::kNone, 400, true, kStalled, false, false, 100},
        {"stalled, asked again: streaming", kStalled, Event::kRequest, 350, true, kStreaming, false,
         false, 50},
        {"stalled, quiet: sleep", kStalled, Event::kNone, 350, false, kAsleep, true, false, 50},
        {"away, before the retry", kAway, Event::kNone, 100, true, kAway, false, false, 100},
        {"away, retry due", kAway, Event::kNone, 250, true, kConnecting, false, true, 250},
        {"away, quiet: sleep", kAway, Event::kNone, 100, false, kAsleep, false, false, 100},
        {"away for long: at most a second kept", kAway, Event::kNone, 5000, false, kAsleep, false,
         false, 1000},
    };
    for (const Case& c : cases) {
        StreamStateMachine machine = MachineIn(c.from);
        ASSERT_EQ(machine.state(), c.from) << c.what << ": set-up";
        const StreamClock::time_point now = kStart + milliseconds(c.after_ms);
        StreamClock::duration kept{0};
        if (c.event == Event::kLost) {
            machine.Lose();
            EXPECT_EQ(machine.NextStepDue(now), now) << c.what << ": a loss is handled at once";
        } else if (c.event == Event::kRequest) {
            kept = machine.Request(now).value_or(kept);
        }
        const StreamStep step = machine.Step(now, c.wanted);
        kept += step.keep_time;
        EXPECT_EQ(machine.state(), c.next) << c.what;
        EXPECT_EQ(step.disconnect, c.disconnect) << c.what;
        EXPECT_EQ(step.connect, c.connect) << c.what;
        EXPECT_EQ(std::chrono::duration_cast<milliseconds>(kept).count(), c.kept_ms) << c.what;
    }
}

TEST(StreamStateMachine, OnlyASleepingStreamWaitsWithoutAClock) {
    EXPECT_EQ(MachineIn(kAsleep).NextStepDue(kStart), std::nullopt);
    EXPECT_EQ(MachineIn(kConnecting).NextStepDue(kStart), kStart + std::chrono::seconds(2));
    EXPECT_EQ(MachineIn(kStreaming).NextStepDue(kStart), kStart + milliseconds(200));
    EXPECT_EQ(MachineIn(kAway).NextStepDue(kStart), kStart + milliseconds(250));
}

}  // namespace
}  // namespace tavrola
