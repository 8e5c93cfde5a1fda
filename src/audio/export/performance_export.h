#pragma once

#include <cstdint>
#include <filesystem>

#include "audio/export/audio_file_writer.h"
#include "audio/export/export_result.h"
#include "audio/export/file_beside_target.h"
#include "core/playback/performance_simulation.h"
#include "core/services/work_progress.h"

namespace tavrola {

// What an export writes: the performance as MIDI messages, or as sound in an audio file type.
enum class ExportKind { kMidi, kAudio };
struct ExportFormat {
    ExportKind kind = ExportKind::kMidi;
    AudioFileType audio_type = AudioFileType::kFlac;  // for kAudio
};

// Whether a file of the format can hold a performance that stops at `stop_tick` in `folder`:
// the MIDI file's timing, the WAV file's 4 GiB, the folder's free space. kSuccess when it can.
ExportResult CheckExportFits(const ExportFormat& format, std::int64_t stop_tick,
                             const std::filesystem::path& folder);

// What can be refused before any work, at once, from the snapshot alone: an export that could
// not fit even if the performance took the fewest ticks it possibly can.
ExportResult CheckExportBeforeStart(const PerformanceSnapshot& snapshot, const ExportFormat& format,
                                    const FileBesideTarget& file);

// The whole export on the calling thread (a worker's): works out the performance Start would
// play, refuses it if it does not fit, then writes and commits the file, reporting its progress
// and stopping, with no file left, once cancelled.
ExportResult ExportPerformance(const PerformanceSnapshot& snapshot, const ExportFormat& format,
                               FileBesideTarget& file, WorkProgress& progress);

}  // namespace tavrola
