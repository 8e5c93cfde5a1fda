#include "audio/find_midi_output.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/fluidsynth_output.h"
#include "audio/rtmidi_output.h"
#include "core/music/midi_controler.h"
#include "support/recorded_messages.h"

namespace tavrola {
namespace {

// Sets an environment variable while it lives.
class ScopedEnvironment {
  public:
    ScopedEnvironment(std::string name, const std::string& value) : name_(std::move(name)) {
        if (const char* previous = std::getenv(name_.c_str())) {
            previous_ = previous;
        }
        ::setenv(name_.c_str(), value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (previous_) {
            ::setenv(name_.c_str(), previous_->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    std::string name_;
    std::optional<std::string> previous_;
};

class TemporaryFolder {
  public:
    TemporaryFolder() {
        char path[] = "/tmp/tavrola-test-XXXXXX";
        path_ = ::mkdtemp(path) ? path : "";
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::string Write(const std::string& name, const std::string& content) const {
        const std::filesystem::path file = path_ / name;
        std::ofstream(file, std::ios::binary) << content;
        return file.string();
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

TEST(ChooseMidiOutput, PrefersTheSynthesiserThenAnExternalPortThenNothing) {
    using enum SoundServerAnswer;
    struct Case {
        const char* what;
        MidiOutputSurvey survey;
        std::string expected_name_start;  // empty: no output
    };
    const std::vector<std::string> ports = {"Midi Through:Midi Through Port-0 14:0",
                                            "USB Synth:USB Synth MIDI 1 20:0"};
    const std::vector<Case> cases = {
        {"SoundFont, server answered",
         {"/sf/gm.sf2", kAnswered, false, ports},
         "FluidSynth (gm.sf2"},
        {"SoundFont, answer awaited", {"/sf/gm.sf2", kAwaited, false, ports}, "FluidSynth (gm.sf2"},
        {"SoundFont, no server, a driver", {"/sf/gm.sf2", kRefused, true, ports}, "FluidSynth"},
        {"SoundFont, no server, no driver", {"/sf/gm.sf2", kRefused, false, ports}, "USB Synth"},
        {"SoundFont, a stalled server", {"/sf/gm.sf2", kNoAnswer, false, ports}, "USB Synth"},
        {"a server, no SoundFont", {std::nullopt, kAnswered, true, ports}, "USB Synth"},
        {"only a pass-through port", {std::nullopt, kRefused, false, {ports[0]}}, ""},
        {"nothing at all", {std::nullopt, kRefused, false, {}}, ""},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<MidiOutput> output = ChooseMidiOutput(c.survey);
        if (c.expected_name_start.empty()) {
            EXPECT_EQ(output, nullptr) << c.what;
        } else {
            ASSERT_NE(output, nullptr) << c.what;
            EXPECT_EQ(output->Name().rfind(c.expected_name_start, 0), 0U)
                << c.what << ": chose " << output->Name();
        }
    }
}

TEST(ExternalMidiPorts, SkipPassThroughPorts) {
    EXPECT_TRUE(IsPassThroughPort("Midi Through:Midi Through Port-0 14:0"));
    EXPECT_FALSE(IsPassThroughPort("FLUID Synth (1234):Synth input port (1234:0) 128:0"));
    EXPECT_EQ(FirstExternalMidiPort({"Midi Through:Midi Through Port-0 14:0", "A", "B"}), "A");
    EXPECT_EQ(FirstExternalMidiPort({"Midi Through:Midi Through Port-0 14:0"}), std::nullopt);
}

TEST(ExternalMidiPorts, SendEachMessageWithItsOwnLength) {
    struct Case {
        std::uint8_t status;
        std::size_t length;
    };
    const Case cases[] = {{0x80, 3}, {0x91, 3}, {0xA2, 3}, {0xBF, 3}, {0xC0, 2}, {0xD5, 2},
                          {0xE1, 3}, {0xF0, 0}, {0xF1, 2}, {0xF2, 3}, {0xF3, 2}, {0xF6, 1},
                          {0xF8, 1}, {0xFF, 1}, {0x00, 0}, {0x7F, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(ShortMessageLength(c.status), c.length) << "status 0x" << std::hex << +c.status;
    }
}

TEST(ExternalMidiPorts, AMissingPortDoesNotOpenAndNothingThrows) {
    RtMidiOutput output("No Such Port:No Such Port 99:0");
    EXPECT_FALSE(output.Open());
    output.SendShortMessage(0x7F3C90);  // dropped: nothing is open
    EXPECT_FALSE(output.Reset());
    EXPECT_TRUE(output.Close());
}

TEST(SoundFontSearch, TriesFluidSynthsDefaultThenTheUsualFilesInOrder) {
    const std::vector<std::string> candidates = SoundFontCandidates();
    ASSERT_EQ(candidates.size(), 5U);
    EXPECT_EQ(std::vector<std::string>(candidates.begin() + 1, candidates.end()),
              (std::vector<std::string>{
                  "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                  "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/soundfonts/default.sf2"}));
}

TEST(SoundFontSearch, TakesTheFirstReadableFile) {
    TemporaryFolder folder;
    const std::string second = folder.Write("second.sf2", "RIFF");
    const std::string third = folder.Write("third.sf2", "RIFF");
    const std::string missing = (folder.path() / "missing.sf2").string();
    const std::string a_folder = folder.path().string();
    EXPECT_EQ(FirstUsableSoundFont({missing, a_folder, second, third}), second);
    EXPECT_EQ(FirstUsableSoundFont({missing, a_folder}), std::nullopt);
    EXPECT_EQ(FirstUsableSoundFont({}), std::nullopt);
}

TEST(SynthAudioDrivers, NeverJackAndPulseAudioFirst) {
    const std::vector<std::string> drivers = AudioDriverCandidates();
    EXPECT_EQ(std::count(drivers.begin(), drivers.end(), "jack"), 0);
    ASSERT_FALSE(drivers.empty()) << "this FluidSynth has none of PulseAudio, PipeWire, ALSA";
    EXPECT_EQ(drivers.front(), "pulseaudio");
}

TEST(FluidSynthOutput, AFileThatIsNoSoundFontFailsToOpen) {
    TemporaryFolder folder;
    for (const std::string& path : {folder.Write("broken.sf2", "RIFF\x10\0\0\0sfbkLIST garbage"),
                                    (folder.path() / "missing.sf2").string()}) {
        testing::RecordedMessages messages;
        auto controler =
            OpenMidiOutput(std::make_unique<FluidSynthOutput>(FluidSynthOptions{
                               .soundfont_path = path, .audio = SynthAudio::kRenderOnly}),
                           98, 91);
        EXPECT_FALSE(controler->HasOutput()) << path;
        EXPECT_EQ(messages.texts(),
                  std::vector<std::string>{"MidiControler:未定義のエラーが発生しました。"})
            << path;
    }
    // Playing, the load runs beside the window: a file with a SoundFont's header that fails
    // to load is told once, afterwards, and the output stays silent.
    std::atomic<int> told{0};
    FluidSynthOutput playing(FluidSynthOptions{
        .soundfont_path = folder.Write("header.sf2", std::string("RIFF\x10\0\0\0sfbkLIST", 16)),
        .audio = SynthAudio::kPulseStream,
        .failed_to_load = [&told] { ++told; }});
    EXPECT_TRUE(playing.Open());
    playing.SendShortMessage(PackShortMessage(kNoteOnStatus, 60, 100));
    EXPECT_EQ(playing.AudioDriver(), "") << "after the load, no output plays";
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(playing.Reset());
}

// This machine has no sound card, no sound server and no ALSA sequencer; the same is forced
// elsewhere by pointing PulseAudio at nothing and giving ALSA an empty configuration.
TEST(StartUpWithoutSound, SaysSoOnceAndCarriesOnSilently) {
    TemporaryFolder folder;
    ScopedEnvironment no_server("PULSE_SERVER", "unix:" + (folder.path() / "none").string());
    ScopedEnvironment no_alsa("ALSA_CONFIG_PATH", folder.Write("alsa.conf", ""));
    testing::RecordedMessages messages;

    auto controler = OpenMidiOutput(FindMidiOutput(), 98, 91);

    ASSERT_NE(controler, nullptr);
    EXPECT_FALSE(controler->HasOutput());
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"MidiControler:使用できるMIDIデバイスがありません。"});
    controler->SendNoteOn(60, 0);
    controler->AllNotesOff();
    CloseMidiOutput(controler);
    EXPECT_EQ(messages.texts().size(), 1U) << "nothing more after the first message";
}

}  // namespace
}  // namespace tavrola
