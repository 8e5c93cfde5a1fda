#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/music/midi_output.h"

class RtMidiOut;

namespace tavrola {

// An external MIDI output port of the ALSA sequencer (a hardware synthesiser, or a software
// one such as a running FluidSynth or TiMidity server), reached through RtMidi.
class RtMidiOutput final : public MidiOutput {
  public:
    explicit RtMidiOutput(std::string port_name);
    ~RtMidiOutput() override;
    RtMidiOutput(const RtMidiOutput&) = delete;
    RtMidiOutput& operator=(const RtMidiOutput&) = delete;

    // Connects to the port of that name; false when it has gone or refuses.
    bool Open() override;
    void SendShortMessage(std::uint32_t message) override;
    // All notes off and all sound off on all 16 channels, sent as controllers 123 and 120.
    bool Reset() override;
    bool Close() override;
    std::string Name() const override { return port_name_; }

  private:
    std::string port_name_;
    std::unique_ptr<RtMidiOut> port_;
};

// The names of the ALSA sequencer's output ports, in RtMidi's order; empty when the machine
// has no sequencer at all.
std::vector<std::string> ListMidiOutputPorts();

// A port that only passes messages on to whatever listens ("Midi Through") plays nothing.
bool IsPassThroughPort(std::string_view port_name);

// The first port that is not a pass-through port.
std::optional<std::string> FirstExternalMidiPort(const std::vector<std::string>& port_names);

// How many bytes of a packed short message go on the wire, from its status byte; 0 for a
// byte that cannot start a short message (a data byte, or the start of a system exclusive).
std::size_t ShortMessageLength(std::uint8_t status);

}  // namespace tavrola
