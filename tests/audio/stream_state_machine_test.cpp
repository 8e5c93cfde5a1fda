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
    } else if (state != kConnecting) {
        machine.Ready(kStart);
        if (state != kStarting) {
            machine.Started(kStart);
        }
        if (state == kStalled) {
            machine.Step(kStart + milliseconds(300), true);
        }
    }
    return machine;
}

// One step of the machine from each state, after what happened just before it.
enum class Event { kNone, kLost, kRequest, kStarted };
// What the step does to the server's connection.
enum class Link { kKeeps, kDrops, kOpens };
using enum Event;
using enum Link;
struct Case {
    const char* what;
    StreamState from;
    Event event;   // what happened just before the step
    int after_ms;  // since kStart (the stalled machine stalled at 300)
    bool wanted;
    StreamState next;
    Link link;
    int kept_ms;  // time kept by the step, or by the request that ends a stall
};
// clang-format off
const Case kCases[] = {
    {"asleep, wanted: connect",      kAsleep,     kNone,    0,    true,  kConnecting, kOpens, 0},
    {"asleep, unwanted: sleep on",   kAsleep,     kNone,    0,    false, kAsleep,     kKeeps, 0},
    {"connecting, within 2 s",       kConnecting, kNone,    1500, true,  kConnecting, kKeeps, 0},
    {"connecting, 2 s silent: away", kConnecting, kNone,    2100, true,  kAway,       kDrops, 0},
    {"connecting, refused: away",    kConnecting, kLost,    10,   true,  kAway,       kDrops, 0},
    {"connecting, unwanted",         kConnecting, kNone,    10,   false, kAsleep,     kDrops, 0},
    {"taken, not yet begun: waits", kStarting,   kNone,    300,  true,  kStarting,   kKeeps, 0},
    {"taken, filled: still waits",   kStarting,   kRequest, 300,  true,  kStarting,   kKeeps, 0},
    {"begun: streaming",             kStarting,   kStarted, 300,  true,  kStreaming,  kKeeps, 0},
    {"never said it began: streams", kStarting,   kNone,    3000, true,  kStreaming,  kKeeps, 0},
    {"starting, quiet: sleep",       kStarting,   kNone,    50,   false, kAsleep,     kDrops, 0},
    {"streaming, asked lately",      kStreaming,  kNone,    150,  true,  kStreaming,  kKeeps, 0},
    {"streaming, 250 ms unasked",    kStreaming,  kNone,    250,  true,  kStalled,    kKeeps, 250},
    {"streaming, lost: away",        kStreaming,  kLost,    50,   true,  kAway,       kDrops, 0},
    {"streaming, quiet: sleep",      kStreaming,  kNone,    50,   false, kAsleep,     kDrops, 0},
    {"stalled, time goes on",        kStalled,    kNone,    400,  true,  kStalled,    kKeeps, 100},
    {"stalled, asked: streaming",    kStalled,    kRequest, 350,  true,  kStreaming,  kKeeps, 50},
    {"stalled, quiet: sleep",        kStalled,    kNone,    350,  false, kAsleep,     kDrops, 50},
    {"away, before the retry",       kAway,       kNone,    100,  true,  kAway,       kKeeps, 100},
    {"away, retry due",              kAway,       kNone,    250,  true,  kConnecting, kOpens, 250},
    {"away, quiet: sleep",           kAway,       kNone,    100,  false, kAsleep,     kKeeps, 100},
    {"away long: 1 s kept at most",  kAway,       kNone,    5000, false, kAsleep,     kKeeps, 1000},
};
// clang-format on

TEST(StreamStateMachine, EachSituationLeadsToItsNextStateAndActions) {
    for (const Case& c : kCases) {
        StreamStateMachine machine = MachineIn(c.from);
        ASSERT_EQ(machine.state(), c.from) << c.what << ": set-up";
        const StreamClock::time_point now = kStart + milliseconds(c.after_ms);
        StreamClock::duration kept{0};
        if (c.event == kLost) {
            machine.Lose();
            EXPECT_EQ(machine.NextStepDue(now), now) << c.what << ": a loss is handled at once";
        } else if (c.event == kRequest) {
            kept = machine.Request(now).value_or(kept);
        } else if (c.event == kStarted) {
            machine.Started(now);
        }
        const StreamStep step = machine.Step(now, c.wanted);
        kept += step.keep_time;
        EXPECT_EQ(machine.state(), c.next) << c.what;
        EXPECT_EQ(step.disconnect, c.link == kDrops) << c.what;
        EXPECT_EQ(step.connect, c.link == kOpens) << c.what;
        EXPECT_EQ(std::chrono::duration_cast<milliseconds>(kept).count(), c.kept_ms) << c.what;
    }
}

TEST(StreamStateMachine, OnlyASleepingStreamWaitsWithoutAClock) {
    EXPECT_EQ(MachineIn(kAsleep).NextStepDue(kStart), std::nullopt);
    EXPECT_EQ(MachineIn(kConnecting).NextStepDue(kStart), kStart + std::chrono::seconds(2));
    EXPECT_EQ(MachineIn(kStarting).NextStepDue(kStart), kStart + std::chrono::seconds(3));
    EXPECT_EQ(MachineIn(kStreaming).NextStepDue(kStart), kStart + milliseconds(200));
    EXPECT_EQ(MachineIn(kAway).NextStepDue(kStart), kStart + milliseconds(250));
}

}  // namespace
}  // namespace tavrola
