#include "audio/fluidsynth_output.h"

#include <fluidsynth.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <utility>

#include "audio/synth_settings.h"

namespace tavrola {

namespace {

// PulseAudio also serves PipeWire desktops through pipewire-pulse, so it comes first; it is
// the synthesiser's own stream, the others are FluidSynth's drivers.
constexpr const char* kPulseAudioDriver = "pulseaudio";
constexpr const char* kFluidSynthFallbackDrivers[] = {"pipewire", "alsa"};

constexpr const char* kSoundFontFolder = "/usr/share/sounds/sf2/";
constexpr const char* kOtherDistributionsSoundFont = "/usr/share/soundfonts/default.sf2";

struct DriverDeleter {
    void operator()(fluid_audio_driver_t* driver) const { delete_fluid_audio_driver(driver); }
};
using DriverHandle = std::unique_ptr<fluid_audio_driver_t, DriverDeleter>;

SynthSettings MakeSettings(bool dynamic_sample_loading) {
    SynthSettings settings = MakeSynthSettings(kSynthSampleRate, dynamic_sample_loading);
    if (settings) {
        fluid_settings_setint(settings.get(), "audio.period-size", kAudioPeriodFrames);
        fluid_settings_setint(settings.get(), "audio.periods", kAudioPeriodCount);
    }
    return settings;
}

void CollectOption(void* data, const char* /*name*/, const char* option) {
    static_cast<std::vector<std::string>*>(data)->emplace_back(option);
}

// The synthesiser as its PulseAudio stream plays it.
StreamSource StreamSourceFor(fluid_synth_t* synth) {
    return StreamSource{
        .render =
            [synth](float* interleaved, std::size_t frames) {
                fluid_synth_write_float(synth, static_cast<int>(frames), interleaved, 0, 2,
                                        interleaved, 1, 2);
            },
        .sounding = [synth] { return fluid_synth_get_active_voice_count(synth) > 0; }};
}

// Starts the first of FluidSynth's own drivers that runs; `driver_name` says which.
DriverHandle StartFallbackDriver(fluid_settings_t* settings, fluid_synth_t* synth,
                                 std::string& driver_name) {
    for (const std::string& name : AudioDriverCandidates()) {
        if (name == kPulseAudioDriver) {
            continue;
        }
        fluid_settings_setstr(settings, "audio.driver", name.c_str());
        // A driver that cannot start (no server, no card) is an ordinary outcome.
        DriverHandle driver(new_fluid_audio_driver(settings, synth));
        if (driver) {
            driver_name = name;
            return driver;
        }
    }
    driver_name.clear();
    return nullptr;
}

// All notes off and all sound off on every channel. FluidSynth's system reset would leave
// voices sounding (and can even undo an all-sound-off of the same period).
bool Silence(fluid_synth_t* synth) {
    bool silenced = true;
    for (int channel = 0; channel < kMidiChannelCount; ++channel) {
        silenced &= fluid_synth_all_notes_off(synth, channel) == FLUID_OK;
        silenced &= fluid_synth_all_sounds_off(synth, channel) == FLUID_OK;
    }
    return silenced;
}

bool IsReadableRegularFile(const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    return std::ifstream(path, std::ios::binary).good();
}

}  // namespace

struct FluidSynthOutput::Synth {
    SynthSettings settings;
    SynthHandle synth;
    // Declared last so they stop first: the audio thread must end before the synth goes.
    // One of the two plays.
    std::unique_ptr<PulseSynthStream> stream;
    DriverHandle driver;
};

// The load beside the caller, and what the caller asked while it ran.
struct FluidSynthOutput::Loading {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;  // the load has ended, well or not
    // Messages in the order sent; an empty entry is a reset.
    std::vector<std::optional<std::uint32_t>> waiting;
    bool wake = false;
    // The load ended well and the synthesiser is the caller's from now on.
    std::atomic<bool> loaded{false};
    std::thread thread;
};

FluidSynthOutput::FluidSynthOutput(FluidSynthOptions options) : options_(std::move(options)) {}

FluidSynthOutput::~FluidSynthOutput() {
    Close();
}

bool FluidSynthOutput::Open() {
    Close();
    // The header alone: a file that is no SoundFont at all fails before anything waits.
    if (fluid_is_soundfont(options_.soundfont_path.c_str()) == 0) {
        return false;
    }
    loading_ = std::make_unique<Loading>();
    if (options_.audio != SynthAudio::kRenderOnly) {
        loading_->thread = std::thread([this] { Load(); });
        return true;
    }
    Load();
    if (!Loaded()) {
        loading_.reset();
        return false;
    }
    return true;
}

void FluidSynthOutput::Load() {
    auto made = std::make_unique<Synth>();
    std::string driver;
    made->settings = MakeSettings(options_.dynamic_sample_loading);
    if (made->settings) {
        made->synth.reset(new_fluid_synth(made->settings.get()));
    }
    // The samples of the programs asked for load with their program changes; the default
    // program of every channel, which would load the piano and the drum kit, is not set.
    bool ready =
        made->synth &&
        fluid_synth_sfload(made->synth.get(), options_.soundfont_path.c_str(), 0) != FLUID_FAILED;
    if (ready && options_.audio == SynthAudio::kPulseStream) {
        // It connects on its own thread when the first message wakes it.
        made->stream = std::make_unique<PulseSynthStream>(StreamSourceFor(made->synth.get()),
                                                          kSynthStreamTiming);
        driver = kPulseAudioDriver;
    } else if (ready && options_.audio == SynthAudio::kFallbackDriver) {
        made->driver = StartFallbackDriver(made->settings.get(), made->synth.get(), driver);
        ready = made->driver != nullptr;
    }
    // Told before the load counts as ended, so whoever waits for its end learns it too.
    if (!ready && options_.audio != SynthAudio::kRenderOnly && options_.failed_to_load) {
        options_.failed_to_load();
    }
    {
        std::lock_guard lock(loading_->mutex);
        if (ready) {
            for (const std::optional<std::uint32_t>& call : loading_->waiting) {
                if (call) {
                    PlayShortMessage(made->synth.get(), *call);
                } else {
                    Silence(made->synth.get());
                }
            }
            if (made->stream && (loading_->wake || !loading_->waiting.empty())) {
                made->stream->Wake();
            }
            synth_ = std::move(made);
            audio_driver_ = std::move(driver);
            loading_->loaded.store(true, std::memory_order_release);
        }
        loading_->waiting.clear();
        loading_->done = true;
    }
    loading_->finished.notify_all();
}

bool FluidSynthOutput::Loaded() const {
    return loading_ && loading_->loaded.load(std::memory_order_acquire);
}

void FluidSynthOutput::WaitForLoad() const {
    if (loading_) {
        std::unique_lock lock(loading_->mutex);
        loading_->finished.wait(lock, [this] { return loading_->done; });
    }
}

FluidSynthOutput::Reach FluidSynthOutput::ReachSynth(std::optional<std::uint32_t> call) {
    if (Loaded()) {
        return Reach::kNow;
    }
    if (!loading_) {
        return Reach::kNothing;
    }
    std::lock_guard lock(loading_->mutex);
    if (!loading_->done) {
        loading_->waiting.push_back(call);
        return Reach::kQueued;
    }
    return loading_->loaded ? Reach::kNow : Reach::kNothing;
}

void FluidSynthOutput::SendShortMessage(std::uint32_t message) {
    if (ReachSynth(message) != Reach::kNow) {
        return;
    }
    PlayShortMessage(synth_->synth.get(), message);
    if (synth_->stream) {
        synth_->stream->Wake();
    }
}

void FluidSynthOutput::PrepareToPlay() {
    if (!Loaded() && loading_) {
        std::lock_guard lock(loading_->mutex);
        if (!loading_->done) {
            loading_->wake = true;
            return;
        }
    }
    if (Loaded() && synth_->stream) {
        synth_->stream->Wake();
    }
}

PulseSynthStream::Stats FluidSynthOutput::StreamStats() const {
    return Loaded() && synth_->stream ? synth_->stream->GetStats() : PulseSynthStream::Stats{};
}

bool FluidSynthOutput::Reset() {
    switch (ReachSynth(std::nullopt)) {
        case Reach::kNow:
            return Silence(synth_->synth.get());
        case Reach::kQueued:
            return true;
        case Reach::kNothing:
            break;
    }
    return false;
}

bool FluidSynthOutput::Close() {
    if (loading_ && loading_->thread.joinable()) {
        loading_->thread.join();
    }
    synth_.reset();
    loading_.reset();
    audio_driver_.clear();
    return true;
}

const std::string& FluidSynthOutput::AudioDriver() const {
    WaitForLoad();
    return audio_driver_;
}

std::string FluidSynthOutput::Name() const {
    WaitForLoad();
    // The file itself, not the alias that found it (default-GM.sf2 is a link).
    std::error_code error;
    std::filesystem::path soundfont = std::filesystem::canonical(options_.soundfont_path, error);
    if (error) {
        soundfont = options_.soundfont_path;
    }
    std::string name = "FluidSynth (" + soundfont.filename().string();
    if (!audio_driver_.empty()) {
        name += ", " + audio_driver_;
    }
    return name + ")";
}

void FluidSynthOutput::Render(std::span<float> left, std::span<float> right) {
    if (!Loaded() || left.size() != right.size() || left.empty()) {
        return;
    }
    fluid_synth_write_float(synth_->synth.get(), static_cast<int>(left.size()), left.data(), 0, 1,
                            right.data(), 0, 1);
}

std::vector<std::string> SoundFontCandidates() {
    std::vector<std::string> candidates;
    if (SynthSettings settings{new_fluid_settings()}) {
        char* configured = nullptr;
        if (fluid_settings_dupstr(settings.get(), "synth.default-soundfont", &configured) ==
                FLUID_OK &&
            configured != nullptr) {
            candidates.emplace_back(configured);
        }
        fluid_free(configured);
    }
    for (const char* file : {"default-GM.sf2", "FluidR3_GM.sf2", "TimGM6mb.sf2"}) {
        candidates.push_back(std::string(kSoundFontFolder) + file);
    }
    candidates.emplace_back(kOtherDistributionsSoundFont);
    return candidates;
}

std::optional<std::string> FirstUsableSoundFont(const std::vector<std::string>& candidates) {
    const auto found = std::find_if(candidates.begin(), candidates.end(), IsReadableRegularFile);
    if (found == candidates.end()) {
        return std::nullopt;
    }
    return *found;
}

std::vector<std::string> AudioDriverCandidates() {
    std::vector<std::string> built_in;
    if (SynthSettings settings{new_fluid_settings()}) {
        fluid_settings_foreach_option(settings.get(), "audio.driver", &built_in, CollectOption);
    }
    std::vector<std::string> candidates = {kPulseAudioDriver};
    for (const char* driver : kFluidSynthFallbackDrivers) {
        if (std::find(built_in.begin(), built_in.end(), driver) != built_in.end()) {
            candidates.emplace_back(driver);
        }
    }
    return candidates;
}

bool CanStartFallbackDriver() {
    SynthSettings settings = MakeSettings(true);
    if (!settings) {
        return false;
    }
    SynthHandle synth(new_fluid_synth(settings.get()));
    if (!synth) {
        return false;
    }
    std::string driver_name;
    return StartFallbackDriver(settings.get(), synth.get(), driver_name) != nullptr;
}

}  // namespace tavrola
