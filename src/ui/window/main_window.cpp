#include "ui/window/main_window.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QShowEvent>
#include <QString>
#include <utility>

#include "core/services/user_message.h"
#include "export/face/button_label.h"
#include "export/face/client_rect.h"
#include "export/face/designed_texts.h"
#include "export/face/image_record.h"
#include "export/face/main_window_buttons.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/window/command_dispatch.h"
#include "ui/window/export_commands.h"
#include "ui/window/export_job.h"
#include "ui/window/export_sentences.h"
#include "ui/window/main_window_labels.h"
#include "ui/window/sequence_opening.h"

namespace tavrola {
namespace {

constexpr ClientRect kSphereLayerRect{5, 5, 5 + kSphereLayerWidth, 5 + kSphereLayerHeight};

void DoNothing(int, int, int) {}

}  // namespace

CTavrolaAppDlg::CTavrolaAppDlg(MidiOutputFactory make_midi_output, int playback_interval_ms,
                               QWidget* parent, UiLanguage language)
    : QDialog(parent), help_(language) {
    setWindowTitle(QStringLiteral("Tavrola"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    CreateLabels();
    setWindowIcon(LoadProgramIcon());
    setFixedSize(kClientWidth, kClientHeight);
    move(0, 0);

    panel_ = CreateBackgroundPanel(ClientRect{0, 0, kClientWidth, kClientHeight},
                                   background_panel_control_);
    // Each button's control, by key.
    COffScreenControl* const controls[] = {&exit_button_control_,      &data_button_control_,
                                           &start_button_control_,     &instrument_button_control_,
                                           &algorithm_button_control_, &help_button_control_};
    for (const MainWindowButton& button : kMainWindowButtons) {
        COffScreenControl& control = *controls[button.key];
        const QString label = ShownButtonLabel(button);
        AddButtonShortcut(button, control);
        if (!button_set_) {
            button_set_ = CreateImageButtonSet(button.rect, control, label, button.released_bitmap,
                                               button.pressed_bitmap, button.key);
            button_set_->SetReleaseHook(
                [this](int key) { DispatchCommand(*this, static_cast<CommandKey>(key)); });
        } else {
            button_set_->AddImageButton(button.rect, label, button.released_bitmap,
                                        button.pressed_bitmap, button.key, control);
        }
    }

    // The exit switch has no label to name it by.
    exit_button_control_.setAccessibleName(ShownButtonTip(MainWindowButtonFor(kExitButtonKey)));

    sphere_layer_control_.setAccessibleName(tr("DNA の二重らせん"));
    sphere_layer_control_.setAccessibleDescription(
        tr("塩基対ごとに色の付いた光る球が回りながら流れ、次に鳴る塩基対が明るく光ります"));
    // The layer's pixels are the performer's: the control only shows what it presents.
    PixelSurface placeholder;
    SetUpOffScreen(sphere_layer_control_, kSphereLayerRect, DoNothing, DoNothing, placeholder);
    // Qt paints siblings in stacking order: the labels must lie above the panel to be seen.
    for (QLabel* label : labels_) {
        label->raise();
    }

    // The helix's start-up renders and the MIDI output's opening. The window is its view.
    PlaybackView& view = *this;
    performer_ = std::make_unique<Performer>(make_midi_output ? make_midi_output() : nullptr, view);

    // Start waits until the Data dialog has been closed once.
    button_set_->EnableImageButton(kStartButtonKey, false);

    AddExportShortcut(kMidiExportShortcut, ExportMidiFile);
    AddExportShortcut(kAudioExportShortcut, ExportAudioFile);
    AddExportShortcut(kVideoExportShortcut, ExportVideoFile);

    // The picture controls take no drops, so a drop anywhere on the window reaches it.
    setAcceptDrops(true);

    playback_timer_.setTimerType(Qt::PreciseTimer);
    playback_timer_.setInterval(playback_interval_ms);
    connect(&playback_timer_, &QTimer::timeout, this, &CTavrolaAppDlg::OnPlaybackTimer);
}

CTavrolaAppDlg::~CTavrolaAppDlg() {
    // An export still under way is cancelled first and its file removed.
    export_.reset();
    // A failure box while the MIDI output closes runs an event loop; no tick may reach the
    // helix during it.
    playback_timer_.stop();
    panel_->DestroyBackgroundPanel();
    button_set_->DestroyImageButtons();
    // Resets the output before it closes it, so no note keeps sounding.
    performer_.reset();
}

QLabel* CTavrolaAppDlg::Label(int id) const {
    const int index = id - kFirstLabelId;
    return index >= 0 && index < static_cast<int>(labels_.size())
               ? labels_[static_cast<std::size_t>(index)]
               : nullptr;
}

void CTavrolaAppDlg::CreateLabels() {
    const MainWindowLabelLook look = LookOfMainWindowLabels();
    for (const LabelTemplate& entry : kMainWindowLabels) {
        const int index = entry.id - kFirstLabelId;
        labels_[static_cast<std::size_t>(index)] =
            new MainWindowLabel(ShownLabelText(entry), this, look, index);
    }
    for (const VoiceLabel value : {VoiceLabel::kRightBase, VoiceLabel::kLeftBase,
                                   VoiceLabel::kRightPitch, VoiceLabel::kLeftPitch}) {
        Label(VoiceLabelId(value))->setAccessibleDescription(VoiceLabelDescription(value));
    }
}

void CTavrolaAppDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Everything was drawn during the initialisation; now that the controls can be seen,
    // put it on the screen.
    PresentOffScreen(panel_->Surface(), background_panel_control_);
    button_set_->PresentImageButtons();
    PresentLayer();
}

void CTavrolaAppDlg::keyPressEvent(QKeyEvent* event) {
    // Without a default button a dialog ignores Enter; here it ends the run, as Escape does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CTavrolaAppDlg::AddButtonShortcut(const MainWindowButton& button, COffScreenControl& control) {
    const QKeySequence keys(QString::fromLatin1(button.shortcut));
    auto* shortcut = new QShortcut(keys, this);
    // A held key repeats; the command must not.
    shortcut->setAutoRepeat(false);
    connect(shortcut, &QShortcut::activated, &control, &COffScreenControl::Click);
    //: A button's tooltip: its name, then its shortcut.
    control.setToolTip(
        tr("%1（%2）").arg(ShownButtonTip(button), keys.toString(QKeySequence::NativeText)));
}

void CTavrolaAppDlg::contextMenuEvent(QContextMenuEvent* event) {
    // A right click while the left button holds a button would take the mouse from it: the
    // press must still end by its own release or by leaving the button.
    if (button_set_->AnyPressed()) {
        event->accept();
        return;
    }
    // An export under way takes the window's commands, the About box included.
    if (Exporting()) {
        event->accept();
        return;
    }
    QMenu menu(this);
    AddExportItems(menu, *this);
    menu.addSeparator();
    menu.addAction(tr("バージョン情報 TavrolaApp(&A)..."), this, &CTavrolaAppDlg::ShowAbout);
    menu.exec(event->globalPos());
}

void CTavrolaAppDlg::dragEnterEvent(QDragEnterEvent* event) {
    AnswerSequenceDrag(*this, *event);
}

void CTavrolaAppDlg::dragMoveEvent(QDragMoveEvent* event) {
    AnswerSequenceDrag(*this, *event);
}

void CTavrolaAppDlg::dropEvent(QDropEvent* event) {
    TakeSequenceDrop(*this, *event);
}

void CTavrolaAppDlg::AddExportShortcut(const char* keys, void (*command)(CTavrolaAppDlg&)) {
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys)), this);
    shortcut->setAutoRepeat(false);
    connect(shortcut, &QShortcut::activated, this, [this, command] { command(*this); });
}

ExportJob* CTavrolaAppDlg::RunningExport() const {
    return export_.get();
}

bool CTavrolaAppDlg::Exporting() const {
    return export_ != nullptr;
}

void CTavrolaAppDlg::StartExport(ExportPlan plan) {
    if (Exporting()) {
        return;
    }
    export_ = std::make_unique<ExportJob>(this, std::move(plan));
    connect(export_.get(), &ExportJob::finished, this, &CTavrolaAppDlg::OnExportFinished);
    connect(export_.get(), &ExportJob::quitRequested, this,
            [this] { DispatchCommand(*this, kExitButtonKey); });
}

void CTavrolaAppDlg::OnExportFinished(const ExportOutcome& outcome) {
    // The job is inside its own signal: it goes once the signal has returned.
    export_.release()->deleteLater();
    if (!outcome.Succeeded() && !outcome.Cancelled()) {
        ShowMessage(ExportFailureSentence(outcome));
    }
}

void CTavrolaAppDlg::done(int result) {
    // However the run ends, an export under way is cancelled and its file removed before the
    // window goes.
    export_.reset();
    QDialog::done(result);
}

void CTavrolaAppDlg::ShowAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CTavrolaAppDlg::OnPlaybackTimer() {
    performer_->Tick();
}

void CTavrolaAppDlg::PresentLayer() {
    PresentOffScreen(performer_->Layer().surface, sphere_layer_control_);
}

void CTavrolaAppDlg::EnableImageButton(CommandKey key, bool enable) {
    button_set_->EnableImageButton(key, enable);
}

void CTavrolaAppDlg::SetStartButtonLabel(const std::string& label) {
    button_set_->SetStartButtonLabel(ShownDesignedText(label.c_str()));
}

void CTavrolaAppDlg::SetVoiceLabel(VoiceLabel label, const std::string& text) {
    if (QLabel* widget = Label(VoiceLabelId(label))) {
        widget->setText(QString::fromStdString(text));
    }
}

void CTavrolaAppDlg::StartPlaybackTimer() {
    playback_timer_.start();
}

void CTavrolaAppDlg::StopPlaybackTimer() {
    playback_timer_.stop();
}

void CTavrolaAppDlg::PresentImageButtons() {
    button_set_->PresentImageButtons();
}

}  // namespace tavrola
