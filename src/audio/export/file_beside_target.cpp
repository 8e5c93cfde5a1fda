#include "audio/export/file_beside_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>
#include <utility>

namespace tavrola {
namespace {

// The temporary name starts with the target's, cut short so that any name a file system
// takes leaves room for the rest.
constexpr std::size_t kKeptNameBytes = 64;
constexpr int kNameAttempts = 100;

std::filesystem::path TemporaryPathBeside(const std::filesystem::path& target) {
    std::string name = target.filename().string();
    if (name.size() > kKeptNameBytes) {
        // Cut before a character, not inside one.
        std::size_t cut = kKeptNameBytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    char tail[16];
    std::snprintf(tail, sizeof tail, ".%08x.part", static_cast<unsigned>(std::random_device{}()));
    return target.parent_path() / ("." + name + tail);
}

// In a folder with the sticky bit (such as /tmp) only the file's owner, the folder's owner and
// the superuser may rename over a file: the rename at the end would fail.
bool MayReplaceIn(const std::filesystem::path& folder, const struct stat& file) {
    struct stat folder_status {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &folder_status) != 0) {
        return true;  // creating the temporary file will say what is wrong
    }
    const uid_t me = ::geteuid();
    return (folder_status.st_mode & S_ISVTX) == 0 || me == 0 || file.st_uid == me ||
           folder_status.st_uid == me;
}

// What the export will replace, with links followed, and whether it may: not a folder, not a
// device or pipe, not a link to nothing, not another user's file in a sticky folder. A target
// that does not exist yet passes; its folder is tried when the file is made.
ExportResult ResolveTarget(const std::filesystem::path& chosen, std::filesystem::path& resolved) {
    resolved = chosen;
    struct stat status {};
    if (::lstat(chosen.c_str(), &status) != 0) {
        return errno == ENOENT ? ExportResult::kSuccess : ExportResultOfError(errno);
    }
    if (S_ISLNK(status.st_mode)) {
        std::error_code error;
        resolved = std::filesystem::canonical(chosen, error);
        if (error || ::stat(resolved.c_str(), &status) != 0) {
            return ExportResult::kDanglingLink;
        }
    }
    if (S_ISDIR(status.st_mode)) {
        return ExportResult::kTargetIsFolder;
    }
    if (!S_ISREG(status.st_mode)) {
        return ExportResult::kNotRegularFile;
    }
    return MayReplaceIn(resolved.parent_path(), status) ? ExportResult::kSuccess
                                                        : ExportResult::kOthersFile;
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

FileBesideTarget::FileBesideTarget(std::filesystem::path target, ExistingFile existing)
    : target_(std::move(target)), existing_(existing) {}

FileBesideTarget::~FileBesideTarget() {
    if (descriptor_ >= 0) {
        ::close(std::exchange(descriptor_, -1));
    }
    RemoveTemporaryFile();
}

ExportResult FileBesideTarget::Create() {
    if (descriptor_ >= 0 || target_.filename().empty()) {
        return ExportResult::kWriteFailed;
    }
    if (const ExportResult checked = ResolveTarget(target_, final_target_);
        checked != ExportResult::kSuccess) {
        return checked;
    }
    struct stat existing {};
    if (existing_ == ExistingFile::kKeep && ::lstat(final_target_.c_str(), &existing) == 0) {
        return ExportResult::kTargetExists;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::filesystem::path candidate = TemporaryPathBeside(final_target_);
        const int descriptor =
            ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            descriptor_ = descriptor;
            std::lock_guard lock(mutex_);
            temporary_path_ = candidate;
            return ExportResult::kSuccess;
        }
        if (errno != EEXIST) {
            const ExportResult failure = ExportResultOfError(errno);
            // Through a link the folder is not the one the user chose.
            return failure == ExportResult::kFolderNotWritable && final_target_ != target_
                       ? ExportResult::kLinkFolderNotWritable
                       : failure;
        }
    }
    return ExportResult::kWriteFailed;
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
    return ExportResult::kSuccess;
}

ExportResult FileBesideTarget::Commit() {
    if (descriptor_ < 0) {
        return ExportResult::kWriteFailed;
    }
    // A replaced file keeps who may read and write it, as it is now.
    struct stat replaced {};
    if (::stat(final_target_.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode)) {
        ::fchmod(descriptor_, replaced.st_mode & 07777);
    }
    // A disk that fills up may say so only when the data is flushed, or at the close.
    if (::fsync(descriptor_) != 0) {
        return Fail(errno);
    }
    if (::close(std::exchange(descriptor_, -1)) != 0) {
        return Fail(errno);
    }
    {
        std::lock_guard lock(mutex_);
        if (abandoned_) {
            return ExportResult::kCancelled;
        }
        if (Rename() != 0) {
            const int error_number = errno;
            ::unlink(temporary_path_.c_str());
            temporary_path_.clear();
            return error_number == EEXIST ? ExportResult::kTargetExists
                                          : ExportResultOfError(error_number);
        }
        temporary_path_.clear();
    }
    FlushFolder(final_target_.parent_path());
    return ExportResult::kSuccess;
}

int FileBesideTarget::Rename() const {
    const char* from = temporary_path_.c_str();
    const char* to = final_target_.c_str();
    if (existing_ == ExistingFile::kReplace) {
        return ::rename(from, to);
    }
    const int renamed = ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
    if (renamed == 0 || (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)) {
        return renamed;
    }
    // A file system without that rename: a new link fails as well on a name that is taken.
    if (::link(from, to) == 0) {
        ::unlink(from);
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP) {
        return -1;
    }
    // Nor hard links (FAT): look, then rename, which leaves the smallest window.
    struct stat taken {};
    if (::lstat(to, &taken) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from, to);
}

void FileBesideTarget::Abandon() {
    std::lock_guard lock(mutex_);
    abandoned_ = true;
    if (!temporary_path_.empty()) {
        ::unlink(temporary_path_.c_str());
        temporary_path_.clear();
    }
}

std::filesystem::path FileBesideTarget::temporary_path() const {
    std::lock_guard lock(mutex_);
    return temporary_path_;
}

ExportResult FileBesideTarget::Fail(int error_number) {
    if (descriptor_ >= 0) {
        ::close(std::exchange(descriptor_, -1));
    }
    RemoveTemporaryFile();
    return ExportResultOfError(error_number);
}

void FileBesideTarget::RemoveTemporaryFile() {
    std::lock_guard lock(mutex_);
    if (!temporary_path_.empty()) {
        ::unlink(temporary_path_.c_str());
        temporary_path_.clear();
    }
}

}  // namespace tavrola
