#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "audio/export/file_beside_target.h"
#include "core/playback/performance_simulation.h"
#include "export/export_format.h"
#include "export/export_outcome.h"
#include "export/video_export.h"

namespace tavrola {

// One export of any kind, made ready on the GUI thread and run by a worker: a MIDI or audio
// file through the audio layer's writers, a video through the window's face and the encoder.
// The window's export commands and the command line both run exports this way.
struct ExportPlan {
    PerformanceSnapshot snapshot;
    ExportFormat format;
    std::shared_ptr<FileBesideTarget> file;
    // A video's: the sound it is made with, beside it until the video is done, and what its
    // pictures are painted with and encoded by.
    std::shared_ptr<FileBesideTarget> soundtrack;
    std::optional<VideoSource> video;
};

// Makes an export to `target` ready: the target checked and its file made beside it, for a
// video the encoder found, the face's art taken and the sound's file made too, and refused at
// once what could not fit even if the performance took the fewest ticks it can. A file of the
// target's name is replaced only when `existing` says so. A success with the plan filled in, or
// why not (the files made are gone again).
ExportOutcome PrepareExport(PerformanceSnapshot snapshot, const ExportFormat& format,
                            const std::filesystem::path& target, ExistingFile existing,
                            ExportPlan& plan);

// Removes the export's files now, from any thread, without waiting for the run (a cancel, the
// program's end): the run then ends soon, committing nothing.
void AbandonExport(const ExportPlan& plan);

}  // namespace tavrola
