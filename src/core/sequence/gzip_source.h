#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "core/sequence/byte_source.h"

namespace tavrola {

// The two bytes every gzip member starts with.
bool StartsAsGzip(std::string_view first_bytes);

// The unpacked bytes of gzip data, member after member (as `cat a.gz b.gz` writes them), read
// as they are needed: never more than a buffer of the packed data is held. Bytes after the last
// member that start no member are ignored, as gzip ignores them. Data that ends inside a member
// is kGzipCutShort; data that does not unpack, or fails its check, is kGzipDamaged.
class GzipByteSource : public ByteSource {
  public:
    explicit GzipByteSource(ByteSource& packed);
    ~GzipByteSource() override;
    GzipByteSource(const GzipByteSource&) = delete;
    GzipByteSource& operator=(const GzipByteSource&) = delete;

    // `capacity` must not be 0.
    ByteRead Read(char* buffer, std::size_t capacity) override;

  private:
    class Inflater;

    ByteSource& packed_;
    std::unique_ptr<Inflater> inflater_;
    std::vector<unsigned char> input_;
    bool input_ended_ = false;
    bool between_members_ = false;
    bool done_ = false;
};

}  // namespace tavrola
