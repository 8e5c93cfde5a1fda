#include "audio/export/midi_file_writer.h"

#include <array>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "audio/export/file_beside_target.h"
#include "core/music/midi_output.h"
#include "core/music/performance_state.h"

namespace tavrola {
namespace {

// A delta time is a variable-length number of at most four 7-bit groups.
constexpr std::int64_t kLongestDelta = 0x0FFFFFFF;
constexpr int kMidiNoteCount = 128;

constexpr std::uint8_t kMetaEvent = 0xFF;
constexpr std::uint8_t kTrackNameMeta = 0x03;
constexpr std::uint8_t kEndOfTrackMeta = 0x2F;
constexpr std::uint8_t kTempoMeta = 0x51;
constexpr std::uint8_t kTimeSignatureMeta = 0x58;
constexpr std::uint16_t kMultiTrackFormat = 1;

void AppendBigEndian(std::string& bytes, std::uint32_t value, int width) {
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<char>((value >> shift) & 0xffU));
    }
}

void AppendVariableLength(std::string& bytes, std::uint32_t value) {
    std::array<char, 4> groups{};
    int count = 0;
    do {
        groups[static_cast<std::size_t>(count++)] = static_cast<char>(value & 0x7fU);
        value >>= 7;
    } while (value != 0 && count < 4);
    while (count > 1) {
        bytes.push_back(static_cast<char>(groups[static_cast<std::size_t>(--count)] | 0x80));
    }
    bytes.push_back(groups[0]);
}

// One track chunk, its events appended in time order; no running status.
class TrackChunk {
  public:
    void Message(std::int64_t tick, std::initializer_list<std::uint8_t> message) {
        Delta(tick);
        for (const std::uint8_t byte : message) {
            body_.push_back(static_cast<char>(byte));
        }
    }
    void Meta(std::int64_t tick, std::uint8_t type, std::string_view data) {
        Delta(tick);
        body_.push_back(static_cast<char>(kMetaEvent));
        body_.push_back(static_cast<char>(type));
        AppendVariableLength(body_, static_cast<std::uint32_t>(data.size()));
        body_.append(data);
    }
    void AppendTo(std::string& file, std::int64_t end_tick) {
        Meta(end_tick, kEndOfTrackMeta, {});
        file.append("MTrk");
        AppendBigEndian(file, static_cast<std::uint32_t>(body_.size()), 4);
        file.append(body_);
    }

  private:
    void Delta(std::int64_t tick) {
        const std::int64_t pulse = tick * kMidiFilePulsesPerTick;
        AppendVariableLength(body_, static_cast<std::uint32_t>(pulse - last_pulse_));
        last_pulse_ = pulse;
    }

    std::string body_;
    std::int64_t last_pulse_ = 0;
};

void AppendConductorTrack(std::string& file, std::int64_t stop_tick) {
    TrackChunk track;
    std::string tempo;
    AppendBigEndian(tempo, kMidiFileMicrosecondsPerQuarter, 3);
    track.Meta(0, kTempoMeta, tempo);
    // 4/4, a metronome click every quarter (24 clocks), eight 32nds to the quarter.
    track.Meta(0, kTimeSignatureMeta, std::string_view("\x04\x02\x18\x08", 4));
    track.AppendTo(file, stop_tick);
}

void AppendVoiceTrack(std::string& file, const SimulatedPerformance& performance,
                      std::uint32_t channel, std::int32_t program, const char* name) {
    TrackChunk track;
    track.Meta(0, kTrackNameMeta, name);
    track.Message(0, {static_cast<std::uint8_t>(kProgramChangeStatus + channel),
                      static_cast<std::uint8_t>(program & 0x7f)});
    std::array<bool, kMidiNoteCount> sounding{};
    for (const TimedMidiEvent& event : performance.events) {
        const ShortMessage message = UnpackShortMessage(event.message);
        const std::uint32_t status = message.status;
        const std::uint32_t kind = message.Kind();
        const auto note = static_cast<std::uint8_t>(message.data1 & 0x7fU);
        const auto velocity = static_cast<std::uint8_t>(message.data2 & 0x7fU);
        if (static_cast<std::uint32_t>(message.Channel()) != channel ||
            (kind != kNoteOnStatus && kind != kNoteOffStatus)) {
            continue;
        }
        if (kind == kNoteOffStatus && note == 0) {
            continue;  // Start forgets the last notes: this ends a note that never sounded
        }
        track.Message(event.tick, {static_cast<std::uint8_t>(status), note, velocity});
        sounding[note] = kind == kNoteOnStatus && velocity > 0;
    }
    // Playback silences the channel at the stop tick; the file says so note by note.
    for (int note = 0; note < kMidiNoteCount; ++note) {
        if (sounding[static_cast<std::size_t>(note)]) {
            track.Message(performance.stop_tick,
                          {static_cast<std::uint8_t>(kNoteOffStatus + channel),
                           static_cast<std::uint8_t>(note), 0});
        }
    }
    track.AppendTo(file, performance.stop_tick);
}

std::optional<std::string> EncodeMidiFile(const SimulatedPerformance& performance) {
    if (CheckMidiExport(performance.stop_tick) != ExportResult::kSuccess) {
        return std::nullopt;
    }
    const bool right_sounds = performance.right_program != kSilentInstrument;
    const bool left_sounds = performance.left_program != kSilentInstrument;
    std::string file = "MThd";
    AppendBigEndian(file, 6, 4);
    AppendBigEndian(file, kMultiTrackFormat, 2);
    AppendBigEndian(file, 1U + (right_sounds ? 1U : 0U) + (left_sounds ? 1U : 0U), 2);
    AppendBigEndian(file, kMidiFilePulsesPerTick, 2);
    AppendConductorTrack(file, performance.stop_tick);
    if (right_sounds) {
        AppendVoiceTrack(file, performance, kRightVoiceChannel, performance.right_program,
                         kRightVoiceTrackName);
    }
    if (left_sounds) {
        AppendVoiceTrack(file, performance, kLeftVoiceChannel, performance.left_program,
                         kLeftVoiceTrackName);
    }
    return file;
}

}  // namespace

ExportResult CheckMidiExport(std::int64_t stop_tick) {
    return stop_tick >= 0 && stop_tick <= kLongestDelta / kMidiFilePulsesPerTick
               ? ExportResult::kSuccess
               : ExportResult::kPerformanceTooLong;
}

ExportResult WriteMidiFile(const SimulatedPerformance& performance, FileBesideTarget& file) {
    const std::optional<std::string> bytes = EncodeMidiFile(performance);
    const ExportResult written = bytes ? file.Write(*bytes) : ExportResult::kPerformanceTooLong;
    return written == ExportResult::kSuccess ? file.Commit() : written;
}

ExportResult WriteMidiFile(const SimulatedPerformance& performance,
                           const std::filesystem::path& target) {
    FileBesideTarget file(target, ExistingFile::kReplace);
    const ExportResult created = file.Create();
    return created == ExportResult::kSuccess ? WriteMidiFile(performance, file) : created;
}

}  // namespace tavrola
