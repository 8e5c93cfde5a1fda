#pragma once

#include <string>

#include "export/export_outcome.h"

namespace tavrola {

// What the command line says of an export that failed or was refused: one plain English
// sentence about OUT, with what a video's encoder said where it failed.
std::string ExportFailureLine(const ExportOutcome& outcome, const std::string& output);

}  // namespace tavrola
