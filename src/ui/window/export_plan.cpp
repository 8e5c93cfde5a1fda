#include "ui/window/export_plan.h"

#include <string>
#include <utility>

namespace tavrola {
namespace {

// The video's sound is written beside it, under a short hidden name of its own: the video's
// name may already be as long as a name can be.
std::filesystem::path SoundtrackBeside(const std::filesystem::path& video) {
    return video.parent_path() / "tavrola-soundtrack.flac";
}

}  // namespace

ExportResult PrepareExport(PerformanceSnapshot snapshot, const ExportFormat& format,
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
            return ExportResult::kNoVideoEncoder;
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
        ready = CheckExportBeforeStart(plan.snapshot, format, *plan.file);
    }
    if (ready != ExportResult::kSuccess) {
        AbandonExport(plan);
    }
    return ready;
}

ExportOutcome RunExport(const ExportPlan& plan, WorkProgress& progress) {
    if (plan.video) {
        // The sound beside the video is never committed: whatever happens, it goes.
        struct Removed {
            FileBesideTarget& file;
            ~Removed() { file.Abandon(); }
        } const sound_removed{*plan.soundtrack};
        ExportOutcome outcome;
        outcome.result =
            ExportVideo(*plan.video, *plan.file, *plan.soundtrack, progress, outcome.encoder_said);
        if (outcome.result != ExportResult::kSuccess) {
            plan.file->Abandon();
        }
        return outcome;
    }
    return {ExportPerformance(plan.snapshot, plan.format, *plan.file, progress), {}};
}

void AbandonExport(const ExportPlan& plan) {
    for (const std::shared_ptr<FileBesideTarget>& file : {plan.file, plan.soundtrack}) {
        if (file) {
            file->Abandon();
        }
    }
}

}  // namespace tavrola
