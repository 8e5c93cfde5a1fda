#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/sequence/read_outcome.h"

namespace tavrola {

// One step of a read: how many bytes came (0 with kOk is the end of the data), or why none.
struct ByteRead {
    std::size_t count = 0;
    ReadOutcome outcome = ReadOutcome::kOk;
    int system_error = 0;  // errno, for kCannotOpen and kReadError
};

// Bytes in order, read once: a file, standard input, unpacked gzip, text held in memory.
class ByteSource {
  public:
    virtual ~ByteSource() = default;

    // Up to `capacity` bytes into `buffer`.
    virtual ByteRead Read(char* buffer, std::size_t capacity) = 0;

    // Passes over `count` bytes; the count is how many there were, fewer at the end. By
    // default they are read and dropped, so nothing is held.
    virtual ByteRead Skip(std::int64_t count);
};

// Closes the descriptor it owns however the reading ends.
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return descriptor_; }

  private:
    int descriptor_ = -1;
};

// A descriptor read with read(2): a regular file (skipped over with a seek), or standard input
// borrowed as it is. A signal that interrupts a blocking read ends it unless `stop` says to go
// on; `stop` is asked before every read as well.
class FileByteSource : public ByteSource {
  public:
    // Standard input or another descriptor the caller keeps open.
    FileByteSource(int borrowed_descriptor, StopRequested stop);

    ByteRead Read(char* buffer, std::size_t capacity) override;
    ByteRead Skip(std::int64_t count) override;

    // The file's size when it is a regular file, else nothing.
    std::optional<std::int64_t> RegularFileSize() const { return regular_size_; }

  private:
    friend struct OpenedSequenceFile;
    FileByteSource(FileDescriptor owned, std::int64_t regular_size, StopRequested stop);

    FileDescriptor owned_;
    int descriptor_ = -1;
    std::optional<std::int64_t> regular_size_;
    StopRequested stop_;
};

// A regular file opened for reading, or why not. Looked at before the open, so no FIFO or
// device is ever opened (an open alone can block), and again through the descriptor.
struct OpenedSequenceFile {
    std::optional<FileByteSource> source;
    ReadOutcome outcome = ReadOutcome::kOk;
    int system_error = 0;

    static OpenedSequenceFile Open(const std::filesystem::path& file, StopRequested stop = {});
};

// Text already in memory, as a source (tests, fuzzing, a box's text).
class MemoryByteSource : public ByteSource {
  public:
    explicit MemoryByteSource(std::string_view bytes) : bytes_(bytes) {}
    ByteRead Read(char* buffer, std::size_t capacity) override;

  private:
    std::string_view bytes_;
};

// `held` first, then the rest of `inner`: what was read to recognise a text is read again.
class PrefixedByteSource : public ByteSource {
  public:
    PrefixedByteSource(std::string held, ByteSource& inner)
        : held_(std::move(held)), inner_(inner) {}
    ByteRead Read(char* buffer, std::size_t capacity) override;
    ByteRead Skip(std::int64_t count) override;

  private:
    std::string held_;
    std::size_t next_ = 0;
    ByteSource& inner_;
};

// Reads until `buffer` holds `wanted` bytes or the data ends; the outcome of the last read.
ByteRead ReadUpTo(ByteSource& source, std::string& buffer, std::size_t wanted);

}  // namespace tavrola
