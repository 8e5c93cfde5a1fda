#pragma once

#include <chrono>
#include <optional>

namespace tavrola {

using StreamClock = std::chrono::steady_clock;

// Where the synthesiser's stream stands with the sound server.
enum class StreamState {
    kAsleep,      // no connection, nothing to do: the audio thread blocks
    kConnecting,  // waiting for the server to take the stream
    kStarting,    // taken and filled, not yet begun by the server: the source's time waits
    kStreaming,   // the server asks for sound, one period at a time
    kStalled,     // connected, but the server has stopped asking: keeping time
    kAway,        // the server went away or never answered: keeping time, trying again
};

struct StreamRules {
    // A server that takes the connection but does not answer this long counts as away.
    StreamClock::duration connect_timeout = std::chrono::seconds(2);
    // A sink that renders in long blocks (a null sink, a recorder asking seconds of latency)
    // begins a new stream only with its next block, a second or two on. Meanwhile the
    // source's time waits, so the first note is heard whole; a server that never says it has
    // begun counts as playing after this long.
    StreamClock::duration start_timeout = std::chrono::seconds(3);
    // While the server is away and sound is wanted, a new connection is tried this often.
    StreamClock::duration retry_every = std::chrono::milliseconds(250);
    // A connected server that has not asked for sound this long has stalled (it asks every
    // period); meanwhile the source's time is kept in steps of `stalled_step`.
    StreamClock::duration stall_after = std::chrono::milliseconds(200);
    StreamClock::duration stalled_step = std::chrono::milliseconds(100);
    // Time kept in one step at most: a thread held up longer loses the rest, rather than
    // render seconds at once.
    StreamClock::duration longest_kept_step = std::chrono::seconds(1);
};

// What the audio thread does after a step, in this order.
struct StreamStep {
    bool disconnect = false;             // close the connection and its stream
    StreamClock::duration keep_time{0};  // let the source's time pass, heard by nobody
    bool connect = false;                // open a new connection and stream
};

// The rules of the stream's life, apart from the server and the clock: the audio thread
// reports what happened and the time, and does what the step says. Sleeps when no sound is
// wanted, connects when it is, retries while the server is away; keeps the source's time
// whenever nobody listens, so a returning server hears only what sounds then, but not while a
// new stream waits to begin: nothing has been heard yet, so nothing is late.
class StreamStateMachine {
  public:
    explicit StreamStateMachine(StreamRules rules = {}) : rules_(rules) {}

    // Runs before every wait, so after every event. `wanted`: sound was asked for lately, or
    // something still sounds.
    StreamStep Step(StreamClock::time_point now, bool wanted);
    // The connection or its stream failed, or could not be made.
    void Lose() { lost_ = true; }
    // The server took the stream; it plays it once it says so with Started().
    void Ready(StreamClock::time_point now);
    // The server began playing the stream. Only the first one after Ready() counts: a server
    // says it again after every underrun.
    void Started(StreamClock::time_point now);
    // The server asks for sound. Back from a stall it returns the time to keep before the
    // sound asked for; what was queued before the stall is then stale.
    std::optional<StreamClock::duration> Request(StreamClock::time_point now);
    // When the next step is due if no event comes first; nothing while asleep.
    std::optional<StreamClock::time_point> NextStepDue(StreamClock::time_point now) const;

    StreamState state() const { return state_; }

  private:
    StreamClock::duration KeepTimeUntil(StreamClock::time_point now);

    StreamRules rules_;
    StreamState state_ = StreamState::kAsleep;
    bool lost_ = false;
    StreamClock::time_point connecting_since_;
    StreamClock::time_point ready_since_;
    StreamClock::time_point next_attempt_;
    StreamClock::time_point last_request_;
    StreamClock::time_point kept_until_;
};

}  // namespace tavrola
