#include "audio/export/audio_file_writer.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "audio/fluidsynth_output.h"
#include "audio/synth_settings.h"
#include "core/music/midi_output.h"
#include "core/music/performance_state.h"

namespace tavrola {
namespace {

// 10 ms: a tick's half second is exactly 50 blocks at either rate, so every message sounds at
// its frame.
constexpr int kBlocksPerSecond = 100;
static_assert(kAudioExportSampleRate % kBlocksPerSecond == 0);
static_assert(kOpusSampleRate % kBlocksPerSecond == 0);
// Below -90 dBFS the reverb has faded: 16-bit samples round it to nothing.
constexpr float kFadedLevel = 3.1623e-5F;
constexpr std::uint64_t kWavHeaderBytes = 44;
constexpr std::uint64_t kLargestWavBytes = 0xFFFFFFFFULL;
constexpr std::uint64_t kBytesPerFrame = 2 * kAudioExportChannels;
// Estimates: the synthesiser's music compresses to well under 70 % with FLAC; the lossy types,
// at the quality used here, stay below these rates.
constexpr double kFlacShareOfWav = 0.7;
constexpr double kVorbisBytesPerSecond = 25000.0;
constexpr double kOpusBytesPerSecond = 25000.0;
constexpr double kMp3BytesPerSecond = 40000.0;  // 320 kbit/s, MP3's highest
// Vorbis by quality, Opus and MP3 at a variable rate: each near transparent for this music.
// libsndfile's levels run from the highest rate (0) to the lowest (1): Opus about 140 kbit/s,
// MP3 at LAME's best variable quality.
constexpr double kVorbisQuality = 0.5;
constexpr double kOpusCompressionLevel = 0.75;
constexpr double kMp3CompressionLevel = 0.0;

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundFile = std::unique_ptr<SNDFILE, SndfileCloser>;

int SndfileFormat(AudioFileType type) {
    switch (type) {
        case AudioFileType::kWav:
            return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        case AudioFileType::kFlac:
            return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
        case AudioFileType::kOggVorbis:
            return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
        case AudioFileType::kOpus:
            return SF_FORMAT_OGG | SF_FORMAT_OPUS;
        case AudioFileType::kMp3:
            return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    }
    return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
}

std::int64_t LongestTailFrames(int sample_rate) {
    return static_cast<std::int64_t>(kAudioExportLongestTailSeconds * sample_rate);
}

std::int64_t LongestFrameCount(std::int64_t stop_tick, int sample_rate) {
    return AudioExportFrameOfTick(stop_tick, sample_rate) + LongestTailFrames(sample_rate);
}

// The descriptor the library writes through, remembering the first write that failed: the
// library itself forgets a failure in its close (the last compressed frames, a header), and
// its MP3 encoder reports a full count after a failed write.
struct DescriptorIo {
    int descriptor = -1;
    int failed_errno = 0;

    static sf_count_t Length(void* self) {
        struct stat status {};
        return ::fstat(static_cast<DescriptorIo*>(self)->descriptor, &status) == 0 ? status.st_size
                                                                                   : -1;
    }
    static sf_count_t Seek(sf_count_t offset, int whence, void* self) {
        return ::lseek(static_cast<DescriptorIo*>(self)->descriptor, offset, whence);
    }
    static sf_count_t Read(void* data, sf_count_t count, void* self) {
        const ssize_t got = ::read(static_cast<DescriptorIo*>(self)->descriptor, data,
                                   static_cast<std::size_t>(count));
        return got < 0 ? 0 : got;
    }
    static sf_count_t Write(const void* data, sf_count_t count, void* self) {
        auto* io = static_cast<DescriptorIo*>(self);
        const auto* bytes = static_cast<const char*>(data);
        sf_count_t written = 0;
        while (written < count) {
            const ssize_t put =
                ::write(io->descriptor, bytes + written, static_cast<std::size_t>(count - written));
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                if (io->failed_errno == 0) {
                    io->failed_errno = put < 0 ? errno : ENOSPC;
                }
                break;
            }
            written += put;
        }
        return written;
    }
    static sf_count_t Tell(void* self) {
        return ::lseek(static_cast<DescriptorIo*>(self)->descriptor, 0, SEEK_CUR);
    }

    // How writing went so far.
    ExportResult Result() const {
        return failed_errno == 0 ? ExportResult::kSuccess : ExportResultOfError(failed_errno);
    }
};

SF_VIRTUAL_IO kDescriptorIo = {DescriptorIo::Length, DescriptorIo::Seek, DescriptorIo::Read,
                               DescriptorIo::Write, DescriptorIo::Tell};

// A synthesiser with the settings it keeps using; declared so, it goes before them.
struct ExportSynth {
    SynthSettings settings;
    SynthHandle synth;
};

// The synthesiser as the live output sounds, with the performance's two programs: the samples
// of those are all an export needs. Without a synthesiser where there is no SoundFont.
ExportSynth MakeExportSynth(const SimulatedPerformance& performance, int sample_rate) {
    ExportSynth made{MakeSynthSettings(sample_rate, true), nullptr};
    const std::optional<std::string> soundfont = FirstUsableSoundFont(SoundFontCandidates());
    if (!soundfont || !made.settings) {
        return made;
    }
    made.synth.reset(new_fluid_synth(made.settings.get()));
    if (made.synth && fluid_synth_sfload(made.synth.get(), soundfont->c_str(), 1) == FLUID_FAILED) {
        made.synth.reset();
    }
    for (const auto& [program, channel] :
         {std::pair{performance.right_program, kRightVoiceChannel},
          std::pair{performance.left_program, kLeftVoiceChannel}}) {
        if (made.synth && program != kSilentInstrument) {
            fluid_synth_program_change(made.synth.get(), channel, program);
        }
    }
    return made;
}

// The audio file, written through the descriptor the export made: its name may already be
// taken by a read-only file that the rename replaces at the end.
SoundFile OpenSoundFile(DescriptorIo& io, AudioFileType type) {
    SF_INFO format{};
    format.samplerate = AudioExportSampleRate(type);
    format.channels = kAudioExportChannels;
    format.format = SndfileFormat(type);
    SoundFile out(sf_open_virtual(&kDescriptorIo, SFM_WRITE, &format, &io));
    if (!out) {
        return out;
    }
    // Float samples beyond full scale become the largest 16-bit value, not a wrapped one.
    sf_command(out.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
    if (type == AudioFileType::kOggVorbis) {
        double quality = kVorbisQuality;
        sf_command(out.get(), SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    } else if (type == AudioFileType::kOpus || type == AudioFileType::kMp3) {
        int mode = SF_BITRATE_MODE_VARIABLE;
        sf_command(out.get(), SFC_SET_BITRATE_MODE, &mode, sizeof mode);
        double level = type == AudioFileType::kOpus ? kOpusCompressionLevel : kMp3CompressionLevel;
        sf_command(out.get(), SFC_SET_COMPRESSION_LEVEL, &level, sizeof level);
    }
    return out;
}

// The encoder's side of the render: it writes, on a thread of its own, the chunks the render
// hands over, so that synthesising and encoding (FLAC, Vorbis, Opus, MP3) each take a core.
// Only this thread touches the file from construction until Finish().
class EncodingWriter {
  public:
    EncodingWriter(SNDFILE* out, DescriptorIo& io)
        : out_(out), io_(io), thread_([this] { WriteChunks(); }) {}
    ~EncodingWriter() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            chunks_.clear();
        }
        changed_.notify_all();
        thread_.join();
    }
    EncodingWriter(const EncodingWriter&) = delete;
    EncodingWriter& operator=(const EncodingWriter&) = delete;

    // Hands over interleaved frames, waiting while the encoder is far behind; false once
    // writing has failed.
    bool Write(std::vector<float> chunk) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return chunks_.size() < kChunksAhead || failure_; });
        if (failure_) {
            return false;
        }
        chunks_.push_back(std::move(chunk));
        changed_.notify_all();
        return true;
    }
    // Waits until everything handed over is written; how writing went.
    ExportResult Finish() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return chunks_.empty() && !writing_; });
        return failure_.value_or(ExportResult::kSuccess);
    }

  private:
    // Ten seconds of sound at most wait for the encoder.
    static constexpr std::size_t kChunksAhead = 100;

    void WriteChunks() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return !chunks_.empty() || stopping_; });
            if (chunks_.empty()) {
                return;
            }
            std::vector<float> chunk = std::move(chunks_.front());
            chunks_.pop_front();
            writing_ = true;
            lock.unlock();
            const auto frames = static_cast<sf_count_t>(chunk.size() / kAudioExportChannels);
            const bool written = sf_writef_float(out_, chunk.data(), frames) == frames &&
                                 sf_error(out_) == SF_ERR_NO_ERROR &&
                                 io_.Result() == ExportResult::kSuccess;
            const ExportResult failure =
                io_.Result() != ExportResult::kSuccess ? io_.Result() : ExportResult::kWriteFailed;
            lock.lock();
            writing_ = false;
            if (!written) {
                failure_ = failure;
                chunks_.clear();
            }
            changed_.notify_all();
        }
    }

    SNDFILE* const out_;
    const DescriptorIo& io_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<float>> chunks_;
    bool writing_ = false;
    bool stopping_ = false;
    std::optional<ExportResult> failure_;
    std::thread thread_;
};

// Plays the performance into the file block by block, to the stop tick and then until the
// reverb has faded, handing the blocks to the encoder a tenth of a second at a time.
ExportResult RenderPerformance(const SimulatedPerformance& performance, int sample_rate,
                               fluid_synth_t* synth, SNDFILE* out, DescriptorIo& io,
                               const ProgressStage& stage, std::int64_t& frames_written) {
    constexpr int kBlocksPerChunk = 10;
    const int block_frames = sample_rate / kBlocksPerSecond;
    const std::size_t block_samples = static_cast<std::size_t>(block_frames) * kAudioExportChannels;
    const std::int64_t stop_frame = AudioExportFrameOfTick(performance.stop_tick, sample_rate);
    const std::int64_t longest_tail = LongestTailFrames(sample_rate);
    const double longest = static_cast<double>(stop_frame + longest_tail);
    EncodingWriter writer(out, io);
    std::vector<float> chunk;
    std::size_t next_event = 0;
    for (std::int64_t frame = 0;; frame += block_frames) {
        if (stage.Cancelled()) {
            return ExportResult::kCancelled;
        }
        while (next_event < performance.events.size() &&
               AudioExportFrameOfTick(performance.events[next_event].tick, sample_rate) <= frame) {
            PlayShortMessage(synth, performance.events[next_event].message);
            ++next_event;
        }
        chunk.resize(chunk.size() + block_samples);
        float* block = chunk.data() + chunk.size() - block_samples;
        fluid_synth_write_float(synth, block_frames, block, 0, kAudioExportChannels, block, 1,
                                kAudioExportChannels);
        if (frame >= stop_frame) {
            float peak = 0.0F;
            for (std::size_t i = 0; i < block_samples; ++i) {
                peak = std::max(peak, std::fabs(block[i]));
            }
            const bool faded = peak < kFadedLevel && fluid_synth_get_active_voice_count(synth) == 0;
            if (faded || frame - stop_frame >= longest_tail) {
                // The block that finds the tail faded is not written.
                frames_written = frame;
                chunk.resize(chunk.size() - block_samples);
                if (!chunk.empty() && !writer.Write(std::move(chunk))) {
                    break;
                }
                return writer.Finish();
            }
        }
        if (chunk.size() >= kBlocksPerChunk * block_samples &&
            !writer.Write(std::exchange(chunk, {}))) {
            break;
        }
        stage.Advance(std::min(1.0, static_cast<double>(frame + block_frames) / longest));
    }
    return writer.Finish();
}

}  // namespace

void SilenceSynthesiserMessages() {
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, nullptr, nullptr);
    }
}

int AudioExportSampleRate(AudioFileType type) {
    return type == AudioFileType::kOpus ? kOpusSampleRate : kAudioExportSampleRate;
}

std::int64_t AudioExportFrameOfTick(std::int64_t tick, int sample_rate) {
    return tick * (sample_rate / 2);
}

std::uint64_t EstimatedAudioFileBytes(std::int64_t stop_tick, AudioFileType type) {
    const int rate = AudioExportSampleRate(type);
    const auto frames =
        static_cast<std::uint64_t>(std::max<std::int64_t>(LongestFrameCount(stop_tick, rate), 0));
    const std::uint64_t wav_bytes = kWavHeaderBytes + frames * kBytesPerFrame;
    const double seconds = static_cast<double>(frames) / rate;
    switch (type) {
        case AudioFileType::kWav:
            return wav_bytes;
        case AudioFileType::kFlac:
            return static_cast<std::uint64_t>(static_cast<double>(wav_bytes) * kFlacShareOfWav);
        case AudioFileType::kOggVorbis:
            return static_cast<std::uint64_t>(seconds * kVorbisBytesPerSecond);
        case AudioFileType::kOpus:
            return static_cast<std::uint64_t>(seconds * kOpusBytesPerSecond);
        case AudioFileType::kMp3:
            return static_cast<std::uint64_t>(seconds * kMp3BytesPerSecond);
    }
    return wav_bytes;
}

ExportResult CheckFreeSpace(std::uint64_t bytes, const std::filesystem::path& folder) {
    struct statvfs space {};
    if (::statvfs(folder.empty() ? "." : folder.c_str(), &space) != 0) {
        return ExportResultOfError(errno);
    }
    const std::uint64_t available =
        static_cast<std::uint64_t>(space.f_bavail) * static_cast<std::uint64_t>(space.f_frsize);
    return bytes > available ? ExportResult::kNotEnoughSpace : ExportResult::kSuccess;
}

ExportResult CheckAudioExport(std::int64_t stop_tick, AudioFileType type,
                              const std::filesystem::path& folder) {
    const std::uint64_t bytes = EstimatedAudioFileBytes(stop_tick, type);
    if (type == AudioFileType::kWav && bytes > kLargestWavBytes) {
        return ExportResult::kWavTooLarge;
    }
    return CheckFreeSpace(bytes, folder);
}

ExportResult EncodeAudioFile(const SimulatedPerformance& performance, AudioFileType type,
                             int descriptor, const ProgressStage& stage,
                             std::int64_t* frames_written) {
    const int sample_rate = AudioExportSampleRate(type);
    const ExportSynth synth = MakeExportSynth(performance, sample_rate);
    if (!synth.synth) {
        return ExportResult::kNoSoundFont;
    }
    DescriptorIo io{descriptor};
    SoundFile out = OpenSoundFile(io, type);
    if (!out) {
        return io.Result() != ExportResult::kSuccess ? io.Result() : ExportResult::kWriteFailed;
    }
    std::int64_t frames = 0;
    const ExportResult rendered = RenderPerformance(performance, sample_rate, synth.synth.get(),
                                                    out.get(), io, stage, frames);
    if (frames_written != nullptr) {
        *frames_written = frames;
    }
    if (rendered != ExportResult::kSuccess) {
        return rendered;
    }
    // Every sample is rendered; closing writes the header's sizes and the last compressed
    // frames, and the library does not say when that fails.
    stage.Advance(1.0);
    const int closed = sf_close(out.release());
    if (io.Result() != ExportResult::kSuccess) {
        return io.Result();
    }
    return closed == 0 ? ExportResult::kSuccess : ExportResult::kWriteFailed;
}

ExportResult WriteAudioFile(const SimulatedPerformance& performance, AudioFileType type,
                            FileBesideTarget& file, const ProgressStage& stage) {
    const ExportResult encoded = EncodeAudioFile(performance, type, file.descriptor(), stage);
    if (encoded != ExportResult::kSuccess) {
        return encoded;
    }
    // The flush to disk may still take a while; a cancel meanwhile counts, up to the rename.
    return stage.Cancelled() ? ExportResult::kCancelled : file.Commit();
}

ExportResult WriteAudioFile(const SimulatedPerformance& performance, AudioFileType type,
                            const std::filesystem::path& target, const ProgressStage& stage) {
    FileBesideTarget file(target, ExistingFile::kReplace);
    if (const ExportResult created = file.Create(); created != ExportResult::kSuccess) {
        return created;
    }
    return WriteAudioFile(performance, type, file, stage);
}

}  // namespace tavrola
