#pragma once

#include <cstdint>

namespace tavrola {

inline constexpr int kProgramCount = 128;

// The instrument lists hold the 128 programs and then "なし", which silences the voice.
inline constexpr int kSilentEntry = 128;
inline constexpr int kInstrumentEntryCount = 129;
inline constexpr const char* kSilentEntryName = "なし";

// The Japanese name of a General MIDI program 0 to 127 (half-width katakana, as the lists show
// them); empty for any other number.
const char* ProgramName(std::int32_t program);

// Instrument value (a program, or -1 for silent) to list entry and back. A value that is neither
// shows as silent.
int InstrumentEntry(std::int32_t instrument);
std::int32_t EntryInstrument(int entry);

}  // namespace tavrola
