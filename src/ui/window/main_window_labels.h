#pragma once

#include <QLabel>
#include <QString>

#include "core/playback/playback_clock.h"
#include "export/face/window_labels.h"

class QPaintEvent;

namespace tavrola {

// What a screen reader says of a value label besides its text, in the installed language.
QString VoiceLabelDescription(VoiceLabel label);

// A label of the main window: a plain label to screen readers, painted by
// PaintMainWindowLabel as a video paints it.
class MainWindowLabel : public QLabel {
  public:
    MainWindowLabel(const QString& text, QWidget* parent, const MainWindowLabelLook& look,
                    int index);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const MainWindowLabelLook look_;
    const int index_;
};

}  // namespace tavrola
