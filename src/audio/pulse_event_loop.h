#pragma once

#include <chrono>
#include <memory>
#include <optional>

struct pa_mainloop_api;

namespace tavrola {

// The audio thread's own event loop for libpulse, in place of pa_mainloop: one epoll set that
// lives as long as the loop, deferred events run before each wait rather than woken through a
// pipe, and nothing of it is shared with another thread. Per period of sound it waits once per
// message from the server, where pa_mainloop also writes to, polls and reads its wake-up pipe
// for every block written. Used by one thread only.
class PulseEventLoop {
  public:
    PulseEventLoop();
    // Frees what libpulse left registered, calling their destroy callbacks.
    ~PulseEventLoop();
    PulseEventLoop(const PulseEventLoop&) = delete;
    PulseEventLoop& operator=(const PulseEventLoop&) = delete;

    // False when the loop could not be made (no epoll).
    bool valid() const;
    // What libpulse (and the loop's owner) registers its events with.
    pa_mainloop_api* api();

    // Runs the deferred events, waits for a file event or a timer at most `timeout` (forever
    // when empty; not at all while a deferred event is pending) and dispatches what happened.
    // False when the wait failed.
    bool Iterate(std::optional<std::chrono::microseconds> timeout);

  private:
    struct Events;
    std::unique_ptr<Events> events_;
};

}  // namespace tavrola
