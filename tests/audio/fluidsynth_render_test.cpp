#include "audio/fluidsynth_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "audio/synth_settings.h"
#include "core/music/midi_controler.h"
#include "core/music/performance_state.h"
#include "core/music/pitch_selection.h"
#include "support/audio_measures.h"
#include "support/recorded_messages.h"

namespace tavrola {
namespace {

using testing::Peak;
using testing::PowerAt;
using testing::WindowPeaks;

constexpr int kRate = static_cast<int>(kSynthSampleRate);
constexpr std::size_t kTenMilliseconds = kRate / 100;
// -60 dBFS: nothing a listener hears over a quiet room.
constexpr float kSilence = 0.001F;
// -34 dBFS, clearly audible; the default instruments' notes peak at 0.03 to 0.25.
constexpr float kClearlyAudible = 0.02F;
// After a reset only the reverb's tail is left: at once at least 14 dB below the notes, and
// under kSilence within this time.
constexpr double kResetToSilenceSeconds = 0.4;

// Every General MIDI SoundFont installed here, each once.
std::vector<std::string> InstalledSoundFonts() {
    std::vector<std::string> found;
    std::vector<std::filesystem::path> seen;
    for (const std::string& candidate : SoundFontCandidates()) {
        std::error_code error;
        const auto canonical = std::filesystem::canonical(candidate, error);
        if (!error && FirstUsableSoundFont({candidate}) &&
            std::find(seen.begin(), seen.end(), canonical) == seen.end()) {
            seen.push_back(canonical);
            found.push_back(canonical.string());
        }
    }
    return found;
}

// Mono mix of the next `seconds` of the synthesiser's output.
std::vector<float> RenderMono(FluidSynthOutput& synth, double seconds) {
    const auto frames = static_cast<std::size_t>(seconds * kRate);
    std::vector<float> left(frames);
    std::vector<float> right(frames);
    synth.Render(left, right);
    for (std::size_t i = 0; i < frames; ++i) {
        left[i] = 0.5F * (left[i] + right[i]);
    }
    return left;
}

// The louder channel's level, frame by frame, over the next `seconds`.
std::vector<float> RenderLevel(FluidSynthOutput& synth, double seconds) {
    const auto frames = static_cast<std::size_t>(seconds * kRate);
    std::vector<float> left(frames);
    std::vector<float> right(frames);
    synth.Render(left, right);
    for (std::size_t i = 0; i < frames; ++i) {
        left[i] = std::max(std::fabs(left[i]), std::fabs(right[i]));
    }
    return left;
}

class RenderedSynth : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        auto owned = std::make_unique<FluidSynthOutput>(
            FluidSynthOptions{.soundfont_path = GetParam(), .audio = SynthAudio::kRenderOnly});
        synth_ = owned.get();
        // The program's own start-up: open, then program changes 98 and 91.
        controler_ =
            OpenMidiOutput(std::move(owned), kDefaultRightInstrument, kDefaultLeftInstrument);
        ASSERT_TRUE(controler_->HasOutput()) << "cannot open " << GetParam();
    }

    testing::RecordedMessages messages_;
    FluidSynthOutput* synth_ = nullptr;
    std::unique_ptr<MidiControler> controler_;
};

TEST_P(RenderedSynth, ANoteSoundsAndTheResetSilencesItAtOnce) {
    EXPECT_TRUE(messages_.texts().empty());
    EXPECT_LT(Peak(RenderLevel(*synth_, 0.2)), kSilence) << "silent before any note";
    controler_->SendNoteOn(60, 0);
    const std::vector<float> note = RenderLevel(*synth_, 0.5);
    EXPECT_GT(Peak(note), kClearlyAudible) << "program 98, note 60, velocity 127";
    controler_->SendNoteOn(48, 1);
    EXPECT_GT(Peak(RenderLevel(*synth_, 0.5)), kClearlyAudible) << "both voices held";

    const float held = Peak(RenderLevel(*synth_, 0.1));

    ASSERT_TRUE(synth_->Reset());
    const std::vector<float> after = RenderLevel(*synth_, 1.0);
    const std::vector<float> peaks = WindowPeaks(after, kTenMilliseconds);
    EXPECT_LT(*std::max_element(peaks.begin() + 2, peaks.end()), held / 5)
        << "20 ms after the reset nothing but the reverb is left";
    const auto silent_from = static_cast<std::size_t>(kResetToSilenceSeconds * 100);
    EXPECT_LT(*std::max_element(peaks.begin() + silent_from, peaks.end()), kSilence)
        << "silent " << kResetToSilenceSeconds << " s after the reset";
}

TEST_P(RenderedSynth, DifferentProgramsSoundDifferent) {
    // The share of each of the first twelve harmonics of note 60 in a held note.
    auto harmonic_profile = [&](int program) {
        controler_->SendProgramChange(program, 2);
        controler_->SendNoteOn(60, 2);
        RenderMono(*synth_, 0.1);  // past the attack
        const std::vector<float> held = RenderMono(*synth_, 0.5);
        std::vector<double> profile;
        double total = 0;
        for (int harmonic = 1; harmonic <= 12; ++harmonic) {
            profile.push_back(std::sqrt(PowerAt(held, 261.6256 * harmonic, kRate)));
            total += profile.back();
        }
        for (double& share : profile) {
            share /= total;
        }
        synth_->Reset();
        RenderMono(*synth_, 0.3);
        return profile;
    };
    const int programs[] = {0, 40, kDefaultLeftInstrument, kDefaultRightInstrument};
    std::vector<std::vector<double>> profiles;
    for (int program : programs) {
        profiles.push_back(harmonic_profile(program));
    }
    for (std::size_t a = 0; a < profiles.size(); ++a) {
        for (std::size_t b = a + 1; b < profiles.size(); ++b) {
            double distance = 0;  // 0 for the same timbre, up to 2
            for (std::size_t k = 0; k < profiles[a].size(); ++k) {
                distance += std::fabs(profiles[a][k] - profiles[b][k]);
            }
            EXPECT_GT(distance, 0.15) << "programs " << programs[a] << " and " << programs[b];
        }
    }
}

TEST_P(RenderedSynth, TwoVoicesOnTheDefaultPadsStayBelowFullScale) {
    float loudest = 0;
    // Unison and octaves are where the two voices add up most.
    for (int right = 58; right <= 82; ++right) {
        for (int left : {right, right - 12}) {
            if (left < 46 || left > 70) {
                continue;
            }
            controler_->SendNoteOn(right, 0);
            controler_->SendNoteOn(left, 1);
            loudest = std::max(loudest, Peak(RenderLevel(*synth_, 0.8)));
            synth_->Reset();
            RenderLevel(*synth_, 0.05);
        }
    }
    EXPECT_LT(loudest, 1.0F) << "two voices at velocity 127 clip";
    EXPECT_GT(loudest, kClearlyAudible);
}

INSTANTIATE_TEST_SUITE_P(InstalledSoundFonts, RenderedSynth,
                         ::testing::ValuesIn(InstalledSoundFonts()), [](const auto& info) {
                             std::string name = std::filesystem::path(info.param).stem().string();
                             std::replace_if(
                                 name.begin(), name.end(),
                                 [](char c) {
                                     return !std::isalnum(static_cast<unsigned char>(c));
                                 },
                                 '_');
                             return name;
                         });

}  // namespace
}  // namespace tavrola
