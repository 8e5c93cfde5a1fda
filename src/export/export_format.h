#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "audio/export/audio_file_writer.h"
#include "audio/export/export_result.h"

namespace tavrola {

// What an export writes: the performance as MIDI messages, as sound in an audio file type, or
// as a video of the window's face with its sound.
enum class ExportKind { kMidi, kAudio, kVideo };
enum class VideoFileType { kMp4, kWebm };
struct ExportFormat {
    ExportKind kind = ExportKind::kMidi;
    AudioFileType audio_type = AudioFileType::kFlac;  // for kAudio
    VideoFileType video_type = VideoFileType::kMp4;   // for kVideo

    friend bool operator==(const ExportFormat& a, const ExportFormat& b) {
        return a.kind == b.kind && (a.kind != ExportKind::kAudio || a.audio_type == b.audio_type) &&
               (a.kind != ExportKind::kVideo || a.video_type == b.video_type);
    }
};

// What bounds a video's size: its picture is encoded at most at this rate (the encoder's
// -maxrate), its sound at this one; the sound is rendered first as FLAC beside it.
inline constexpr std::int64_t kVideoPictureBitsPerSecondCap = 6'000'000;
inline constexpr std::int64_t kVideoSoundBitsPerSecond = 192'000;

// What each file name extension stands for, lower case and without the dot. The first of a
// format is the one a name without an extension gets.
struct ExportExtension {
    const char* extension;
    ExportFormat format;
};
inline constexpr std::array<ExportExtension, 9> kExportExtensions = {{
    {"mid", {ExportKind::kMidi}},
    {"midi", {ExportKind::kMidi}},
    {"flac", {ExportKind::kAudio, AudioFileType::kFlac}},
    {"wav", {ExportKind::kAudio, AudioFileType::kWav}},
    {"ogg", {ExportKind::kAudio, AudioFileType::kOggVorbis}},
    {"opus", {ExportKind::kAudio, AudioFileType::kOpus}},
    {"mp3", {ExportKind::kAudio, AudioFileType::kMp3}},
    {"mp4", {ExportKind::kVideo, AudioFileType::kFlac, VideoFileType::kMp4}},
    {"webm", {ExportKind::kVideo, AudioFileType::kFlac, VideoFileType::kWebm}},
}};

// The format a file's extension names, in either case; nothing for any other extension.
std::optional<ExportFormat> ExportFormatOfFile(const std::filesystem::path& file);
// The extension a name of the format gets when it has none.
const char* ExportExtensionOf(const ExportFormat& format);

// Whether a file of the format can hold a performance that stops at `stop_tick` in `folder`:
// the MIDI file's timing, the WAV file's 4 GiB, the folder's free space (for a video, its
// largest size and its FLAC sound beside it). kSuccess when it can.
ExportResult CheckExportFits(const ExportFormat& format, std::int64_t stop_tick,
                             const std::filesystem::path& folder);

}  // namespace tavrola
