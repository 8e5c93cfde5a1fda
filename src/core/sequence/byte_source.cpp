#include "core/sequence/byte_source.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace tavrola {

ByteRead ByteSource::Skip(std::int64_t count) {
    std::array<char, 16384> scrap{};
    ByteRead skipped;
    while (count > 0) {
        const ByteRead got = Read(scrap.data(), static_cast<std::size_t>(std::min<std::int64_t>(
                                                    count, std::int64_t{scrap.size()})));
        if (got.outcome != ReadOutcome::kOk) {
            return {skipped.count, got.outcome, got.system_error};
        }
        if (got.count == 0) {
            break;
        }
        skipped.count += got.count;
        count -= static_cast<std::int64_t>(got.count);
    }
    return skipped;
}

FileDescriptor::~FileDescriptor() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

FileByteSource::FileByteSource(int borrowed_descriptor, StopRequested stop)
    : descriptor_(borrowed_descriptor), stop_(std::move(stop)) {
    struct stat status {};
    if (::fstat(descriptor_, &status) == 0 && S_ISREG(status.st_mode)) {
        regular_size_ = status.st_size;
    }
}

FileByteSource::FileByteSource(FileDescriptor owned, std::int64_t regular_size, StopRequested stop)
    : owned_(std::move(owned)),
      descriptor_(owned_.get()),
      regular_size_(regular_size),
      stop_(std::move(stop)) {}

ByteRead FileByteSource::Read(char* buffer, std::size_t capacity) {
    for (;;) {
        if (stop_ && stop_()) {
            return {0, ReadOutcome::kInterrupted, EINTR};
        }
        const ssize_t got = ::read(descriptor_, buffer, capacity);
        if (got >= 0) {
            return {static_cast<std::size_t>(got), ReadOutcome::kOk, 0};
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // A descriptor left non-blocking by whoever started us: wait for it as a blocking
            // read would.
            pollfd ready{descriptor_, POLLIN, 0};
            if (::poll(&ready, 1, -1) >= 0) {
                continue;
            }
            if (errno != EINTR) {
                return {0, ReadOutcome::kReadError, errno};
            }
        } else if (errno != EINTR) {
            return {0, ReadOutcome::kReadError, errno};
        }
        // A signal: without a predicate to say it was harmless, it ends the reading.
        if (!stop_) {
            return {0, ReadOutcome::kInterrupted, EINTR};
        }
    }
}

ByteRead FileByteSource::Skip(std::int64_t count) {
    if (!regular_size_) {
        return ByteSource::Skip(count);
    }
    const off_t here = ::lseek(descriptor_, 0, SEEK_CUR);
    if (here < 0) {
        return ByteSource::Skip(count);
    }
    // Never past the end, so the count says how many bytes there really were.
    struct stat status {};
    const std::int64_t size = ::fstat(descriptor_, &status) == 0 ? status.st_size : *regular_size_;
    const std::int64_t step = std::clamp<std::int64_t>(size - here, 0, count);
    if (::lseek(descriptor_, static_cast<off_t>(here + step), SEEK_SET) < 0) {
        return {0, ReadOutcome::kReadError, errno};
    }
    return {static_cast<std::size_t>(step), ReadOutcome::kOk, 0};
}

OpenedSequenceFile OpenedSequenceFile::Open(const std::filesystem::path& file, StopRequested stop) {
    OpenedSequenceFile opened;
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        opened.outcome = ReadOutcome::kCannotOpen;
        opened.system_error = errno;
        return opened;
    }
    if (!S_ISREG(status.st_mode)) {
        opened.outcome = ReadOutcome::kNotRegularFile;
        return opened;
    }
    FileDescriptor descriptor(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (descriptor.get() < 0) {
        opened.outcome = ReadOutcome::kCannotOpen;
        opened.system_error = errno;
        return opened;
    }
    // The name may have been replaced between the look and the open.
    if (::fstat(descriptor.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        opened.outcome = ReadOutcome::kNotRegularFile;
        return opened;
    }
    opened.source.emplace(FileByteSource(std::move(descriptor), status.st_size, std::move(stop)));
    return opened;
}

ByteRead MemoryByteSource::Read(char* buffer, std::size_t capacity) {
    const std::size_t count = std::min(capacity, bytes_.size());
    std::memcpy(buffer, bytes_.data(), count);
    bytes_.remove_prefix(count);
    return {count, ReadOutcome::kOk, 0};
}

ByteRead PrefixedByteSource::Read(char* buffer, std::size_t capacity) {
    if (next_ < held_.size()) {
        const std::size_t count = std::min(capacity, held_.size() - next_);
        std::memcpy(buffer, held_.data() + next_, count);
        next_ += count;
        return {count, ReadOutcome::kOk, 0};
    }
    return inner_.Read(buffer, capacity);
}

ByteRead PrefixedByteSource::Skip(std::int64_t count) {
    const auto from_held = static_cast<std::size_t>(
        std::min<std::int64_t>(count, static_cast<std::int64_t>(held_.size() - next_)));
    next_ += from_held;
    if (static_cast<std::int64_t>(from_held) == count) {
        return {from_held, ReadOutcome::kOk, 0};
    }
    ByteRead rest = inner_.Skip(count - static_cast<std::int64_t>(from_held));
    rest.count += from_held;
    return rest;
}

ByteRead ReadUpTo(ByteSource& source, std::string& buffer, std::size_t wanted) {
    while (buffer.size() < wanted) {
        const std::size_t had = buffer.size();
        buffer.resize(wanted);
        const ByteRead got = source.Read(buffer.data() + had, wanted - had);
        buffer.resize(had + got.count);
        if (got.outcome != ReadOutcome::kOk || got.count == 0) {
            return got;
        }
    }
    return {};
}

}  // namespace tavrola
