#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>

#include "core/sequence/base_sequence.h"
#include "support/recording_midi_output.h"
#include "ui/dialogs/export_file_chooser.h"
#include "ui/window/export_commands.h"
#include "ui/window/export_job.h"
#include "ui/window/main_window.h"

namespace {

std::unique_ptr<tavrola::MidiOutput> Recorder() {
    return std::make_unique<tavrola::RecordingMidiOutput>();
}

// From nothing to the first painted window: the whole initialisation, the show and the
// paint of every control.
void BM_StartUpToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        tavrola::CTavrolaAppDlg window(Recorder);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            state.SkipWithError("the window never showed");
            break;
        }
        QApplication::processEvents();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) * 1e-9);
    }
}
BENCHMARK(BM_StartUpToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

// One tick as the window runs it: MIDI, the helix and the present of the layer.
void BM_WindowTick(benchmark::State& state) {
    tavrola::CTavrolaAppDlg window(Recorder, 3600000);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        state.SkipWithError("the window never showed");
        return;
    }
    tavrola::Performer& performer = window.Performance();
    performer.InstallSequence(tavrola::ParseSequenceText(std::string(1 << 20, 'c')));
    performer.TogglePlayback();
    for (auto _ : state) {
        performer.Tick();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_WindowTick)->Unit(benchmark::kMicrosecond);

// The longest the window's event loop waits between two turns (counter max_pause_ms) while an
// export runs beside it, and how long the command itself holds the window, from the key to the
// progress window or the refusal (counter command_ms): the window must go on painting whatever
// the sequence's length. Arguments: the number of bases, the export's kind (0 MIDI, 1 audio,
// 2 video) and its audio or video type. An export still running after five seconds is cancelled.
// The picture of a video is painted on the export's worker, the window's CPU spent beside it.
constexpr int Kind(tavrola::ExportKind kind) {
    return static_cast<int>(kind);
}

void BM_EventLoopPauseDuringExport(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tavrola-bench-export";
    std::filesystem::create_directories(folder);
    tavrola::ExportFormat format;
    format.kind = static_cast<tavrola::ExportKind>(state.range(1));
    format.audio_type = static_cast<tavrola::AudioFileType>(state.range(2));
    format.video_type = static_cast<tavrola::VideoFileType>(state.range(2));
    const tavrola::ExportFileChooser previous = tavrola::SetExportFileChooser(
        [&](QWidget*, tavrola::ExportKind, const std::filesystem::path&, const QString&) {
            return std::optional<tavrola::ExportTarget>(
                tavrola::ExportTarget{folder / "pause", format});
        });
    const tavrola::ReplaceQuestion previous_question =
        tavrola::SetReplaceQuestion([](QWidget*, const std::filesystem::path&) { return true; });
    const std::string bases(static_cast<std::size_t>(state.range(0)), 'g');
    double longest_ms = 0.0;
    double command_ms = 0.0;
    for (auto _ : state) {
        tavrola::CTavrolaAppDlg window(Recorder, 3600000);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            state.SkipWithError("the window never showed");
            break;
        }
        window.Performance().InstallSequence(tavrola::ParseSequenceText(bases));
        QElapsedTimer clock;
        clock.start();
        switch (format.kind) {
            case tavrola::ExportKind::kMidi:
                tavrola::ExportMidiFile(window);
                break;
            case tavrola::ExportKind::kAudio:
                tavrola::ExportAudioFile(window);
                break;
            case tavrola::ExportKind::kVideo:
                tavrola::ExportVideoFile(window);
                break;
        }
        command_ms = std::max(command_ms, static_cast<double>(clock.nsecsElapsed()) / 1e6);
        QElapsedTimer since_last;
        since_last.start();
        QTimer turn;
        turn.setTimerType(Qt::PreciseTimer);
        turn.setInterval(1);
        QObject::connect(&turn, &QTimer::timeout, [&] {
            longest_ms = std::max(longest_ms, static_cast<double>(since_last.nsecsElapsed()) / 1e6);
            since_last.restart();
        });
        turn.start();
        while (window.Exporting()) {
            if (clock.elapsed() > 5000) {
                window.RunningExport()->Cancel();
            }
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    tavrola::SetExportFileChooser(previous);
    tavrola::SetReplaceQuestion(previous_question);
    std::filesystem::remove_all(folder);
    state.counters["max_pause_ms"] = longest_ms;
    state.counters["command_ms"] = command_ms;
}
BENCHMARK(BM_EventLoopPauseDuringExport)
    ->ArgNames({"bases", "kind", "type"})
    ->Args({80, Kind(tavrola::ExportKind::kAudio), int(tavrola::AudioFileType::kFlac)})
    ->Args({1000000, Kind(tavrola::ExportKind::kMidi), 0})
    ->Args({100000, Kind(tavrola::ExportKind::kMidi), 0})
    ->Args({1000000, Kind(tavrola::ExportKind::kAudio), int(tavrola::AudioFileType::kOggVorbis)})
    ->Args({80, Kind(tavrola::ExportKind::kVideo), int(tavrola::VideoFileType::kMp4)})
    ->Args({80, Kind(tavrola::ExportKind::kVideo), int(tavrola::VideoFileType::kWebm)})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
