#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QtGlobal>
#include <array>

#include "core/playback/playback_clock.h"
#include "export/face/dialog_font.h"

class QPainter;

namespace tavrola {

inline constexpr int kFirstLabelId = 1030;

// One of the window's ten text labels as its template lays it out, in dialog units of the
// window's 9-point font.
struct LabelTemplate {
    int id;
    DialogRect rect;
    const char* text;
};

// The two rows: the right voice (base as read) above, the left voice (complement) below. The
// words are marked for lupdate; the four values start as "-".
// clang-format off
inline constexpr LabelTemplate kMainWindowLabels[] = {
    {1030, {233, 289, 21, 11}, QT_TRANSLATE_NOOP("tavrola::MainWindowLabel", "塩基")},
    {1031, {233, 261, 21, 11}, QT_TRANSLATE_NOOP("tavrola::MainWindowLabel", "塩基")},
    {1032, {233, 277, 77, 11}, QT_TRANSLATE_NOOP("tavrola::MainWindowLabel", "左")},
    {1033, {233, 249, 77, 11}, QT_TRANSLATE_NOOP("tavrola::MainWindowLabel", "右")},
    {1034, {254, 289, 15, 11}, "-"},
    {1035, {254, 261, 15, 11}, "-"},
    {1036, {269, 289, 21, 11}, QT_TRANSLATE_NOOP("tavrola::MainWindowLabel", "音高")},
    {1037, {269, 261, 21, 11}, QT_TRANSLATE_NOOP("tavrola::MainWindowLabel", "音高")},
    {1038, {289, 289, 21, 11}, "-"},
    {1039, {289, 261, 21, 11}, "-"},
};
// clang-format on

// What a label of the table says at first, in the installed language.
QString ShownLabelText(const LabelTemplate& entry);

// The label that shows each of the four playing values.
int VoiceLabelId(VoiceLabel label);
// How the ten labels look and where they stand, by id - kFirstLabelId: one block in the
// right-hand column, under the Help button and clear of the helix layer, keeping the template's
// arrangement. Taken literally the template would put them over the helix, which redraws at
// every tick. Made on the GUI thread (it measures the font); read from any.
struct MainWindowLabelLook {
    QFont font;
    QColor colour;
    std::array<QRect, 10> rects;
};
MainWindowLabelLook LookOfMainWindowLabels();

// Paints one label's text as the window shows it, centred on one line in its rectangle; the
// window's labels paint themselves with it, and a video paints the window's face with it.
void PaintMainWindowLabel(QPainter& painter, const MainWindowLabelLook& look, int index,
                          const QString& text);

}  // namespace tavrola
