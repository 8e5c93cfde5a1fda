#pragma once

#include <string>

#include "export/export_outcome.h"

namespace tavrola {

// What the window says of an export that failed or was refused: one plain sentence, in the
// program's own words, with what a video's encoder said where it failed; empty for a success
// and a cancel.
std::string ExportFailureSentence(const ExportOutcome& outcome);

}  // namespace tavrola
