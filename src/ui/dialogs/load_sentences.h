#pragma once

#include <QString>
#include <cstdint>

#include "core/sequence/read_outcome.h"

namespace tavrola {

// What the window says of a file it could not load: one plain sentence, in the program's own
// words, naming the damaged line where the reader found one (`line`, 1-based; 0 for none).
QString ReadFailureSentence(ReadOutcome outcome, std::int64_t line);

// The Data dialog's line under the box: how many positions of the loaded stretch are not
// A, C, G, T or U, and so do not play.
QString SkippedLettersSentence(std::int64_t count);

// The record list's words: what it asks, its column headings, a record's length, and the line
// under it when a file holds more records than it lists.
QString RecordPromptSentence(std::int64_t record_count);
QString RecordNameHeading();
QString RecordDescriptionHeading();
QString RecordLengthHeading();
QString RecordLengthText(std::int64_t length);
QString MoreRecordsSentence(std::int64_t more, std::int64_t listed);

}  // namespace tavrola
