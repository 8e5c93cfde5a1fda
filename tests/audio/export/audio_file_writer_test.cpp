#include "audio/export/audio_file_writer.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/fluidsynth_output.h"
#include "core/music/midi_output.h"
#include "support/audio_measures.h"
#include "support/live_performance.h"
#include "support/temp_folder.h"

namespace tavrola {
namespace {

namespace fs = std::filesystem;

struct ReadAudio {
    int sample_rate = 0;
    int channels = 0;
    std::vector<float> left;  // the first channel
};

ReadAudio ReadFile(const fs::path& file) {
    ReadAudio read;
    SF_INFO info{};
    SNDFILE* in = sf_open(file.c_str(), SFM_READ, &info);
    if (in == nullptr) {
        return read;
    }
    read.sample_rate = info.samplerate;
    read.channels = info.channels;
    std::vector<float> frames(static_cast<std::size_t>(info.frames * info.channels));
    const sf_count_t got = sf_readf_float(in, frames.data(), info.frames);
    sf_close(in);
    for (sf_count_t frame = 0; frame < got; ++frame) {
        read.left.push_back(frames[static_cast<std::size_t>(frame * info.channels)]);
    }
    return read;
}

double Frequency(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// The piano on both voices in eighth notes: a pair every 1.5 s, a 13 s performance.
testing::PerformanceStage PianoStage() {
    testing::PerformanceStage stage("gattacaga");
    stage.state.right_instrument = 0;
    stage.state.left_instrument = 0;
    stage.state.timing_mode = TimingMode::kEighth;
    return stage;
}

// The file lasts to the stop tick and then the reverb's tail, at most 3 s, in every format.
TEST(AudioFileWriter, EveryFormatLastsToTheStopTickAndTheFadedTail) {
    if (!FirstUsableSoundFont(SoundFontCandidates())) {
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    }
    const testing::PerformanceStage stage = PianoStage();
    const SimulatedPerformance performance =
        SimulatePerformance(stage.state, stage.layer.table, stage.random);
    const std::int64_t stop_frame = AudioExportFrameOfTick(performance.stop_tick);
    const testing::TempFolder folder;
    for (const auto& [type, name] :
         {std::pair{AudioFileType::kWav, "a.wav"}, std::pair{AudioFileType::kFlac, "a.flac"},
          std::pair{AudioFileType::kOggVorbis, "a.ogg"}}) {
        WorkProgress progress;
        ASSERT_EQ(WriteAudioFile(performance, type, folder.path() / name, {&progress}),
                  ExportResult::kSuccess)
            << name;
        EXPECT_EQ(progress.Done(), 1.0) << name;
        const ReadAudio audio = ReadFile(folder.path() / name);
        EXPECT_EQ(audio.sample_rate, 44100) << name;
        EXPECT_EQ(audio.channels, 2) << name;
        const auto frames = static_cast<std::int64_t>(audio.left.size());
        EXPECT_GT(frames, stop_frame) << name << ": the tail follows the stop tick";
        EXPECT_LE(frames, stop_frame + 3 * 44100) << name << ": at most 3 s of tail";
        if (type == AudioFileType::kWav) {
            EXPECT_EQ(fs::file_size(folder.path() / name),
                      44 + static_cast<std::uintmax_t>(frames) * 4)
                << "16-bit stereo";
        }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 3)
        << "nothing but the three files";
}

// Cancel counts up to the rename: once every sample is rendered the file may still take long to
// reach the disk, and a cancel then leaves no file either.
TEST(AudioFileWriter, CancelAfterTheLastBlockLeavesNoFile) {
    if (!FirstUsableSoundFont(SoundFontCandidates())) {
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    }
    const testing::PerformanceStage stage = PianoStage();
    const testing::TempFolder folder;
    WorkProgress progress([&progress](double done) {
        if (done == 1.0) {
            progress.Cancel();
        }
    });
    EXPECT_EQ(WriteAudioFile(SimulatePerformance(stage.state, stage.layer.table, stage.random),
                             AudioFileType::kWav, folder.path() / "a.wav", {&progress}),
              ExportResult::kCancelled);
    EXPECT_TRUE(fs::is_empty(folder.path())) << "no file, no partial file";
}

// Each pair sounds at its tick, at the pitches the MIDI notes name.
TEST(AudioFileWriter, NotesSoundAtTheirTicksAndPitches) {
    if (!FirstUsableSoundFont(SoundFontCandidates())) {
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    }
    testing::PerformanceStage stage = PianoStage();
    const SimulatedPerformance performance =
        SimulatePerformance(stage.state, stage.layer.table, stage.random);
    const testing::TempFolder folder;
    ASSERT_EQ(WriteAudioFile(performance, AudioFileType::kFlac, folder.path() / "a.flac"),
              ExportResult::kSuccess);
    const ReadAudio audio = ReadFile(folder.path() / "a.flac");
    const std::span<const float> samples(audio.left);

    int notes = 0;
    for (const TimedMidiEvent& event : performance.events) {
        if ((event.message & 0xf0U) != kNoteOnStatus) {
            continue;
        }
        ++notes;
        const int note = static_cast<int>((event.message >> 8) & 0x7fU);
        const auto onset = static_cast<std::size_t>(AudioExportFrameOfTick(event.tick));
        ASSERT_LT(onset + 11025, samples.size());
        const std::size_t quiet_from = onset >= 2205 ? onset - 2205 : 0;
        const float before = testing::Peak(samples.subspan(quiet_from, onset - quiet_from));
        const float after = testing::Peak(samples.subspan(onset, 4410));
        EXPECT_GT(after, 2.0F * before + 0.01F)
            << "note " << note << " starts at tick " << event.tick;
        const std::span<const float> sounding = samples.subspan(onset + 1323, 8820);
        const double at_pitch = testing::PowerAt(sounding, Frequency(note), 44100);
        const double between = testing::PowerAt(sounding, Frequency(note) * 1.03, 44100);
        EXPECT_GT(at_pitch, 4.0 * between) << "note " << note << " at tick " << event.tick;
    }
    EXPECT_GE(notes, 12) << "both voices of most pairs";
}

}  // namespace
}  // namespace tavrola
