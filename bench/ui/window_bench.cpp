#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <memory>

#include "core/sequence/base_sequence.h"
#include "support/recording_midi_output.h"
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
