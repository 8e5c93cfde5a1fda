#pragma once

#include "audio/export/export_result.h"

namespace tavrola {

// What the window says of an export that failed or was refused: one plain sentence, in the
// program's own words; empty for a success and a cancel.
const char* ExportFailureSentence(ExportResult result);

}  // namespace tavrola
