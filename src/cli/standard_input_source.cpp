#include "cli/standard_input_source.h"

#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace tavrola {

ByteRead WakeableInputSource::Read(char* buffer, std::size_t capacity) {
    for (;;) {
        std::array<pollfd, 2> waits{{{descriptor_, POLLIN, 0}, {wake_, POLLIN, 0}}};
        if (::poll(waits.data(), wake_ >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR) {
                continue;  // a termination signal's own byte then wakes the wait
            }
            return {0, ReadOutcome::kReadError, errno};
        }
        if (wake_ >= 0 && waits[1].revents != 0) {
            return {0, ReadOutcome::kInterrupted, EINTR};
        }
        const ssize_t got = ::read(descriptor_, buffer, capacity);
        if (got >= 0) {
            return {static_cast<std::size_t>(got), ReadOutcome::kOk, 0};
        }
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
            return {0, ReadOutcome::kReadError, errno};
        }
    }
}

bool WakeDescriptorReady(int wake) {
    pollfd ready{wake, POLLIN, 0};
    return wake >= 0 && ::poll(&ready, 1, 0) > 0 && ready.revents != 0;
}

}  // namespace tavrola
