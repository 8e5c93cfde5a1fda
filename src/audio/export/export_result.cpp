#include "audio/export/export_result.h"

#include <cerrno>

namespace tavrola {

ExportResult ExportResultOfError(int error_number) {
    switch (error_number) {
        case EACCES:
        case EPERM:
        case EROFS:
            return ExportResult::kFolderNotWritable;
        case ENOENT:
        case ENOTDIR:
            return ExportResult::kFolderMissing;
        case ENOSPC:
        case EDQUOT:
            return ExportResult::kDiskFull;
        case EFBIG:
            return ExportResult::kFileTooLarge;
        case ENAMETOOLONG:
            return ExportResult::kNameTooLong;
        default:
            return ExportResult::kWriteFailed;
    }
}

}  // namespace tavrola
