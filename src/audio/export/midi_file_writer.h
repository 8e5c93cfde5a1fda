#pragma once

#include <cstdint>
#include <filesystem>

#include "audio/export/export_result.h"
#include "audio/export/file_beside_target.h"
#include "core/playback/performance_simulation.h"

namespace tavrola {

// One timer tick of 500 ms is one quarter note: 480 pulses at 500,000 microseconds a quarter.
inline constexpr int kMidiFilePulsesPerTick = 480;
inline constexpr std::uint32_t kMidiFileMicrosecondsPerQuarter = 500000;
// Plain ASCII, so every sequencer shows them as they are, whatever text encoding it assumes.
inline constexpr const char* kRightVoiceTrackName = "Right voice";
inline constexpr const char* kLeftVoiceTrackName = "Left voice";

// Writes the performance as a Standard MIDI File of format 1: a conductor track with the tempo
// and 4/4, then one named track for each voice that sounds, on its channel (0 right, 1 left),
// with its program change at time 0 and every note-on and note-off playback sends at its tick
// (tick 0 at time 0), except the note-offs of note 0 that follow Start (they end nothing); a
// note still sounding is released at the stop tick, where every track ends. Written into the
// file (made by its Create()) and committed when complete.
ExportResult WriteMidiFile(const SimulatedPerformance& performance, FileBesideTarget& file);

// The same into a file beside `target`, made here, replacing a file of its name.
ExportResult WriteMidiFile(const SimulatedPerformance& performance,
                           const std::filesystem::path& target);

// Whether a MIDI file can time a performance that stops at `stop_tick`: kPerformanceTooLong
// when its delta times cannot reach that far, kSuccess otherwise.
ExportResult CheckMidiExport(std::int64_t stop_tick);

}  // namespace tavrola
