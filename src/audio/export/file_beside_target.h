#pragma once

#include <filesystem>
#include <mutex>
#include <string_view>

#include "audio/export/export_result.h"

namespace tavrola {

// What becomes of a file of the target's name: kept (the export is refused, before any work or
// at its commit if the file appeared meanwhile), or replaced because the user agreed.
enum class ExistingFile { kKeep, kReplace };

// A file written under a hidden temporary name beside its target and renamed into the target's
// place only when complete: a failed or abandoned write leaves no file behind, and a file of
// the target's name stays intact until the rename replaces it whole. A target that is a
// symbolic link is written through: the file the link finally names is replaced and the link
// stays. (A hard-linked file is replaced by a new one, as editors that save by renaming do.)
//
// Create() checks the target and makes the temporary file, so what can fail before any work
// fails there (a file to keep that already exists too); write with Write() or through descriptor();
// then Commit(). After any failure the temporary file is gone and further calls fail; deleting the
// object before Commit() removes it too. Abandon() may come from another thread at any moment;
// everything else belongs to one thread at a time.
class FileBesideTarget {
  public:
    FileBesideTarget(std::filesystem::path target, ExistingFile existing);
    ~FileBesideTarget();
    FileBesideTarget(const FileBesideTarget&) = delete;
    FileBesideTarget& operator=(const FileBesideTarget&) = delete;

    ExportResult Create();
    ExportResult Write(std::string_view bytes);
    // Open for reading and writing from Create() until Commit(); -1 otherwise.
    int descriptor() const { return descriptor_; }
    // Flushes the file to its medium, gives it the mode of the file it replaces and puts it in
    // the target's place, unless it was abandoned meanwhile (kCancelled): that is checked last,
    // just before the rename. A file to keep that appeared meanwhile stays (kTargetExists).
    ExportResult Commit();
    // Removes the temporary file now and makes Commit() fail, without waiting for a write or a
    // flush in progress on another thread.
    void Abandon();

    // The file that is replaced: the target with its links followed, once Create() succeeded.
    const std::filesystem::path& final_target() const { return final_target_; }
    // Empty until Create() succeeds and after the file is committed or abandoned.
    std::filesystem::path temporary_path() const;

  private:
    ExportResult Fail(int error_number);
    void RemoveTemporaryFile();
    // The rename into the target's place, which replaces nothing unless asked to.
    int Rename() const;

    std::filesystem::path target_;
    ExistingFile existing_;
    std::filesystem::path final_target_;
    int descriptor_ = -1;
    // Guards the temporary file's name and the abandonment between Commit() and Abandon().
    mutable std::mutex mutex_;
    std::filesystem::path temporary_path_;
    bool abandoned_ = false;
};

}  // namespace tavrola
