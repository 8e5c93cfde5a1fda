#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/music/performance_state.h"

namespace tavrola {

// The 25-slot assignment table as text, for a command line: one letter a slot, lowest pitch
// first, each the base (C, A, G or T) that may sound it. Written in the Algorithm dialog's three
// rows (B flat and B, C to B, C to B flat) joined by hyphens: the designed table is
// "CC-CAAAAGGGTTTT-CCCAAAAGGGG".
std::string AssignmentText(const AssignmentTable& table);

// Reads such a text: letters in either case, hyphens, spaces and commas anywhere (they only
// group). Nothing unless it holds exactly 25 letters and each is one of C, A, G, T.
std::optional<AssignmentTable> ParseAssignmentText(std::string_view text);

}  // namespace tavrola
