#include "audio/stream_state_machine.h"

#include <algorithm>

namespace tavrola {

StreamStep StreamStateMachine::Step(StreamClock::time_point now, bool wanted) {
    StreamStep step;
    if (state_ == StreamState::kConnecting && now - connecting_since_ > rules_.connect_timeout) {
        lost_ = true;
    }
    if (lost_) {
        lost_ = false;
        step.disconnect = true;
        state_ = StreamState::kAway;
        next_attempt_ = now + rules_.retry_every;
        kept_until_ = now;
    }
    if (state_ == StreamState::kStarting && now - ready_since_ >= rules_.start_timeout) {
        Started(now);
    }
    if (state_ == StreamState::kStreaming && now - last_request_ > rules_.stall_after) {
        state_ = StreamState::kStalled;
        kept_until_ = last_request_;
    }
    if (state_ == StreamState::kAway || state_ == StreamState::kStalled) {
        step.keep_time = KeepTimeUntil(now);
    }
    const auto connect = [&] {
        step.connect = true;
        state_ = StreamState::kConnecting;
        connecting_since_ = now;
    };
    switch (state_) {
        case StreamState::kAsleep:
            if (wanted) {
                connect();
            }
            break;
        case StreamState::kConnecting:
        case StreamState::kStarting:
        case StreamState::kStreaming:
        case StreamState::kStalled:
            if (!wanted) {
                step.disconnect = true;
                state_ = StreamState::kAsleep;
            }
            break;
        case StreamState::kAway:
            if (!wanted) {
                state_ = StreamState::kAsleep;
            } else if (now >= next_attempt_) {
                connect();
            }
            break;
    }
    return step;
}

void StreamStateMachine::Ready(StreamClock::time_point now) {
    state_ = StreamState::kStarting;
    ready_since_ = now;
}

void StreamStateMachine::Started(StreamClock::time_point now) {
    if (state_ == StreamState::kStarting) {
        state_ = StreamState::kStreaming;
        last_request_ = now;
    }
}

std::optional<StreamClock::duration> StreamStateMachine::Request(StreamClock::time_point now) {
    last_request_ = now;
    if (state_ != StreamState::kStalled) {
        return std::nullopt;
    }
    state_ = StreamState::kStreaming;
    return KeepTimeUntil(now);
}

std::optional<StreamClock::time_point> StreamStateMachine::NextStepDue(
    StreamClock::time_point now) const {
    if (lost_) {
        return now;
    }
    switch (state_) {
        case StreamState::kAsleep:
            return std::nullopt;
        case StreamState::kConnecting:
            return connecting_since_ + rules_.connect_timeout;
        case StreamState::kStarting:
            return ready_since_ + rules_.start_timeout;
        case StreamState::kStreaming:
            return last_request_ + rules_.stall_after;
        case StreamState::kStalled:
            return now + rules_.stalled_step;
        case StreamState::kAway:
            return next_attempt_;
    }
    return std::nullopt;
}

StreamClock::duration StreamStateMachine::KeepTimeUntil(StreamClock::time_point now) {
    const StreamClock::duration kept = std::min(now - kept_until_, rules_.longest_kept_step);
    kept_until_ = now;
    return std::max(kept, StreamClock::duration::zero());
}

}  // namespace tavrola
