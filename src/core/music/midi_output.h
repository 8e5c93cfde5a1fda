#pragma once

#include <cstdint>
#include <string>

namespace tavrola {

// Somewhere short MIDI messages go: the built-in synthesiser, an external port, or a recorder
// in the tests. A short message packs status, first and second data byte into bits 0-7,
// 8-15 and 16-23.
//
// States: a new output is closed. Open() moves it to open when it returns true; on false it
// stays closed and may be deleted or opened again. SendShortMessage() and Reset() act only on
// an open output: before Open() and after Close() a send is dropped and Reset() returns false.
// Close() ends the open state whatever it returns and may be called on a closed output, where
// it does nothing. Name() may be called in any state. An output is deleted closed or open;
// deleting an open one closes it. None of these may be called from two threads at once.
class MidiOutput {
  public:
    virtual ~MidiOutput() = default;

    // False when the output could not be opened.
    virtual bool Open() = 0;
    virtual void SendShortMessage(std::uint32_t message) = 0;
    // Notes follow soon (playback starts): an output that sleeps while nothing sounds wakes
    // now, so the first note is on time. Sends nothing and returns at once; an output that
    // never sleeps ignores it.
    virtual void PrepareToPlay() {}
    // Silences every sounding note at once. False on failure.
    virtual bool Reset() = 0;
    // False on failure.
    virtual bool Close() = 0;
    // For the About box and diagnostics.
    virtual std::string Name() const = 0;
};

// Where the messages of a performance that nobody hears go (a command line's or a video's): it
// opens, and drops everything it is sent.
class SilentMidiOutput final : public MidiOutput {
  public:
    bool Open() override { return true; }
    void SendShortMessage(std::uint32_t /*message*/) override {}
    bool Reset() override { return true; }
    bool Close() override { return true; }
    std::string Name() const override { return "silent"; }
};

constexpr std::uint32_t PackShortMessage(std::uint32_t status, std::uint32_t data1,
                                         std::uint32_t data2) {
    return (status & 0xffU) | ((data1 & 0xffU) << 8) | ((data2 & 0xffU) << 16);
}

// A short message's three bytes, as PackShortMessage packs them.
struct ShortMessage {
    std::uint8_t status;
    std::uint8_t data1;
    std::uint8_t data2;

    // The status without its channel: kNoteOnStatus and the like.
    constexpr std::uint32_t Kind() const { return status & 0xf0U; }
    constexpr int Channel() const { return status & 0x0f; }
};

constexpr ShortMessage UnpackShortMessage(std::uint32_t message) {
    return {static_cast<std::uint8_t>(message & 0xffU),
            static_cast<std::uint8_t>((message >> 8) & 0xffU),
            static_cast<std::uint8_t>((message >> 16) & 0xffU)};
}

// Channel message status bytes, before the channel (0 to 15) is added.
inline constexpr std::uint32_t kNoteOffStatus = 0x80;
inline constexpr std::uint32_t kNoteOnStatus = 0x90;
inline constexpr std::uint32_t kKeyPressureStatus = 0xA0;
inline constexpr std::uint32_t kControllerStatus = 0xB0;
inline constexpr std::uint32_t kProgramChangeStatus = 0xC0;
inline constexpr std::uint32_t kChannelPressureStatus = 0xD0;
inline constexpr std::uint32_t kPitchBendStatus = 0xE0;
// The first byte that is not a channel message.
inline constexpr std::uint32_t kSystemStatus = 0xF0;

inline constexpr std::uint32_t kAllSoundOffController = 120;
inline constexpr std::uint32_t kAllNotesOffController = 123;
inline constexpr int kMidiChannelCount = 16;

// The two voices: the strand as read on the right, its complement on the left.
inline constexpr std::int32_t kRightVoiceChannel = 0;
inline constexpr std::int32_t kLeftVoiceChannel = 1;

}  // namespace tavrola
