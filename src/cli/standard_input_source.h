#pragma once

#include "core/sequence/byte_source.h"

namespace tavrola {

// A descriptor the caller keeps open (standard input), read as the one reader reads a file, with
// a wait for more of it that ends at once when `wake` becomes readable (the termination
// signals' pipe): both are watched in one poll(), so a signal that comes just before the wait
// ends it as surely as one that comes during it. Ends with kInterrupted then.
class WakeableInputSource : public ByteSource {
  public:
    WakeableInputSource(int descriptor, int wake) : descriptor_(descriptor), wake_(wake) {}

    ByteRead Read(char* buffer, std::size_t capacity) override;

  private:
    const int descriptor_;
    const int wake_;
};

// Whether `wake` is readable now: asked between the reads of a regular file, which never wait.
bool WakeDescriptorReady(int wake);

}  // namespace tavrola
