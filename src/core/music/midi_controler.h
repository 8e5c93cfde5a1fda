#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/music/midi_output.h"
#include "core/music/performance_state.h"

namespace tavrola {

inline constexpr const char* kNoMidiDeviceMessage =
    "MidiControler:使用できるMIDIデバイスがありません。";
inline constexpr const char* kMidiUndefinedErrorMessage =
    "MidiControler:未定義のエラーが発生しました。";

// The program's MIDI output unit. It owns one backend, or none when no output can run; then
// every send is dropped and the program goes on silent. The result of a send is never looked
// at.
class MidiControler {
  public:
    MidiControler() = default;
    explicit MidiControler(std::unique_ptr<MidiOutput> opened_output);

    void SendShortMessage(std::uint32_t message);
    void SendProgramChange(std::int32_t program, std::int32_t channel);
    void SendNoteOn(std::int32_t note, std::int32_t channel);
    void SendNoteOff(std::int32_t note, std::int32_t channel);
    // Controller 123 on channels 0 to 15, in order.
    void AllNotesOff();
    // Lets a sleeping output wake before the first note; no message.
    void PrepareToPlay();

    bool HasOutput() const { return output_ != nullptr; }
    std::string OutputName() const;

    // Reset, then close, each failure reported; the output is gone afterwards.
    void Close();

  private:
    std::unique_ptr<MidiOutput> output_;
};

// Opens `backend` (null: no device at all), reporting either failure once, then sends the two
// program changes whether or not an output opened.
std::unique_ptr<MidiControler> OpenMidiOutput(std::unique_ptr<MidiOutput> backend,
                                              std::int32_t right_instrument,
                                              std::int32_t left_instrument);

// At the window's end: reset and close the output, then delete the unit.
void CloseMidiOutput(std::unique_ptr<MidiControler>& controler);

// A program change for each voice that is not silent, right voice first.
void ApplyInstruments(MidiControler& controler, const PerformanceState& state);

}  // namespace tavrola
