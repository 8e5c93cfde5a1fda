#include "audio/export/file_beside_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <utility>

namespace tavrola {
namespace {

// Room for the dot and the random tail within the 255 bytes a name may have.
constexpr std::size_t kKeptNameBytes = 200;
constexpr int kNameAttempts = 100;

std::filesystem::path TemporaryPathBeside(const std::filesystem::path& target) {
    std::string name = target.filename().string().substr(0, kKeptNameBytes);
    char tail[16];
    std::snprintf(tail, sizeof tail, ".%08x.part", static_cast<unsigned>(std::random_device{}()));
    return target.parent_path() / ("." + name + tail);
}

// The folder's entry of the renamed file survives a power cut only once the folder is
// flushed too. Best effort: the file is already in place.
void FlushFolder(const std::filesystem::path& folder) {
    const int descriptor =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

}  // namespace

FileBesideTarget::FileBesideTarget(std::filesystem::path target) : target_(std::move(target)) {}

FileBesideTarget::~FileBesideTarget() {
    Discard();
}

ExportResult FileBesideTarget::Create() {
    if (descriptor_ >= 0 || target_.filename().empty()) {
        return ExportResult::kWriteFailed;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::filesystem::path candidate = TemporaryPathBeside(target_);
        descriptor_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ >= 0) {
            temporary_path_ = candidate;
            break;
        }
        if (errno != EEXIST) {
            return ExportResultOfError(errno);
        }
    }
    if (descriptor_ < 0) {
        return ExportResult::kWriteFailed;
    }
    // A replaced file keeps who may read it.
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        ::fchmod(descriptor_, existing.st_mode & 07777);
    }
    return ExportResult::kWritten;
}

ExportResult FileBesideTarget::Write(std::string_view bytes) {
    if (descriptor_ < 0) {
        return ExportResult::kWriteFailed;
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return ExportResult::kWritten;
}

ExportResult FileBesideTarget::Commit() {
    if (descriptor_ < 0) {
        return ExportResult::kWriteFailed;
    }
    // A disk that fills up may say so only when the data is flushed, or at the close.
    if (::fsync(descriptor_) != 0) {
        return Fail(errno);
    }
    const int descriptor = std::exchange(descriptor_, -1);
    if (::close(descriptor) != 0) {
        return Fail(errno);
    }
    if (::rename(temporary_path_.c_str(), target_.c_str()) != 0) {
        return Fail(errno);
    }
    temporary_path_.clear();
    FlushFolder(target_.parent_path());
    return ExportResult::kWritten;
}

void FileBesideTarget::Discard() {
    if (descriptor_ >= 0) {
        ::close(std::exchange(descriptor_, -1));
    }
    if (!temporary_path_.empty()) {
        ::unlink(temporary_path_.c_str());
        temporary_path_.clear();
    }
}

ExportResult FileBesideTarget::Fail(int error_number) {
    Discard();
    return ExportResultOfError(error_number);
}

}  // namespace tavrola
