#pragma once

#include <cstdint>
#include <string>

namespace tavrola {

// Somewhere short MIDI messages go: the built-in synthesiser, an external port, or a recorder
// in the tests. A short message packs status, first and second data byte into bits 0-7,
// 8-15 and 16-23.
class MidiOutput {
  public:
    virtual ~MidiOutput() = default;

    // False when the output could not be opened.
    virtual bool Open() = 0;
    virtual void SendShortMessage(std::uint32_t message) = 0;
    // Silences every sounding note at once. False on failure.
    virtual bool Reset() = 0;
    // False on failure.
    virtual bool Close() = 0;
    // For the About box and diagnostics.
    virtual std::string Name() const = 0;
};

constexpr std::uint32_t PackShortMessage(std::uint32_t status, std::uint32_t data1,
                                         std::uint32_t data2) {
    return (status & 0xffU) | ((data1 & 0xffU) << 8) | ((data2 & 0xffU) << 16);
}

}  // namespace tavrola
