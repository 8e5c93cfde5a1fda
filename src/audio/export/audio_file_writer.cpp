#include "audio/export/audio_file_writer.h"

#include <sndfile.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/export/file_beside_target.h"
#include "audio/fluidsynth_output.h"
#include "audio/synth_settings.h"
#include "core/music/midi_output.h"
#include "core/music/performance_state.h"

namespace tavrola {
namespace {

// 10 ms: a tick's 22,050 frames are exactly 50 blocks, so every message sounds at its frame.
constexpr int kBlockFrames = 441;
constexpr std::int64_t kFramesPerTick = kAudioExportSampleRate / 2;
static_assert(kFramesPerTick % kBlockFrames == 0);
constexpr std::int64_t kLongestTailFrames =
    static_cast<std::int64_t>(kAudioExportLongestTailSeconds * kAudioExportSampleRate);
// Below -90 dBFS the reverb has faded: 16-bit samples round it to nothing.
constexpr float kFadedLevel = 3.1623e-5F;
constexpr std::uint64_t kWavHeaderBytes = 44;
constexpr std::uint64_t kLargestWavBytes = 0xFFFFFFFFULL;
constexpr std::uint64_t kBytesPerFrame = 2 * kAudioExportChannels;
// Estimates: the synthesiser's music compresses to well under 70 % with FLAC; Vorbis at the
// quality used here stays below 200 kbit/s.
constexpr double kFlacShareOfWav = 0.7;
constexpr double kVorbisBytesPerSecond = 25000.0;
constexpr double kVorbisQuality = 0.5;

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

int SndfileFormat(AudioFileType type) {
    switch (type) {
        case AudioFileType::kWav:
            return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        case AudioFileType::kFlac:
            return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
        case AudioFileType::kOggVorbis:
            return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    }
    return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
}

std::int64_t LongestFrameCount(const SimulatedPerformance& performance) {
    return AudioExportFrameOfTick(performance.stop_tick) + kLongestTailFrames;
}

// The failure a system error of the writing library stands for.
ExportResult WriteFailure() {
    return errno != 0 ? ExportResultOfError(errno) : ExportResult::kWriteFailed;
}

}  // namespace

std::int64_t AudioExportFrameOfTick(std::int64_t tick) {
    return tick * kFramesPerTick;
}

std::uint64_t EstimatedAudioFileBytes(const SimulatedPerformance& performance, AudioFileType type) {
    const auto frames =
        static_cast<std::uint64_t>(std::max<std::int64_t>(LongestFrameCount(performance), 0));
    const std::uint64_t wav_bytes = kWavHeaderBytes + frames * kBytesPerFrame;
    switch (type) {
        case AudioFileType::kWav:
            return wav_bytes;
        case AudioFileType::kFlac:
            return static_cast<std::uint64_t>(static_cast<double>(wav_bytes) * kFlacShareOfWav);
        case AudioFileType::kOggVorbis:
            return static_cast<std::uint64_t>(static_cast<double>(frames) / kAudioExportSampleRate *
                                              kVorbisBytesPerSecond);
    }
    return wav_bytes;
}

ExportResult CheckAudioExport(const SimulatedPerformance& performance, AudioFileType type,
                              const std::filesystem::path& target) {
    const std::uint64_t bytes = EstimatedAudioFileBytes(performance, type);
    if (type == AudioFileType::kWav && bytes > kLargestWavBytes) {
        return ExportResult::kWavTooLarge;
    }
    struct statvfs folder {};
    const std::filesystem::path parent =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    if (::statvfs(parent.c_str(), &folder) != 0) {
        return ExportResultOfError(errno);
    }
    const std::uint64_t available =
        static_cast<std::uint64_t>(folder.f_bavail) * static_cast<std::uint64_t>(folder.f_frsize);
    return bytes > available ? ExportResult::kNotEnoughSpace : ExportResult::kWritten;
}

ExportResult WriteAudioFile(const SimulatedPerformance& performance, AudioFileType type,
                            const std::filesystem::path& target, AudioExportProgress& progress) {
    const std::optional<std::string> soundfont = FirstUsableSoundFont(SoundFontCandidates());
    if (!soundfont) {
        return ExportResult::kNoSoundFont;
    }
    // The samples of the two programs are all an export needs.
    const SynthSettings settings = MakeSynthSettings(kAudioExportSampleRate, true);
    const SynthHandle synth(settings ? new_fluid_synth(settings.get()) : nullptr);
    if (!synth || fluid_synth_sfload(synth.get(), soundfont->c_str(), 1) == FLUID_FAILED) {
        return ExportResult::kNoSoundFont;
    }
    if (performance.right_program != kSilentInstrument) {
        fluid_synth_program_change(synth.get(), kRightVoiceChannel, performance.right_program);
    }
    if (performance.left_program != kSilentInstrument) {
        fluid_synth_program_change(synth.get(), kLeftVoiceChannel, performance.left_program);
    }

    FileBesideTarget file(target);
    if (const ExportResult created = file.Create(); created != ExportResult::kWritten) {
        return created;
    }
    SF_INFO format{};
    format.samplerate = kAudioExportSampleRate;
    format.channels = kAudioExportChannels;
    format.format = SndfileFormat(type);
    errno = 0;
    std::unique_ptr<SNDFILE, SndfileCloser> out(
        sf_open(file.temporary_path().c_str(), SFM_WRITE, &format));
    if (!out) {
        const ExportResult failure = WriteFailure();
        file.Discard();
        return failure;
    }
    // Float samples beyond full scale become the largest 16-bit value, not a wrapped one.
    sf_command(out.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
    if (type == AudioFileType::kOggVorbis) {
        double quality = kVorbisQuality;
        sf_command(out.get(), SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    }

    const std::int64_t stop_frame = AudioExportFrameOfTick(performance.stop_tick);
    const double longest = static_cast<double>(LongestFrameCount(performance));
    std::vector<float> block(static_cast<std::size_t>(kBlockFrames * kAudioExportChannels));
    std::size_t next_event = 0;
    for (std::int64_t frame = 0;; frame += kBlockFrames) {
        if (progress.cancel) {
            out.reset();
            file.Discard();
            return ExportResult::kCancelled;
        }
        while (next_event < performance.events.size() &&
               AudioExportFrameOfTick(performance.events[next_event].tick) <= frame) {
            PlayShortMessage(synth.get(), performance.events[next_event].message);
            ++next_event;
        }
        fluid_synth_write_float(synth.get(), kBlockFrames, block.data(), 0, kAudioExportChannels,
                                block.data(), 1, kAudioExportChannels);
        if (frame >= stop_frame) {
            float peak = 0.0F;
            for (const float sample : block) {
                peak = std::max(peak, std::fabs(sample));
            }
            const bool faded =
                peak < kFadedLevel && fluid_synth_get_active_voice_count(synth.get()) == 0;
            if (faded || frame - stop_frame >= kLongestTailFrames) {
                break;
            }
        }
        errno = 0;
        if (sf_writef_float(out.get(), block.data(), kBlockFrames) != kBlockFrames) {
            const ExportResult failure = WriteFailure();
            out.reset();
            file.Discard();
            return failure;
        }
        progress.done = std::min(1.0, static_cast<double>(frame + kBlockFrames) / longest);
    }
    // Closing writes the header's sizes and the last compressed frames.
    errno = 0;
    if (sf_close(out.release()) != 0) {
        const ExportResult failure = WriteFailure();
        file.Discard();
        return failure;
    }
    const ExportResult committed = file.Commit();
    if (committed == ExportResult::kWritten) {
        progress.done = 1.0;
    }
    return committed;
}

}  // namespace tavrola
