#pragma once

#include <string>
#include <string_view>

#include "core/sequence/sequence_reader.h"
#include "export/export_outcome.h"

namespace tavrola {

// Bytes from a file or an argument as a message may show them: control bytes, and every byte of
// text that is not valid UTF-8 beyond ASCII, as \xNN.
std::string EscapedBytes(std::string_view bytes);

// What the command line says of an export that failed or was refused: one plain English
// sentence about OUT, with what a video's encoder said where it failed.
std::string ExportFailureLine(const ExportOutcome& outcome, const std::string& output);

// What the command line says of a read of INPUT that gave no text: one plain English sentence.
// `input` names it ("INPUT NAME" or "standard input"); `choice` is what was asked of it.
std::string ReadFailureLine(const SequenceReading& reading, const std::string& input,
                            const SinglePassRequest& choice);

// The sentence for a text read that holds no base.
std::string NoBasesLine(const SequenceReading& reading, const std::string& input);

// What was read of a file of records, for standard error: the record, the stretch in 1-based
// positions and how many of its letters are skipped. Empty for a file without records.
std::string RecordReadLine(const SequenceReading& reading);

}  // namespace tavrola
