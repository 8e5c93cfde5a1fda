#pragma once

#include <memory>
#include <vector>

#include "support/recording_midi_output.h"

namespace tavrola::testing {

// Gives the window a recording MIDI output and keeps its record readable after the window and
// the output are gone.
struct RecordingMidiFactory {
    std::shared_ptr<const std::vector<RecordingMidiOutput::Event>> events;

    std::unique_ptr<MidiOutput> operator()() {
        auto output = std::make_unique<RecordingMidiOutput>();
        events = output->shared_events();
        return output;
    }

    std::vector<std::uint32_t> Messages() const {
        std::vector<std::uint32_t> messages;
        for (const auto& event : *events) {
            if (event.kind == RecordingMidiOutput::EventKind::kShortMessage) {
                messages.push_back(event.message);
            }
        }
        return messages;
    }
};

}  // namespace tavrola::testing
