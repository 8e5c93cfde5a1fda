#pragma once

#include <QLabel>
#include <array>

#include "core/playback/playback_clock.h"
#include "ui/widgets/dialog_units.h"

namespace tavrola {

inline constexpr int kFirstLabelId = 1030;

// One of the window's ten text labels as its template lays it out, in dialog units of the
// window's 9-point font.
struct LabelTemplate {
    int id;
    DialogRect rect;
    const char* text;
};

// The two rows: the right voice (base as read) above, the left voice (complement) below.
inline constexpr LabelTemplate kMainWindowLabels[] = {
    {1030, {233, 289, 21, 11}, "塩基"}, {1031, {233, 261, 21, 11}, "塩基"},
    {1032, {233, 277, 77, 11}, "左"},   {1033, {233, 249, 77, 11}, "右"},
    {1034, {254, 289, 15, 11}, "-"},    {1035, {254, 261, 15, 11}, "-"},
    {1036, {269, 289, 21, 11}, "音高"}, {1037, {269, 261, 21, 11}, "音高"},
    {1038, {289, 289, 21, 11}, "-"},    {1039, {289, 261, 21, 11}, "-"},
};

// The label that shows each of the four playing values.
int VoiceLabelId(VoiceLabel label);
// What a screen reader says of a value label besides its text.
const char* VoiceLabelDescription(VoiceLabel label);

// Places the labels (indexed by id - first_id) as one block in the right-hand column, under
// the Help button and clear of the helix layer, keeping their arrangement. Taken literally
// the template would put them over the helix, which redraws at every tick.
void LayOutMainWindowLabels(const std::array<QLabel*, 10>& labels, int first_id);

}  // namespace tavrola
