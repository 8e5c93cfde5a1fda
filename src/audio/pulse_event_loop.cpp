#include "audio/pulse_event_loop.h"

#include <fcntl.h>
#include <pulse/mainloop-api.h>
#include <sys/epoll.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <vector>

// libpulse leaves its event types to each loop: these are this loop's. Every event knows the
// api it was made with, whose userdata is the loop. A freed event is only marked dead: a
// dispatch under way may still hold it; the loop deletes it once the dispatch is over.
struct pa_io_event {
    pa_mainloop_api* api;
    int fd;
    int watched_fd;  // `fd`, or a duplicate where another event already watches `fd`
    std::uint32_t watched_events;
    pa_io_event_cb_t callback;
    void* userdata;
    pa_io_event_destroy_cb_t destroy = nullptr;
    bool dead = false;
};

struct pa_time_event {
    pa_mainloop_api* api;
    bool enabled;
    std::int64_t due_us;  // on the monotonic clock
    timeval requested;    // as libpulse gave it, handed back when it fires
    pa_time_event_cb_t callback;
    void* userdata;
    pa_time_event_destroy_cb_t destroy = nullptr;
    bool dead = false;
};

struct pa_defer_event {
    pa_mainloop_api* api;
    bool enabled;
    pa_defer_event_cb_t callback;
    void* userdata;
    pa_defer_event_destroy_cb_t destroy = nullptr;
    bool dead = false;
};

namespace tavrola {

namespace {

// libpulse marks a time on the monotonic clock with this bit of tv_usec; other times are on
// the wall clock.
constexpr suseconds_t kMonotonicTimeBit = suseconds_t{1} << 30;
constexpr int kMostEventsAtOnce = 16;

std::int64_t MonotonicMicroseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000 + now.tv_nsec / 1000;
}

std::int64_t MonotonicDue(const timeval& when) {
    if ((when.tv_usec & kMonotonicTimeBit) != 0) {
        return std::int64_t{when.tv_sec} * 1'000'000 + (when.tv_usec & ~kMonotonicTimeBit);
    }
    timeval wall{};
    ::gettimeofday(&wall, nullptr);
    const std::int64_t ahead =
        (std::int64_t{when.tv_sec} - wall.tv_sec) * 1'000'000 + (when.tv_usec - wall.tv_usec);
    return MonotonicMicroseconds() + ahead;
}

std::uint32_t ToEpoll(pa_io_event_flags_t flags) {
    return ((flags & PA_IO_EVENT_INPUT) != 0 ? EPOLLIN : 0U) |
           ((flags & PA_IO_EVENT_OUTPUT) != 0 ? EPOLLOUT : 0U) |
           ((flags & PA_IO_EVENT_HANGUP) != 0 ? EPOLLHUP : 0U) |
           ((flags & PA_IO_EVENT_ERROR) != 0 ? EPOLLERR : 0U);
}

pa_io_event_flags_t FromEpoll(std::uint32_t events) {
    return static_cast<pa_io_event_flags_t>(((events & EPOLLIN) != 0 ? PA_IO_EVENT_INPUT : 0) |
                                            ((events & EPOLLOUT) != 0 ? PA_IO_EVENT_OUTPUT : 0) |
                                            ((events & EPOLLHUP) != 0 ? PA_IO_EVENT_HANGUP : 0) |
                                            ((events & EPOLLERR) != 0 ? PA_IO_EVENT_ERROR : 0));
}

}  // namespace

struct PulseEventLoop::Events {
    pa_mainloop_api api{};
    int epoll_fd = ::epoll_create1(EPOLL_CLOEXEC);
    std::vector<pa_io_event*> io;
    std::vector<pa_time_event*> timers;
    std::vector<pa_defer_event*> defers;
    bool dead_events = false;

    Events() {
        api.userdata = this;
        api.io_new = IoNew;
        api.io_enable = IoEnable;
        api.io_free = [](pa_io_event* e) {
            Of(e->api).Forget(e->watched_fd);
            if (e->watched_fd != e->fd) {
                ::close(e->watched_fd);
            }
            e->watched_fd = -1;
            Of(e->api).Bury(e);
        };
        api.io_set_destroy = [](pa_io_event* e, pa_io_event_destroy_cb_t destroy) {
            e->destroy = destroy;
        };
        api.time_new = [](pa_mainloop_api* a, const timeval* when, pa_time_event_cb_t callback,
                          void* userdata) {
            auto* e = new pa_time_event{a, false, 0, {}, callback, userdata};
            Restart(e, when);
            Of(a).timers.push_back(e);
            return e;
        };
        api.time_restart = Restart;
        api.time_free = [](pa_time_event* e) { Of(e->api).Bury(e); };
        api.time_set_destroy = [](pa_time_event* e, pa_time_event_destroy_cb_t destroy) {
            e->destroy = destroy;
        };
        api.defer_new = [](pa_mainloop_api* a, pa_defer_event_cb_t callback, void* userdata) {
            auto* e = new pa_defer_event{a, true, callback, userdata};
            Of(a).defers.push_back(e);
            return e;
        };
        api.defer_enable = [](pa_defer_event* e, int enable) { e->enabled = enable != 0; };
        api.defer_free = [](pa_defer_event* e) { Of(e->api).Bury(e); };
        api.defer_set_destroy = [](pa_defer_event* e, pa_defer_event_destroy_cb_t destroy) {
            e->destroy = destroy;
        };
        api.quit = [](pa_mainloop_api*, int) {};
    }

    ~Events() {
        for (pa_io_event* e : io) {
            if (!e->dead) {
                api.io_free(e);
            }
        }
        for (pa_time_event* e : timers) {
            e->dead = true;
        }
        for (pa_defer_event* e : defers) {
            e->dead = true;
        }
        DeleteDead();
        if (epoll_fd >= 0) {
            ::close(epoll_fd);
        }
    }
    Events(const Events&) = delete;
    Events& operator=(const Events&) = delete;

    static Events& Of(pa_mainloop_api* a) { return *static_cast<Events*>(a->userdata); }

    static pa_io_event* IoNew(pa_mainloop_api* a, int fd, pa_io_event_flags_t flags,
                              pa_io_event_cb_t callback, void* userdata) {
        Events& loop = Of(a);
        auto* e = new pa_io_event{a, fd, fd, ToEpoll(flags), callback, userdata};
        epoll_event watched{.events = e->watched_events, .data = {.ptr = e}};
        if (::epoll_ctl(loop.epoll_fd, EPOLL_CTL_ADD, fd, &watched) < 0 && errno == EEXIST) {
            // epoll watches a descriptor once; a duplicate stands for the second event.
            e->watched_fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
            ::epoll_ctl(loop.epoll_fd, EPOLL_CTL_ADD, e->watched_fd, &watched);
        }
        loop.io.push_back(e);
        return e;
    }

    static void IoEnable(pa_io_event* e, pa_io_event_flags_t flags) {
        const std::uint32_t wanted = ToEpoll(flags);
        if (wanted == e->watched_events || e->dead) {
            return;  // libpulse re-enables the same events after every read and write
        }
        e->watched_events = wanted;
        epoll_event watched{.events = wanted, .data = {.ptr = e}};
        ::epoll_ctl(Of(e->api).epoll_fd, EPOLL_CTL_MOD, e->watched_fd, &watched);
    }

    static void Restart(pa_time_event* e, const timeval* when) {
        e->enabled = when != nullptr;
        if (when != nullptr) {
            e->requested = *when;
            e->due_us = MonotonicDue(*when);
        }
    }

    void Forget(int fd) const {
        if (fd >= 0) {
            ::epoll_ctl(epoll_fd, EPOLL_CTL_DEL, fd, nullptr);
        }
    }

    template <typename Event>
    void Bury(Event* e) {
        e->dead = true;
        dead_events = true;
    }

    void RunDeferred() {
        // By index: a callback may add events.
        for (std::size_t i = 0; i < defers.size(); ++i) {
            pa_defer_event* e = defers[i];
            if (e->enabled && !e->dead) {
                e->callback(&api, e, e->userdata);
            }
        }
    }

    bool AnyDeferred() const {
        return std::any_of(defers.begin(), defers.end(),
                           [](const pa_defer_event* e) { return e->enabled && !e->dead; });
    }

    // Milliseconds epoll may wait: the earliest of `timeout` and the timers, rounded up.
    int WaitMilliseconds(std::optional<std::chrono::microseconds> timeout) const {
        if (AnyDeferred()) {
            return 0;
        }
        std::optional<std::int64_t> wait_us;
        if (timeout) {
            wait_us = std::max<std::int64_t>(timeout->count(), 0);
        }
        const std::int64_t now = MonotonicMicroseconds();
        for (const pa_time_event* e : timers) {
            if (e->enabled && !e->dead) {
                const std::int64_t until = std::max<std::int64_t>(e->due_us - now, 0);
                wait_us = wait_us ? std::min(*wait_us, until) : until;
            }
        }
        if (!wait_us) {
            return -1;
        }
        return static_cast<int>(std::min<std::int64_t>((*wait_us + 999) / 1000, 60'000));
    }

    void FireTimers() {
        const std::int64_t now = MonotonicMicroseconds();
        for (std::size_t i = 0; i < timers.size(); ++i) {
            pa_time_event* e = timers[i];
            if (e->enabled && !e->dead && e->due_us <= now) {
                e->enabled = false;  // one-shot; the callback may restart it
                e->callback(&api, e, &e->requested, e->userdata);
            }
        }
    }

    template <typename Event>
    void DeleteDeadOf(std::vector<Event*>& events) {
        std::erase_if(events, [this](Event* e) {
            if (!e->dead) {
                return false;
            }
            if (e->destroy != nullptr) {
                e->destroy(&api, e, e->userdata);
            }
            delete e;
            return true;
        });
    }

    void DeleteDead() {
        DeleteDeadOf(io);
        DeleteDeadOf(timers);
        DeleteDeadOf(defers);
        dead_events = false;
    }
};

PulseEventLoop::PulseEventLoop() : events_(std::make_unique<Events>()) {}

PulseEventLoop::~PulseEventLoop() = default;

bool PulseEventLoop::valid() const {
    return events_->epoll_fd >= 0;
}

pa_mainloop_api* PulseEventLoop::api() {
    return &events_->api;
}

bool PulseEventLoop::Iterate(std::optional<std::chrono::microseconds> timeout) {
    Events& loop = *events_;
    loop.RunDeferred();
    epoll_event ready[kMostEventsAtOnce];
    const int count =
        ::epoll_wait(loop.epoll_fd, ready, kMostEventsAtOnce, loop.WaitMilliseconds(timeout));
    if (count < 0 && errno != EINTR) {
        return false;
    }
    loop.FireTimers();
    for (int i = 0; i < count; ++i) {
        auto* e = static_cast<pa_io_event*>(ready[i].data.ptr);
        if (!e->dead) {
            e->callback(&loop.api, e, e->fd, FromEpoll(ready[i].events), e->userdata);
        }
    }
    if (loop.dead_events) {
        loop.DeleteDead();
    }
    return true;
}

}  // namespace tavrola
