#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/playback/playback_clock.h"

namespace tavrola::testing {

// Keeps what playback asked to show, in order, as short readable lines.
class RecordingPlaybackView : public PlaybackView {
  public:
    void EnableImageButton(CommandKey key, bool enable) override {
        calls.push_back((enable ? "enable " : "disable ") + std::to_string(key));
    }
    void SetStartButtonLabel(const std::string& label) override {
        calls.push_back("label " + label);
    }
    void SetVoiceLabel(VoiceLabel label, const std::string& text) override { labels[label] = text; }
    void StartPlaybackTimer() override { calls.push_back("start timer"); }
    void StopPlaybackTimer() override { calls.push_back("stop timer"); }
    void PresentLayer() override { calls.push_back("present layer"); }
    void PresentImageButtons() override { calls.push_back("present buttons"); }

    std::vector<std::string> calls;
    std::map<VoiceLabel, std::string> labels;
};

}  // namespace tavrola::testing
