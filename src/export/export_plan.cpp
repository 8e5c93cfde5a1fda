#include "export/export_plan.h"

#include <utility>

#include "export/video_encoder.h"

namespace tavrola {
namespace {

// The video's sound is written beside it, under a short hidden name of its own: the video's
// name may already be as long as a name can be.
std::filesystem::path SoundtrackBeside(const std::filesystem::path& video) {
    return video.parent_path() / "tavrola-soundtrack.flac";
}

}  // namespace

ExportOutcome PrepareExport(PerformanceSnapshot snapshot, const ExportFormat& format,
                            const std::filesystem::path& target, ExistingFile existing,
                            ExportPlan& plan) {
    plan = ExportPlan{std::move(snapshot),
                      format,
                      std::make_shared<FileBesideTarget>(target, existing),
                      {},
                      std::nullopt};
    if (format.kind == ExportKind::kVideo) {
        const std::optional<std::filesystem::path> encoder = FindVideoEncoder();
        if (!encoder) {
            return {EncoderTrouble::kMissing, {}};
        }
        plan.video = VideoSource{plan.snapshot, format.video_type, LoadWindowFaceArt(), *encoder};
    }
    ExportResult ready = plan.file->Create();
    if (ready == ExportResult::kSuccess && plan.video) {
        plan.soundtrack = std::make_shared<FileBesideTarget>(
            SoundtrackBeside(plan.file->final_target()), ExistingFile::kKeep);
        ready = plan.soundtrack->Create();
    }
    if (ready == ExportResult::kSuccess) {
        // What could not fit even if the performance took the fewest ticks it possibly can.
        ready = CheckExportFits(format, EarliestStopTick(plan.snapshot.state),
                                plan.file->final_target().parent_path());
    }
    if (ready != ExportResult::kSuccess) {
        AbandonExport(plan);
    }
    return ready;
}

void AbandonExport(const ExportPlan& plan) {
    for (const std::shared_ptr<FileBesideTarget>& file : {plan.file, plan.soundtrack}) {
        if (file) {
            file->Abandon();
        }
    }
}

}  // namespace tavrola
