#include "core/sequence/sequence_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/services/user_message.h"

namespace tavrola {

namespace {

// Closes the descriptor however the read ends.
class OpenedFile {
  public:
    explicit OpenedFile(int descriptor) : descriptor_(descriptor) {}
    ~OpenedFile() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    int descriptor() const { return descriptor_; }

  private:
    int descriptor_;
};

bool IsRegularFile(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

std::int32_t QueryFileSize(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        ShowMessage(kFileSizeMessage);
        return 0;
    }
    if (!S_ISREG(status.st_mode)) {
        return 0;
    }
    if (status.st_size > kLargestFileSize) {
        ShowMessage(kFileSizeMessage);
        return 0;
    }
    return static_cast<std::int32_t>(status.st_size);
}

bool ReadFileBytes(const std::filesystem::path& path, std::int64_t offset, std::int32_t count,
                   std::string& bytes) {
    bytes.clear();
    // Looked at before the open, so no device is ever opened (an open alone can block or act),
    // and again through the descriptor, in case the name was replaced in between. The open
    // itself never waits for a FIFO's writer.
    if (!IsRegularFile(path)) {
        ShowMessage(kFileOpenMessage);
        return false;
    }
    const OpenedFile file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (file.descriptor() < 0 || ::fstat(file.descriptor(), &status) != 0 ||
        !S_ISREG(status.st_mode)) {
        ShowMessage(kFileOpenMessage);
        return false;
    }
    if (offset < 0 || count <= 0) {
        return true;
    }
    bytes.resize(static_cast<std::size_t>(count));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::pread(file.descriptor(), bytes.data() + filled, bytes.size() - filled,
                                    static_cast<off_t>(offset + static_cast<std::int64_t>(filled)));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            bytes.resize(filled);
            ShowMessage(kFileReadMessage);
            return false;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return true;
}

}  // namespace tavrola
