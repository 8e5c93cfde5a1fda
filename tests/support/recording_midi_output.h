#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/music/midi_output.h"

namespace tavrola {

// Keeps every message, reset and close in order, so tests can check the exact stream.
class RecordingMidiOutput : public MidiOutput {
  public:
    enum class EventKind { kOpen, kShortMessage, kReset, kClose };
    struct Event {
        EventKind kind;
        std::uint32_t message = 0;
        bool operator==(const Event&) const = default;
    };

    bool Open() override {
        events_->push_back({EventKind::kOpen});
        return open_result;
    }
    void SendShortMessage(std::uint32_t message) override {
        events_->push_back({EventKind::kShortMessage, message});
    }
    bool Reset() override {
        events_->push_back({EventKind::kReset});
        return reset_result;
    }
    bool Close() override {
        events_->push_back({EventKind::kClose});
        return close_result;
    }
    std::string Name() const override { return "recording"; }

    const std::vector<Event>& events() const { return *events_; }
    // The same record, still readable after the output itself has been deleted.
    std::shared_ptr<const std::vector<Event>> shared_events() const { return events_; }
    // Only the short messages, in order.
    std::vector<std::uint32_t> messages() const {
        std::vector<std::uint32_t> result;
        for (const Event& event : *events_) {
            if (event.kind == EventKind::kShortMessage) {
                result.push_back(event.message);
            }
        }
        return result;
    }
    void Clear() { events_->clear(); }

    // What the next call reports, so tests can make a step fail.
    bool open_result = true;
    bool reset_result = true;
    bool close_result = true;

  private:
    std::shared_ptr<std::vector<Event>> events_ = std::make_shared<std::vector<Event>>();
};

}  // namespace tavrola
