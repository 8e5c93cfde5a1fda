#pragma once

#include <string>

#include "audio/export/export_result.h"

namespace tavrola {

// What the window says of an export that failed or was refused: one plain sentence, in the
// program's own words, with what a video's encoder said where it failed; empty for a success
// and a cancel.
std::string ExportFailureSentence(ExportResult result, const std::string& encoder_said = {});

}  // namespace tavrola
