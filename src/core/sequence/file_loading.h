#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/sequence/read_outcome.h"
#include "core/sequence/sequence_loading.h"
#include "core/sequence/sequence_reader.h"

namespace tavrola {

// Asks which record of a file with several to load (the look lists them); gives the index of
// one of look.records, or nothing when the user cancels.
using RecordChooser = std::function<std::optional<std::size_t>(const SequenceLook& look)>;

// The window's 読込 of a chosen or dropped file, for the Data dialog's box:
// - raw text that is not compressed, or a file that cannot be opened or read at all, takes the
//   designed path (ReadSequenceFile: bytes, the Target Area dialog for long files, the designed
//   message boxes where and when they always were): kOk with its text, and file_read false
//   when the file could not be read;
// - compressed raw text the same, counted in unpacked bytes;
// - a file of records: `choose_record` when it holds more than one (nothing: kCancelled, the box
//   keeps its text), then for a record longer than kLoadLimit positions `choose_range`, counting
//   positions where it counts bytes of raw text (Esc gives the first kLoadLimit), then the
//   stretch as FASTA text, with its skipped letters counted.
// Anything else (damage, a file changed since its look) is an outcome the window tells, and the
// box keeps its text.
SequenceReading LoadFileForDataBox(const std::filesystem::path& file,
                                   const RecordChooser& choose_record,
                                   const TargetAreaChooser& choose_range,
                                   const StopRequested& stop = {});

}  // namespace tavrola
