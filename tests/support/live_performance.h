#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

#include "core/helix/helix_geometry.h"
#include "core/helix/sphere_layer.h"
#include "core/music/midi_controler.h"
#include "core/music/performance_state.h"
#include "core/music/program_random.h"
#include "core/playback/performance_simulation.h"
#include "core/playback/playback_clock.h"
#include "support/recording_midi_output.h"
#include "support/recording_playback_view.h"

namespace tavrola::testing {

// What the window holds for a performance: the state, the helix and the series, as start-up and
// then loading `text` leave them.
struct PerformanceStage {
    explicit PerformanceStage(std::string_view text) {
        SetPerformanceDefaults(state, "/");
        SetUpSphereLayer(layer, kSphereLayerWidth, kSphereLayerHeight, random);
        BuildStartUpSpheres(layer, state.pair_count, random);
        InstallSequence(state, ParseSequenceText(text));
        RecomputeHelix(state, layer, random);
    }

    // Presses Start and plays the timer's ticks for real through a recording output, until
    // playback stops by itself or `tick_limit` ticks have passed (then Stop is pressed). Gives
    // every message with the tick that sent it, counted from 0 as the simulation counts.
    SimulatedPerformance Play(std::int64_t tick_limit = 1000000) {
        auto owned = std::make_unique<RecordingMidiOutput>();
        RecordingMidiOutput& output = *owned;
        MidiControler midi(std::move(owned));
        RecordingPlaybackView view;
        PlaybackContext context{state, midi, layer, view, random};

        SimulatedPerformance played;
        played.right_program = state.right_instrument;
        played.left_program = state.left_instrument;
        TogglePlayback(context);
        std::int64_t tick = 0;
        for (; tick < tick_limit; ++tick) {
            const std::size_t sent_before = output.events().size();
            PlaybackTick(context);
            for (std::size_t i = sent_before; i < output.events().size(); ++i) {
                played.events.push_back({tick, output.events()[i].message});
            }
            if (!state.playing) {
                break;
            }
        }
        if (state.playing != 0) {
            TogglePlayback(context);
        }
        played.stop_tick = tick;
        return played;
    }

    PerformanceState state;
    SphereLayer layer;
    ProgramRandom random;
};

}  // namespace tavrola::testing
