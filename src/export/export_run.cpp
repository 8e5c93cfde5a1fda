#include "export/export_run.h"

#include <optional>

#include "audio/export/audio_file_writer.h"
#include "audio/export/midi_file_writer.h"

namespace tavrola {
namespace {

// How much of the whole the working-out takes: nearly everything of a MIDI file, which is then
// written at once; next to nothing beside rendering the sound.
double SimulationShare(ExportKind kind) {
    return kind == ExportKind::kMidi ? 0.9 : 0.005;
}

// A MIDI or audio file.
ExportResult ExportFile(const ExportPlan& plan, WorkProgress& progress) {
    const double share = SimulationShare(plan.format.kind);
    const PerformanceSnapshot& snapshot = plan.snapshot;
    const std::optional<SimulatedPerformance> performance = SimulatePerformance(
        snapshot.state, snapshot.spheres, snapshot.random, ProgressStage{&progress, 0.0, share});
    if (!performance) {
        return ExportResult::kCancelled;
    }
    if (const ExportResult fits = CheckExportFits(plan.format, performance->stop_tick,
                                                  plan.file->final_target().parent_path());
        fits != ExportResult::kSuccess) {
        return fits;
    }
    const ProgressStage writing{&progress, share, 1.0};
    if (plan.format.kind == ExportKind::kAudio) {
        return WriteAudioFile(*performance, plan.format.audio_type, *plan.file, writing);
    }
    if (writing.Cancelled()) {
        return ExportResult::kCancelled;
    }
    const ExportResult written = WriteMidiFile(*performance, *plan.file);
    if (written == ExportResult::kSuccess) {
        writing.Advance(1.0);
    }
    return written;
}

}  // namespace

ExportOutcome RunExport(const ExportPlan& plan, WorkProgress& progress) {
    // However the run ends short of its rename, its files go now, not when the last owner of
    // the plan lets go of them; a committed file is no longer a temporary one.
    struct Abandoned {
        const ExportPlan& plan;
        ~Abandoned() { AbandonExport(plan); }
    } const abandoned{plan};
    if (plan.video) {
        return ExportVideo(*plan.video, *plan.file, *plan.soundtrack, progress);
    }
    return ExportFile(plan, progress);
}

}  // namespace tavrola
