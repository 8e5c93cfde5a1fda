#pragma once

#include <QDialog>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "core/music/midi_output.h"
#include "core/playback/command_key.h"
#include "core/playback/performance_simulation.h"
#include "core/playback/performer.h"
#include "core/playback/playback_clock.h"
#include "core/services/ui_language.h"
#include "export/face/client_rect.h"
#include "export/face/main_window_buttons.h"
#include "ui/widgets/background_panel.h"
#include "ui/widgets/image_buttons.h"
#include "ui/widgets/offscreen_control.h"
#include "ui/window/help_viewer.h"

class QContextMenuEvent;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QKeyEvent;
class QLabel;
class QShowEvent;

namespace tavrola {

class ExportJob;
struct ExportOutcome;
struct ExportPlan;

// The program's one window. It holds everything for the whole run: its performer (the
// performance, the MIDI unit and the helix), the picture controls and the ten labels, and it is
// the performer's view; its run is the program's run.
class CTavrolaAppDlg : public QDialog, private PlaybackView {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = kMainWindowClientWidth;
    static constexpr int kClientHeight = kMainWindowClientHeight;
    static constexpr int kPlaybackIntervalMs = 500;

    // Where the MIDI messages go; it may give none, and the program then plays silently.
    using MidiOutputFactory = std::function<std::unique_ptr<MidiOutput>()>;

    // The window shows its texts in the installed catalogue's language; `language` chooses the
    // help it opens.
    explicit CTavrolaAppDlg(MidiOutputFactory make_midi_output,
                            int playback_interval_ms = kPlaybackIntervalMs,
                            QWidget* parent = nullptr, UiLanguage language = UiLanguage::kJapanese);
    ~CTavrolaAppDlg() override;

    // The performance the window shows and its commands change.
    Performer& Performance() { return *performer_; }
    const Performer& Performance() const { return *performer_; }
    ImageButtonSet& Buttons() { return *button_set_; }
    const BackgroundPanel& Panel() const { return *panel_; }
    const QTimer& PlaybackTimer() const { return playback_timer_; }
    // Opens the help beside the window without waiting for the desktop.
    HelpOpener& Help() { return help_; }
    QLabel* Label(int id) const;

    // The sphere layer as last rendered, put on the screen.
    void PresentLayer() override;
    // Opens the About box, as the context menu's item does.
    void ShowAbout();

    // An export runs beside the window; meanwhile the window takes only the quit, which
    // cancels the export first.
    bool Exporting() const;
    void StartExport(ExportPlan plan);
    ExportJob* RunningExport() const;

  public slots:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // A file or a text dropped on the window opens the Data dialog with it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void EnableImageButton(CommandKey key, bool enable) override;
    void SetStartButtonLabel(const std::string& label) override;
    void SetVoiceLabel(VoiceLabel label, const std::string& text) override;
    void StartPlaybackTimer() override;
    void StopPlaybackTimer() override;
    void PresentImageButtons() override;

    void CreateLabels();
    void AddExportShortcut(const char* keys, void (*command)(CTavrolaAppDlg&));
    void OnExportFinished(const ExportOutcome& outcome);
    // The button's shortcut anywhere in the window, named in its tooltip.
    void AddButtonShortcut(const MainWindowButton& button, COffScreenControl& control);
    void OnPlaybackTimer();

    // The panel is set up first, so every other picture lies above it.
    COffScreenControl background_panel_control_{this};
    COffScreenControl start_button_control_{this, COffScreenControl::MouseStyle::kNotify};
    COffScreenControl exit_button_control_{this, COffScreenControl::MouseStyle::kNotify};
    COffScreenControl sphere_layer_control_{this};
    COffScreenControl instrument_button_control_{this, COffScreenControl::MouseStyle::kNotify};
    COffScreenControl data_button_control_{this, COffScreenControl::MouseStyle::kNotify};
    COffScreenControl algorithm_button_control_{this, COffScreenControl::MouseStyle::kNotify};
    COffScreenControl help_button_control_{this, COffScreenControl::MouseStyle::kNotify};
    // In the order of their ids: 1030 to 1039.
    std::array<QLabel*, 10> labels_{};
    std::unique_ptr<BackgroundPanel> panel_;
    std::unique_ptr<ImageButtonSet> button_set_;
    std::unique_ptr<Performer> performer_;
    QTimer playback_timer_;
    HelpOpener help_;
    std::unique_ptr<ExportJob> export_;
};

}  // namespace tavrola
