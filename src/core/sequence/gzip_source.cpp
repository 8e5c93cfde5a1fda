#include "core/sequence/gzip_source.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>

namespace tavrola {

namespace {

constexpr std::size_t kPackedBuffer = 64 * 1024;

// Window bits for zlib: the largest window, gzip wrapping only.
constexpr int kGzipOnly = 15 + 16;

}  // namespace

bool StartsAsGzip(std::string_view first_bytes) {
    return first_bytes.size() >= 2 && static_cast<unsigned char>(first_bytes[0]) == 0x1F &&
           static_cast<unsigned char>(first_bytes[1]) == 0x8B;
}

// Owns zlib's inflate state: ended however the reading ends.
class GzipByteSource::Inflater {
  public:
    Inflater() { ready_ = ::inflateInit2(&stream_, kGzipOnly) == Z_OK; }
    ~Inflater() {
        if (ready_) {
            ::inflateEnd(&stream_);
        }
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    bool ready() const { return ready_; }
    z_stream& stream() { return stream_; }

  private:
    z_stream stream_{};
    bool ready_ = false;
};

GzipByteSource::GzipByteSource(ByteSource& packed)
    : packed_(packed), inflater_(std::make_unique<Inflater>()), input_(kPackedBuffer) {}

GzipByteSource::~GzipByteSource() = default;

ByteRead GzipByteSource::Read(char* buffer, std::size_t capacity) {
    if (done_) {
        return {};
    }
    if (!inflater_->ready()) {
        return {0, ReadOutcome::kReadError, ENOMEM};
    }
    z_stream& stream = inflater_->stream();
    // zlib counts in 32 bits.
    const auto room = static_cast<uInt>(std::min<std::size_t>(capacity, 1U << 30));
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = room;
    while (stream.avail_out == room) {
        if (stream.avail_in == 0 && !input_ended_) {
            const ByteRead got =
                packed_.Read(reinterpret_cast<char*>(input_.data()), input_.size());
            if (got.outcome != ReadOutcome::kOk) {
                return {0, got.outcome, got.system_error};
            }
            input_ended_ = got.count == 0;
            stream.next_in = input_.data();
            stream.avail_in = static_cast<uInt>(got.count);
        }
        if (between_members_) {
            if (stream.avail_in == 0) {
                if (input_ended_) {
                    done_ = true;
                    break;
                }
                continue;
            }
            if (*stream.next_in != 0x1F) {
                done_ = true;
                break;
            }
            ::inflateReset(&stream);
            between_members_ = false;
        }
        const int status = ::inflate(&stream, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            between_members_ = true;
        } else if (status == Z_BUF_ERROR && stream.avail_in == 0 && input_ended_) {
            return {0, ReadOutcome::kGzipCutShort, 0};
        } else if (status != Z_OK && status != Z_BUF_ERROR) {
            return {0, ReadOutcome::kGzipDamaged, 0};
        }
    }
    return {room - stream.avail_out, ReadOutcome::kOk, 0};
}

}  // namespace tavrola
