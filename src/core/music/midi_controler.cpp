#include "core/music/midi_controler.h"

#include <utility>

#include "core/services/user_message.h"

namespace tavrola {

namespace {

constexpr std::uint32_t kNoteOnVelocity = 127;

std::uint32_t LowByte(std::int32_t value) {
    return static_cast<std::uint32_t>(value) & 0xffU;
}

}  // namespace

MidiControler::MidiControler(std::unique_ptr<MidiOutput> opened_output)
    : output_(std::move(opened_output)) {}

void MidiControler::SendShortMessage(std::uint32_t message) {
    if (output_) {
        output_->SendShortMessage(message);
    }
}

void MidiControler::SendProgramChange(std::int32_t program, std::int32_t channel) {
    SendShortMessage(
        PackShortMessage(kProgramChangeStatus + LowByte(channel), LowByte(program), 0));
}

void MidiControler::SendNoteOn(std::int32_t note, std::int32_t channel) {
    SendShortMessage(
        PackShortMessage(kNoteOnStatus + LowByte(channel), LowByte(note), kNoteOnVelocity));
}

void MidiControler::SendNoteOff(std::int32_t note, std::int32_t channel) {
    SendShortMessage(PackShortMessage(kNoteOffStatus + LowByte(channel), LowByte(note), 0));
}

void MidiControler::AllNotesOff() {
    for (std::uint32_t channel = 0; channel < kMidiChannelCount; ++channel) {
        SendShortMessage(PackShortMessage(kControllerStatus + channel, kAllNotesOffController, 0));
    }
}

void MidiControler::PrepareToPlay() {
    if (output_) {
        output_->PrepareToPlay();
    }
}

std::string MidiControler::OutputName() const {
    return output_ ? output_->Name() : std::string();
}

void MidiControler::Close() {
    if (!output_) {
        return;
    }
    // A failed reset must not keep the output from closing.
    if (!output_->Reset()) {
        ShowMessage(kMidiUndefinedErrorMessage);
    }
    if (!output_->Close()) {
        ShowMessage(kMidiUndefinedErrorMessage);
    }
    output_.reset();
}

std::unique_ptr<MidiControler> OpenMidiOutput(std::unique_ptr<MidiOutput> backend,
                                              std::int32_t right_instrument,
                                              std::int32_t left_instrument) {
    auto controler = std::make_unique<MidiControler>();
    if (!backend) {
        ShowMessage(kNoMidiDeviceMessage);
    } else if (!backend->Open()) {
        ShowMessage(kMidiUndefinedErrorMessage);
    } else {
        controler = std::make_unique<MidiControler>(std::move(backend));
    }
    controler->SendProgramChange(right_instrument, kRightVoiceChannel);
    controler->SendProgramChange(left_instrument, kLeftVoiceChannel);
    return controler;
}

void CloseMidiOutput(std::unique_ptr<MidiControler>& controler) {
    if (controler) {
        controler->Close();
        controler.reset();
    }
}

void ApplyInstruments(MidiControler& controler, const PerformanceState& state) {
    if (state.right_instrument != kSilentInstrument) {
        controler.SendProgramChange(state.right_instrument, kRightVoiceChannel);
    }
    if (state.left_instrument != kSilentInstrument) {
        controler.SendProgramChange(state.left_instrument, kLeftVoiceChannel);
    }
}

}  // namespace tavrola
