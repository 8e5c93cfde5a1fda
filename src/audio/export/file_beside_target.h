#pragma once

#include <filesystem>
#include <string_view>

#include "audio/export/export_result.h"

namespace tavrola {

// A file written under a hidden temporary name in its target's folder and renamed into the
// target's place only when complete: a failed or abandoned write leaves no file behind, and a
// file of the target's name stays intact until the rename replaces it whole.
//
// Create(), then Write() the bytes (or let a library write to temporary_path()), then
// Commit(). After any failure the temporary file is gone and further calls fail; deleting the
// object before Commit() removes it too.
class FileBesideTarget {
  public:
    explicit FileBesideTarget(std::filesystem::path target);
    ~FileBesideTarget();
    FileBesideTarget(const FileBesideTarget&) = delete;
    FileBesideTarget& operator=(const FileBesideTarget&) = delete;

    ExportResult Create();
    ExportResult Write(std::string_view bytes);
    // Flushes the file to its medium, then puts it in the target's place, keeping the
    // permissions of a file it replaces.
    ExportResult Commit();
    // Removes the temporary file now, for a cancelled export.
    void Discard();

    // Empty until Create() succeeds and after the file is committed or discarded.
    const std::filesystem::path& temporary_path() const { return temporary_path_; }

  private:
    ExportResult Fail(int error_number);

    std::filesystem::path target_;
    std::filesystem::path temporary_path_;
    int descriptor_ = -1;
};

}  // namespace tavrola
