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
    tavrola::InstallSequence(window.State(), tavrola::ParseSequenceText(std::string(1 << 20, 'c')));
    tavrola::PlaybackContext context = window.Playback();
    tavrola::StartPlayback(context);
    for (auto _ : state) {
        tavrola::PlaybackTick(context);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_WindowTick)->Unit(benchmark::kMicrosecond);

// The longest the window's event loop waits between two turns while an audio export runs
// beside it (counter max_pause_ms): the window must go on painting.
void BM_EventLoopPauseDuringAudioExport(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tavrola-bench-export";
    std::filesystem::create_directories(folder);
    const tavrola::ExportFileChooser previous = tavrola::SetExportFileChooser(
        [&folder](QWidget*, tavrola::ExportKind, const std::filesystem::path&, const QString&) {
            return std::optional<tavrola::ExportTarget>(
                tavrola::ExportTarget{folder / "pause.flac", tavrola::AudioFileType::kFlac});
        });
    double longest_ms = 0.0;
    for (auto _ : state) {
        tavrola::CTavrolaAppDlg window(Recorder, 3600000);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            state.SkipWithError("the window never showed");
            break;
        }
        tavrola::InstallSequence(window.State(), tavrola::ParseSequenceText(std::string(80, 'g')));
        window.State().timing_mode = 1;
        tavrola::ExportAudioFile(window);
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
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    tavrola::SetExportFileChooser(previous);
    std::filesystem::remove_all(folder);
    state.counters["max_pause_ms"] = longest_ms;
}
BENCHMARK(BM_EventLoopPauseDuringAudioExport)->Unit(benchmark::kMillisecond)->Iterations(3);

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
