#include "cli/sequence_input.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <string_view>

namespace tavrola {
namespace {

constexpr const char* kStandardInput = "-";

InputSequence Refused(std::string sentence) {
    return {std::nullopt, std::move(sentence)};
}

// The dialog's refusals, and the one its fields cannot reach: a stretch past the end.
std::string RangeProblem(const ReadRange& range, std::int64_t size, const std::string& name) {
    switch (CheckTargetArea(range)) {
        case TargetAreaVerdict::kWrongRange:
            return "the range is wrong: END must come after START";
        case TargetAreaVerdict::kTooLarge:
            return "the range is too large: at most " + std::to_string(kLoadLimit) + " bytes";
        case TargetAreaVerdict::kAccepted:
            break;
    }
    if (range.end >= size) {
        return "the range reaches past the end of " + name + " (" + std::to_string(size) +
               " bytes)";
    }
    return {};
}

std::string TooLong(const std::string& name, std::int64_t size) {
    return name + " holds " + std::to_string(size) + " bytes, more than the " +
           std::to_string(kLoadLimit) + " a load takes: choose a stretch with --range START:END";
}

InputSequence Parse(std::string_view bytes, const std::string& name) {
    BaseSequence sequence = ParseSequenceText(DecodeFileText(bytes));
    if (sequence.empty()) {
        return Refused(name + " holds no bases (A, C, G or T)");
    }
    return {std::move(sequence), {}};
}

// Standard input as it is read: in pieces, waiting for more only until `stop` is readable.
class StandardInput {
  public:
    StandardInput(int descriptor, int stop) : descriptor_(descriptor), stop_(stop) {}

    // Up to `count` more bytes (at most a piece's), fewer only at the end; appended to `bytes`
    // unless it is null. False when the read failed or was stopped.
    bool Read(std::size_t count, std::string* bytes) {
        while (count > 0 && !ended_) {
            std::array<pollfd, 2> waits{{{descriptor_, POLLIN, 0}, {stop_, POLLIN, 0}}};
            if (::poll(waits.data(), stop_ >= 0 ? 2 : 1, -1) < 0) {
                if (errno == EINTR) {
                    continue;  // the signal's own byte then wakes the wait for `stop`
                }
                return Failed();
            }
            if (stop_ >= 0 && waits[1].revents != 0) {
                stopped_ = true;
                return false;
            }
            const ssize_t got = ::read(descriptor_, piece_.data(), std::min(count, piece_.size()));
            if (got < 0) {
                if (errno == EINTR || errno == EAGAIN) {
                    continue;
                }
                return Failed();
            }
            ended_ = got == 0;
            count -= static_cast<std::size_t>(got);
            total_ += got;
            if (bytes != nullptr) {
                bytes->append(piece_.data(), static_cast<std::size_t>(got));
            }
        }
        return true;
    }
    bool stopped() const { return stopped_; }
    bool ended() const { return ended_; }
    std::int64_t total() const { return total_; }
    int error() const { return error_; }

  private:
    bool Failed() {
        error_ = errno;
        return false;
    }

    const int descriptor_;
    const int stop_;
    std::array<char, kLoadLimit> piece_{};
    std::int64_t total_ = 0;
    bool ended_ = false;
    bool stopped_ = false;
    int error_ = 0;
};

InputSequence ReadStandardInput(const std::optional<ReadRange>& range, int descriptor, int stop) {
    const std::string name = "standard input";
    if (range) {
        // The dialog's checks come first: nothing is read for a range it would refuse.
        if (const std::string problem =
                RangeProblem(*range, std::numeric_limits<std::int64_t>::max(), name);
            !problem.empty()) {
            return Refused(problem);
        }
    }
    StandardInput in(descriptor, stop);
    std::string bytes;
    bool read = true;
    if (range) {
        // What lies before the stretch is skipped a piece at a time.
        for (std::int64_t left = range->start; read && left > 0 && !in.ended();
             left -= kLoadLimit) {
            read = in.Read(static_cast<std::size_t>(std::min<std::int64_t>(left, kLoadLimit)),
                           nullptr);
        }
        read = read && in.Read(static_cast<std::size_t>(range->end - range->start + 1), &bytes);
    } else {
        read = in.Read(static_cast<std::size_t>(kLoadLimit) + 1, &bytes);
    }
    if (in.stopped()) {
        InputSequence stopped;
        stopped.stopped = true;
        return stopped;
    }
    if (!read) {
        return Refused("cannot read standard input: " + std::string(std::strerror(in.error())));
    }
    if (!range) {
        return bytes.size() > static_cast<std::size_t>(kLoadLimit)
                   ? Refused(name + " holds more than the " + std::to_string(kLoadLimit) +
                             " bytes a load takes: choose a stretch with --range START:END")
                   : Parse(bytes, name);
    }
    if (const std::string problem = RangeProblem(*range, in.total(), name); !problem.empty()) {
        return Refused(problem);
    }
    return Parse(bytes, name);
}

}  // namespace

InputSequence ReadInputSequence(const std::string& input, const std::optional<ReadRange>& range,
                                int standard_input, int stop) {
    if (input == kStandardInput) {
        return ReadStandardInput(range, standard_input, stop);
    }

    const std::string name = "INPUT " + input;
    struct stat status {};
    if (::stat(input.c_str(), &status) != 0) {
        return Refused(errno == ENOENT ? name + " does not exist"
                                       : "cannot read " + name + ": " + std::strerror(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        return Refused(name + " is not a regular file (- reads standard input)");
    }
    const std::int64_t size = status.st_size;
    if (!range && size > kLoadLimit) {
        return Refused(TooLong(name, size));
    }
    const ReadRange stretch = range.value_or(ReadRange{0, static_cast<std::int32_t>(size) - 1});
    if (range) {
        if (const std::string problem = RangeProblem(*range, size, name); !problem.empty()) {
            return Refused(problem);
        }
    }
    std::ifstream file(input, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(std::max(0, stretch.end - stretch.start + 1)), '\0');
    if (!file || !file.seekg(stretch.start) ||
        !file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        return Refused("cannot read " + name + ": " + std::strerror(errno));
    }
    return Parse(bytes, name);
}

}  // namespace tavrola
