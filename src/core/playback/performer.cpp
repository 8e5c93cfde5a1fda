#include "core/playback/performer.h"

#include <utility>

#include "core/helix/helix_geometry.h"

namespace tavrola {

Performer::Performer(std::unique_ptr<MidiOutput> midi_output, PlaybackView& view) : view_(view) {
    voice_labels_.fill(kNoPitchLabel);
    SetPerformanceDefaults(state_);
    state_.pair_count = kDefaultPairCount;
    SetUpSphereLayer(layer_, kSphereLayerWidth, kSphereLayerHeight, random_);
    BuildStartUpSpheres(layer_, state_.pair_count, random_);
    midi_ = OpenMidiOutput(std::move(midi_output), kDefaultRightInstrument, kDefaultLeftInstrument);
    state_.right_instrument = kDefaultRightInstrument;
    state_.left_instrument = kDefaultLeftInstrument;
}

Performer::Performer(const PerformanceSnapshot& snapshot, std::unique_ptr<MidiOutput> midi_output,
                     PlaybackView& view)
    : view_(view),
      state_(snapshot.state),
      random_(snapshot.random),
      voice_labels_(snapshot.voice_labels) {
    layer_.surface = PixelSurface(kSphereLayerWidth, kSphereLayerHeight);
    layer_.table = snapshot.spheres;
    midi_ = OpenMidiOutput(std::move(midi_output), state_.right_instrument, state_.left_instrument);
}

Performer::~Performer() {
    // The helix's pixels go with the window's graphics; the output closes before the sequence
    // is freed.
    layer_.surface = PixelSurface();
    CloseMidiOutput(midi_);
}

const std::string& Performer::VoiceLabelText(VoiceLabel label) const {
    return voice_labels_[static_cast<std::size_t>(label)];
}

PlaybackContext Performer::Context() {
    return {state_, *midi_, layer_, *this, random_};
}

void Performer::TogglePlayback() {
    PlaybackContext context = Context();
    tavrola::TogglePlayback(context);
}

void Performer::Tick() {
    PlaybackContext context = Context();
    PlaybackTick(context);
}

std::optional<BaseSequence> Performer::LendSequence() {
    return std::move(state_.sequence);
}

void Performer::InstallSequence(std::optional<BaseSequence> sequence) {
    tavrola::InstallSequence(state_, std::move(sequence));
    RecomputeHelix(state_, layer_, random_);
    view_.EnableImageButton(kStartButtonKey, true);
    RenderLayer(layer_, random_);
    view_.PresentLayer();
}

void Performer::SetInstruments(std::int32_t right, std::int32_t left) {
    state_.right_instrument = right;
    state_.left_instrument = left;
    ApplyInstruments(*midi_, state_);
}

void Performer::SetAlgorithm(const AssignmentTable& table, TimingMode timing_mode,
                             bool diatonic_only) {
    state_.assignment_table = table;
    state_.timing_mode = timing_mode;
    state_.diatonic_only = diatonic_only;
}

void Performer::ReplaceMidiOutput(std::unique_ptr<MidiOutput> opened) {
    std::unique_ptr<MidiControler> replaced =
        std::exchange(midi_, std::make_unique<MidiControler>(std::move(opened)));
    CloseMidiOutput(replaced);
    ApplyInstruments(*midi_, state_);
}

PerformanceSnapshot Performer::Snapshot() const {
    return {state_, layer_.table, random_, voice_labels_};
}

SimulatedPerformance Performer::WorkOutPerformance() const {
    return SimulatePerformance(state_, layer_.table, random_);
}

void Performer::EnableImageButton(CommandKey key, bool enable) {
    view_.EnableImageButton(key, enable);
}

void Performer::SetStartButtonLabel(const std::string& label) {
    view_.SetStartButtonLabel(label);
}

void Performer::SetVoiceLabel(VoiceLabel label, const std::string& text) {
    voice_labels_[static_cast<std::size_t>(label)] = text;
    view_.SetVoiceLabel(label, text);
}

void Performer::StartPlaybackTimer() {
    view_.StartPlaybackTimer();
}

void Performer::StopPlaybackTimer() {
    view_.StopPlaybackTimer();
}

void Performer::PresentLayer() {
    view_.PresentLayer();
}

void Performer::PresentImageButtons() {
    view_.PresentImageButtons();
}

}  // namespace tavrola
