#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>

#include "audio/export/export_result.h"
#include "core/playback/performance_simulation.h"

namespace tavrola {

enum class AudioFileType { kFlac, kWav, kOggVorbis };

// The audio files export writes: CD-quality stereo, 16-bit where the format has samples.
inline constexpr int kAudioExportSampleRate = 44100;
inline constexpr int kAudioExportChannels = 2;
// After the stop tick the reverb rings on for at most this long.
inline constexpr double kAudioExportLongestTailSeconds = 3.0;

// The frame at which a tick's messages sound: tick 0 at frame 0, a tick every half second.
std::int64_t AudioExportFrameOfTick(std::int64_t tick);

// How large the file will be at most: a WAV file exactly, FLAC and Ogg Vorbis a safe estimate.
std::uint64_t EstimatedAudioFileBytes(const SimulatedPerformance& performance,
                                      AudioFileType type);

// What refuses an audio export before any work: a WAV file over 4 GiB, less free space in the
// target's folder than the estimate, a folder that is not there. kWritten when it may start.
ExportResult CheckAudioExport(const SimulatedPerformance& performance, AudioFileType type,
                              const std::filesystem::path& target);

// Between the worker that writes and the window that waits: how far it has come (0 to 1) and
// whether the user wants it stopped.
struct AudioExportProgress {
    std::atomic<double> done{0.0};
    std::atomic<bool> cancel{false};
};

// Renders the performance with the built-in synthesiser offline, with the live output's
// SoundFont and sound (its gain, reverb and chorus), into an audio file of the type: up to the
// stop tick, then the tail until the reverb has faded, at most 3 s. Needs no sound server and
// no sound card. Runs for as long as it takes on the calling thread (a worker's), writing
// beside the target and renaming into its place at the end; a cancelled or failed export
// leaves no file behind and a replaced file intact.
ExportResult WriteAudioFile(const SimulatedPerformance& performance, AudioFileType type,
                            const std::filesystem::path& target, AudioExportProgress& progress);

}  // namespace tavrola
