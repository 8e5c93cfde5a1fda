#include "ui/window/sound_server_watch.h"

#include <QMetaObject>
#include <QObject>
#include <utility>

#include "core/music/midi_controler.h"
#include "core/services/user_message.h"
#include "ui/window/main_window.h"

namespace tavrola {

namespace {

// A child of the window: it goes with the window, and its probe (and so the probe's thread,
// which posts to it) goes first.
class SoundServerWatch final : public QObject {
  public:
    SoundServerWatch(CTavrolaAppDlg& window, std::unique_ptr<SoundServerProbe> probe,
                     MidiOutputSurvey survey)
        : QObject(&window), window_(window), probe_(std::move(probe)), survey_(std::move(survey)) {
        probe_->WhenAnswered([this](SoundServerAnswer answer) {
            QMetaObject::invokeMethod(
                this, [this, answer] { OnAnswer(answer); }, Qt::QueuedConnection);
        });
    }
    ~SoundServerWatch() override { probe_.reset(); }
    SoundServerWatch(const SoundServerWatch&) = delete;
    SoundServerWatch& operator=(const SoundServerWatch&) = delete;

  private:
    void OnAnswer(SoundServerAnswer answer) {
        deleteLater();
        if (answer == SoundServerAnswer::kAnswered) {
            return;
        }
        std::unique_ptr<MidiOutput> instead = ChooseOutputWithoutServer(survey_);
        if (!instead) {
            ShowMessage(kNoMidiDeviceMessage);
        } else if (!instead->Open()) {
            ShowMessage(kMidiUndefinedErrorMessage);
        } else {
            window_.Performance().ReplaceMidiOutput(std::move(instead));
        }
    }

    CTavrolaAppDlg& window_;
    std::unique_ptr<SoundServerProbe> probe_;
    MidiOutputSurvey survey_;
};

}  // namespace

void AwaitSoundServer(CTavrolaAppDlg& window, std::unique_ptr<SoundServerProbe> probe,
                      MidiOutputSurvey survey) {
    if (probe && survey.soundfont && survey.server == SoundServerAnswer::kAwaited) {
        new SoundServerWatch(window, std::move(probe), std::move(survey));
    }
}

}  // namespace tavrola
