#pragma once

#include <string>
#include <utility>

#include "audio/export/export_result.h"

namespace tavrola {

// What a video's encoder did to an export.
enum class EncoderTrouble {
    kNone,
    kMissing,  // Debian's ffmpeg program is not installed
    kFailed,   // it ended with a failure, which it said
    kStalled,  // it took no picture for too long, and was ended
};

// How an export ended, or why it could not start: the one report the export gives its front
// ends, which word it. Either how writing its files went (a success, a failure of the file
// system, a refusal, a cancel), or what its video's encoder did, with the last line the
// encoder wrote to standard error.
struct ExportOutcome {
    ExportResult files = ExportResult::kSuccess;
    EncoderTrouble encoder = EncoderTrouble::kNone;
    std::string encoder_said;

    ExportOutcome() = default;
    // An outcome is, most often, just how the files went.
    ExportOutcome(ExportResult result) : files(result) {}  // NOLINT(google-explicit-constructor)
    ExportOutcome(EncoderTrouble trouble, std::string said)
        : encoder(trouble), encoder_said(std::move(said)) {}

    bool Succeeded() const {
        return files == ExportResult::kSuccess && encoder == EncoderTrouble::kNone;
    }
    bool Cancelled() const { return files == ExportResult::kCancelled; }
};

}  // namespace tavrola
