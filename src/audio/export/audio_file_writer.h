#pragma once

#include <cstdint>
#include <filesystem>

#include "audio/export/export_result.h"
#include "audio/export/file_beside_target.h"
#include "core/playback/performance_simulation.h"
#include "core/services/work_progress.h"

namespace tavrola {

enum class AudioFileType { kFlac, kWav, kOggVorbis, kOpus, kMp3 };

// The audio files export writes: stereo, 16-bit where the format has samples, at CD quality's
// 44.1 kHz; Opus knows only 48 kHz and is rendered at that.
inline constexpr int kAudioExportSampleRate = 44100;
inline constexpr int kOpusSampleRate = 48000;
inline constexpr int kAudioExportChannels = 2;
// After the stop tick the reverb rings on for at most this long.
inline constexpr double kAudioExportLongestTailSeconds = 3.0;

// Keeps every message of FluidSynth's own, warnings and errors too, off standard error: a
// command line says only what it means to.
void SilenceSynthesiserMessages();

// The rate a type is rendered at.
int AudioExportSampleRate(AudioFileType type);

// The frame at which a tick's messages sound at a rate: tick 0 at frame 0, a tick every half
// second.
std::int64_t AudioExportFrameOfTick(std::int64_t tick, int sample_rate = kAudioExportSampleRate);

// How large the file of a performance that stops at `stop_tick` will be at most: a WAV file
// exactly, the compressed types a safe estimate.
std::uint64_t EstimatedAudioFileBytes(std::int64_t stop_tick, AudioFileType type);

// Whether the folder holds at least `bytes` more: kNotEnoughSpace when not, the folder's
// failure when it cannot be looked at.
ExportResult CheckFreeSpace(std::uint64_t bytes, const std::filesystem::path& folder);

// What refuses an audio export of a performance that stops at `stop_tick` before any work: a
// WAV file over 4 GiB, less free space in the folder than the estimate, a folder that is not
// there. kSuccess when it may go ahead. Cheap, so it serves with an early bound of the stop
// tick too.
ExportResult CheckAudioExport(std::int64_t stop_tick, AudioFileType type,
                              const std::filesystem::path& folder);

// Renders the performance with the built-in synthesiser offline, with the live output's
// SoundFont and sound (its gain, reverb and chorus), into an audio file of the type: up to the
// stop tick, then the tail until the reverb has faded, at most 3 s. Needs no sound server and
// no sound card. Runs for as long as it takes on the calling thread (a worker's), writing
// through the file's descriptor (made by its Create()) and committing it at the end. A cancelled
// or failed export commits nothing: the temporary file goes with the file object (or its
// Abandon()), and a replaced file stays intact.
ExportResult WriteAudioFile(const SimulatedPerformance& performance, AudioFileType type,
                            FileBesideTarget& file, const ProgressStage& stage);

// The same into a file's descriptor, without committing it: a sound that another program then
// reads. Tells how many frames it wrote.
ExportResult EncodeAudioFile(const SimulatedPerformance& performance, AudioFileType type,
                             int descriptor, const ProgressStage& stage,
                             std::int64_t* frames_written = nullptr);

// The same into a file beside `target`, made here, replacing a file of its name.
ExportResult WriteAudioFile(const SimulatedPerformance& performance, AudioFileType type,
                            const std::filesystem::path& target, const ProgressStage& stage = {});

}  // namespace tavrola
