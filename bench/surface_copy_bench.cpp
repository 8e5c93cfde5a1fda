#include <benchmark/benchmark.h>

#include "core/helix/surface_copy.h"

namespace tavrola {
namespace {

// The background picture into the panel: done once at start-up, and the largest copy there is.
void BM_CopyBackgroundIntoPanel(benchmark::State& state) {
    const PixelSurface picture(794, 569);
    PixelSurface panel(549, 569);
    for (auto _ : state) {
        CopyPictureAtOrigin(picture, panel);
        benchmark::DoNotOptimize(panel.pixels.data());
    }
}
BENCHMARK(BM_CopyBackgroundIntoPanel);

// A text button's image into its surface: every press, release and relabel.
void BM_CopyTextBarIntoButton(benchmark::State& state) {
    const PixelSurface picture(115, 32);
    PixelSurface button(115, 32);
    for (auto _ : state) {
        CopyPictureAtOrigin(picture, button);
        benchmark::DoNotOptimize(button.pixels.data());
    }
}
BENCHMARK(BM_CopyTextBarIntoButton);

}  // namespace
}  // namespace tavrola
