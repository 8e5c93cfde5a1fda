#pragma once

#include <string>

#include "audio/export/export_result.h"

namespace tavrola {

// What the command line says of an export that failed or was refused: one plain English
// sentence about OUT, with what a video's encoder said where it failed.
std::string ExportFailureLine(ExportResult result, const std::string& output,
                              const std::string& encoder_said = {});

}  // namespace tavrola
