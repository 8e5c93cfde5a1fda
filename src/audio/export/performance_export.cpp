#include "audio/export/performance_export.h"

#include <optional>

#include "audio/export/midi_file_writer.h"
#include "core/playback/performance_simulation.h"

namespace tavrola {
namespace {

// How much of the whole the working-out takes: nearly everything of a MIDI file, which is then
// written at once; next to nothing beside rendering the sound.
double SimulationShare(ExportKind kind) {
    return kind == ExportKind::kMidi ? 0.9 : 0.005;
}

}  // namespace

ExportResult CheckExportFits(const ExportFormat& format, std::int64_t stop_tick,
                             const std::filesystem::path& folder) {
    return format.kind == ExportKind::kMidi
               ? CheckMidiExport(stop_tick)
               : CheckAudioExport(stop_tick, format.audio_type, folder);
}

ExportResult CheckExportBeforeStart(const PerformanceSnapshot& snapshot, const ExportFormat& format,
                                    const FileBesideTarget& file) {
    return CheckExportFits(format, EarliestStopTick(snapshot.state),
                           file.final_target().parent_path());
}

ExportResult ExportPerformance(const PerformanceSnapshot& snapshot, const ExportFormat& format,
                               FileBesideTarget& file, WorkProgress& progress) {
    const double share = SimulationShare(format.kind);
    const std::optional<SimulatedPerformance> performance = SimulatePerformance(
        snapshot.state, snapshot.spheres, snapshot.random, ProgressStage{&progress, 0.0, share});
    ExportResult result = ExportResult::kCancelled;
    if (performance) {
        result = CheckExportFits(format, performance->stop_tick, file.final_target().parent_path());
    }
    if (result != ExportResult::kSuccess) {
        file.Abandon();
        return result;
    }
    const ProgressStage writing{&progress, share, 1.0};
    if (format.kind == ExportKind::kMidi) {
        result = writing.Cancelled() ? ExportResult::kCancelled : WriteMidiFile(*performance, file);
        if (result == ExportResult::kSuccess) {
            writing.Advance(1.0);
        } else {
            file.Abandon();
        }
        return result;
    }
    return WriteAudioFile(*performance, format.audio_type, file, writing);
}

}  // namespace tavrola
