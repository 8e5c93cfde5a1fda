#include "audio/rtmidi_output.h"

#include <RtMidi.h>

#include <algorithm>
#include <array>
#include <exception>
#include <utility>

namespace tavrola {

namespace {

constexpr const char* kClientName = "Tavrola";

bool HasAlsaSequencerSupport() {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    return std::find(apis.begin(), apis.end(), RtMidi::LINUX_ALSA) != apis.end();
}

// Only the ALSA sequencer: RtMidi's JACK API crashes in openPort when no JACK server runs,
// and letting RtMidi pick on its own could land there. Throws RtMidiError when there is no
// sequencer.
std::unique_ptr<RtMidiOut> MakeAlsaClient() {
    if (!HasAlsaSequencerSupport()) {
        return nullptr;
    }
    return std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, kClientName);
}

}  // namespace

RtMidiOutput::RtMidiOutput(std::string port_name) : port_name_(std::move(port_name)) {}

RtMidiOutput::~RtMidiOutput() {
    Close();
}

bool RtMidiOutput::Open() {
    Close();
    try {
        std::unique_ptr<RtMidiOut> client = MakeAlsaClient();
        if (!client) {
            return false;
        }
        // Port numbers shift as devices come and go, so the port is found again by name.
        const unsigned int count = client->getPortCount();
        for (unsigned int index = 0; index < count; ++index) {
            if (client->getPortName(index) == port_name_) {
                client->openPort(index, kClientName);
                port_ = std::move(client);
                return true;
            }
        }
    } catch (const std::exception&) {
        // RtMidi reports every failure by throwing: the port cannot be used.
    }
    return false;
}

void RtMidiOutput::SendShortMessage(std::uint32_t message) {
    if (!port_) {
        return;
    }
    const ShortMessage unpacked = UnpackShortMessage(message);
    const std::array<unsigned char, 3> bytes = {unpacked.status, unpacked.data1, unpacked.data2};
    const std::size_t length = ShortMessageLength(bytes[0]);
    if (length == 0) {
        return;
    }
    try {
        port_->sendMessage(bytes.data(), length);
    } catch (const std::exception&) {
        // Sends are never checked; a port that vanished mid-run just goes quiet.
    }
}

bool RtMidiOutput::Reset() {
    if (!port_) {
        return false;
    }
    try {
        for (int channel = 0; channel < kMidiChannelCount; ++channel) {
            const auto status = static_cast<unsigned char>(kControllerStatus + channel);
            const unsigned char notes_off[] = {status, kAllNotesOffController, 0};
            const unsigned char sound_off[] = {status, kAllSoundOffController, 0};
            port_->sendMessage(notes_off, sizeof notes_off);
            port_->sendMessage(sound_off, sizeof sound_off);
        }
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

bool RtMidiOutput::Close() {
    if (!port_) {
        return true;
    }
    bool closed = true;
    try {
        port_->closePort();
    } catch (const std::exception&) {
        closed = false;
    }
    port_.reset();
    return closed;
}

std::vector<std::string> ListMidiOutputPorts() {
    std::vector<std::string> names;
    try {
        std::unique_ptr<RtMidiOut> client = MakeAlsaClient();
        if (!client) {
            return names;
        }
        const unsigned int count = client->getPortCount();
        for (unsigned int index = 0; index < count; ++index) {
            names.push_back(client->getPortName(index));
        }
    } catch (const std::exception&) {
        names.clear();  // no ALSA sequencer on this machine
    }
    return names;
}

bool IsPassThroughPort(std::string_view port_name) {
    return port_name.find("Midi Through") != std::string_view::npos;
}

std::optional<std::string> FirstExternalMidiPort(const std::vector<std::string>& port_names) {
    for (const std::string& name : port_names) {
        if (!IsPassThroughPort(name)) {
            return name;
        }
    }
    return std::nullopt;
}

std::size_t ShortMessageLength(std::uint8_t status) {
    if (status < kNoteOffStatus) {
        return 0;  // a data byte
    }
    if (status < kSystemStatus) {
        const std::uint32_t kind = status & 0xF0U;
        return kind == kProgramChangeStatus || kind == kChannelPressureStatus ? 2 : 3;
    }
    switch (status) {
        case 0xF0:
            return 0;  // system exclusive does not fit in a short message
        case 0xF1:
        case 0xF3:
            return 2;
        case 0xF2:
            return 3;
        default:
            return 1;
    }
}

}  // namespace tavrola
