#include "audio/pulse_event_loop.h"

#include <gtest/gtest.h>
#include <pulse/mainloop-api.h>
#include <pulse/timeval.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <ctime>

namespace tavrola {
namespace {

using std::chrono::milliseconds;

struct Counts {
    pa_io_event* readers[2] = {nullptr, nullptr};
    int io = 0;
    int timer = 0;
    int deferred = 0;
    int destroyed = 0;
};

Counts& CountsOf(void* userdata) {
    return *static_cast<Counts*>(userdata);
}

// A time `ms` from now as libpulse writes it: on the wall clock, or on the monotonic clock
// with its mark in tv_usec.
timeval In(milliseconds ms, bool monotonic) {
    timeval when{};
    if (monotonic) {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        when = {now.tv_sec, static_cast<suseconds_t>(now.tv_nsec / 1000)};
    } else {
        ::gettimeofday(&when, nullptr);
    }
    pa_timeval_add(&when, static_cast<pa_usec_t>(ms.count()) * 1000);
    if (monotonic) {
        when.tv_usec |= suseconds_t{1} << 30;
    }
    return when;
}

TEST(PulseEventLoop, TimersFireOnceOnEitherClockAndDeferredEventsNeverLetItSleep) {
    for (const bool monotonic : {true, false}) {
        Counts counts;
        {
            PulseEventLoop loop;
            ASSERT_TRUE(loop.valid());
            pa_mainloop_api* api = loop.api();
            const timeval soon = In(milliseconds(30), monotonic);
            pa_time_event* timer = api->time_new(
                api, &soon,
                [](pa_mainloop_api*, pa_time_event*, const timeval*, void* c) {
                    ++CountsOf(c).timer;
                },
                &counts);
            api->time_set_destroy(
                timer, [](pa_mainloop_api*, pa_time_event*, void* c) { ++CountsOf(c).destroyed; });
            const auto started = std::chrono::steady_clock::now();
            ASSERT_TRUE(loop.Iterate(std::nullopt)) << "waits for the timer alone";
            EXPECT_EQ(counts.timer, 1) << "monotonic " << monotonic;
            EXPECT_GE(std::chrono::steady_clock::now() - started, milliseconds(25));
            ASSERT_TRUE(loop.Iterate(milliseconds(40)));
            EXPECT_EQ(counts.timer, 1) << "a timer fires once until restarted";

            pa_defer_event* deferred = api->defer_new(
                api, [](pa_mainloop_api*, pa_defer_event*, void* c) { ++CountsOf(c).deferred; },
                &counts);
            api->time_restart(timer, nullptr);
            for (int i = 0; i < 3; ++i) {
                ASSERT_TRUE(loop.Iterate(std::nullopt)) << "a pending deferred event, no wait";
            }
            EXPECT_EQ(counts.deferred, 3);
            api->defer_enable(deferred, 0);
            ASSERT_TRUE(loop.Iterate(milliseconds(5)));
            EXPECT_EQ(counts.deferred, 3);
            EXPECT_EQ(counts.timer, 1) << "a timer restarted with no time never fires";
        }
        EXPECT_EQ(counts.destroyed, 1) << "the loop's end frees what is left";
    }
}

// libpulse frees events from inside callbacks, its own and others' (a connection that fails
// takes all its events with it), and two events may watch one descriptor.
TEST(PulseEventLoop, AFileEventMayFreeEveryEventOfItsDescriptorWhileBothAreReady) {
    int pipe_ends[2];
    ASSERT_EQ(::pipe(pipe_ends), 0);
    Counts counts;
    {
        PulseEventLoop loop;
        pa_mainloop_api* api = loop.api();
        const auto on_input = [](pa_mainloop_api* a, pa_io_event*, int, pa_io_event_flags_t flags,
                                 void* c) {
            EXPECT_TRUE(flags & PA_IO_EVENT_INPUT);
            ++CountsOf(c).io;
            for (pa_io_event*& reader : CountsOf(c).readers) {
                a->io_free(reader);
                reader = nullptr;
            }
        };
        const auto destroyed = [](pa_mainloop_api*, pa_io_event*, void* c) {
            ++CountsOf(c).destroyed;
        };
        for (pa_io_event*& reader : counts.readers) {
            reader = api->io_new(api, pipe_ends[0], PA_IO_EVENT_INPUT, on_input, &counts);
            api->io_set_destroy(reader, destroyed);
        }
        pa_io_event* idle = api->io_new(api, pipe_ends[1], PA_IO_EVENT_NULL, on_input, &counts);
        api->io_set_destroy(idle, destroyed);
        ASSERT_EQ(::write(pipe_ends[1], "x", 1), 1);
        ASSERT_TRUE(loop.Iterate(milliseconds(1000)));
        EXPECT_EQ(counts.io, 1) << "the event freed by the first is not called";
        EXPECT_EQ(counts.destroyed, 2) << "each freed event destroyed once, after the dispatch";
    }
    EXPECT_EQ(counts.destroyed, 3) << "the loop's end frees what is left";
    ::close(pipe_ends[0]);
    ::close(pipe_ends[1]);
}

}  // namespace
}  // namespace tavrola
