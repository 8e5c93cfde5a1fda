#pragma once

// The one reader of sequence files, beneath the window and the command line.
//
// A file is recognised by its content, never by its name: gzip is unpacked first (member after
// member); then FASTA, GenBank and EMBL text holds records, read by name and position; anything
// else is raw text, read as bytes as it always was.
//
// The window runs three steps (LoadFileForDataBox in file_loading.h runs them for it):
//   look   LookAtSequenceFile: the format and the records (name, description, length);
//   choose a record from the look's list, then a stretch of its positions;
//   read   ReadRecordStretch: the stretch as the Data dialog's box text.
// The file is read once per step and streamed, never held whole.
//
// The command line reads once, also from standard input: ReadSequenceInOnePass finds the
// record by name (or takes the first) and reads its region, or reads a raw text's byte range.
//
// Nothing here shows anything: every result says what happened as a ReadOutcome, and the front
// ends word it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/sequence/byte_source.h"
#include "core/sequence/read_outcome.h"
#include "core/sequence/record_scanner.h"

namespace tavrola {

// A stretch of positions of a record, or of bytes of a raw text: 0-based, both ends inclusive,
// as the Target Area dialog counts. Positions are every character of a record's sequence lines
// but blanks (and GenBank's and EMBL's numbers), gaps and ambiguity codes included, as
// `samtools faidx` counts them.
struct PositionRange {
    std::int64_t start = 0;
    std::int64_t end = -1;

    std::int64_t Size() const { return end - start + 1; }
    friend bool operator==(const PositionRange&, const PositionRange&) = default;
};

// A region as biologists write it ("START-END", 1-based, inclusive), as positions.
PositionRange RegionFromOneBased(std::int64_t first, std::int64_t last);

// A look lists at most this many records, then counts the others; of each it keeps at most
// kListedTextLimit bytes of name and of description (whole UTF-8 characters).
inline constexpr std::size_t kMostListedRecords = 10000;
inline constexpr std::size_t kListedTextLimit = 256;

// An unknown name is answered with at most this many names of the file, then a count.
inline constexpr std::size_t kMostNamedRecords = 10;

struct RecordSummary {
    std::string name;
    std::string description;
    std::int64_t length = 0;  // in positions
};

// What a file is and what it holds.
struct SequenceLook {
    ReadOutcome outcome = ReadOutcome::kOk;
    int system_error = 0;
    std::int64_t line = 0;  // the damaged line, where there is one

    SequenceFormat format = SequenceFormat::kRaw;
    bool compressed = false;
    // Raw text: its size in bytes, unpacked (what the Target Area dialog counts).
    std::int64_t size = 0;
    // Records: the first kMostListedRecords, and how many more the file holds; none unless
    // the outcome is kOk.
    std::vector<RecordSummary> records;
    std::int64_t more_records = 0;

    std::int64_t RecordCount() const {
        return static_cast<std::int64_t>(records.size()) + more_records;
    }
};

// What was read for the box, or why nothing was.
struct SequenceReading {
    ReadOutcome outcome = ReadOutcome::kOk;
    int system_error = 0;
    std::int64_t line = 0;

    SequenceFormat format = SequenceFormat::kRaw;
    bool compressed = false;
    // The box's new text: for a record, FASTA text (see RecordStretchText); for raw text, its
    // bytes decoded as DecodeFileText decodes them.
    std::string text;
    // Plain text read by ReadSequenceFile (the window's 読込 of a file neither compressed nor of
    // records): false when the file could not be read. Its messages have been shown then, and the
    // outcome is still kOk: the box receives `text` as it always has (nothing, or what was read
    // before an error).
    bool file_read = true;
    // The record read (records only), its place in the file (0-based), the stretch taken, and
    // how many of the stretch's positions are not A, C, G, T or U.
    RecordSummary record;
    std::int64_t record_index = 0;
    PositionRange stretch;
    std::int64_t skipped_letters = 0;

    // kStretchNeeded, kStretchPastEnd: the record's length, or the raw text's size; -1 when
    // the size is unknown (a stream read only as far as the load limit).
    std::int64_t available = 0;
    // kUnknownRecord: the first kMostNamedRecords names of the file, and how many more.
    std::vector<std::string> names;
    std::int64_t more_names = 0;
};

// Look: the whole file is read, so damage anywhere in it is found now. A file that cannot be
// opened or read before its first bytes are known gives that outcome with format kRaw and not
// compressed: the window then takes the designed path for raw files, which tells it as it
// always has. `stop` is asked between reads.
SequenceLook LookAtSequenceFile(const std::filesystem::path& file, const StopRequested& stop = {});

// Read, for the window: the record at `index` (0-based, in file order) and `stretch` of its
// positions, which must lie inside it (kStretchPastEnd if the file changed since the look).
SequenceReading ReadRecordStretch(const std::filesystem::path& file, std::int64_t index,
                                  PositionRange stretch, const StopRequested& stop = {});

// Read, for the window: `range` of the unpacked bytes of compressed raw text. (Raw text that is
// not compressed keeps its designed path, ReadSequenceFile.)
SequenceReading ReadRawStretch(const std::filesystem::path& file, PositionRange range,
                               const StopRequested& stop = {});

// The command line's choice. `region` and `record` are for files of records, `range` (bytes,
// checked as the Target Area dialog checks it) for raw text. `raw` reads any input as the design
// reads a raw file: no gzip, no records.
struct SinglePassRequest {
    bool raw = false;
    std::optional<std::string> record;
    std::optional<PositionRange> region;
    std::optional<PositionRange> range;
};

// The command line's read, in one pass over `input` (standard input can be read only once):
// - records: the record named (the first without a name) and its region; without a region the
//   whole record, which may then hold at most kLoadLimit positions. The input is read to its
//   end, so an ambiguous name, or damage after the record, is found as the window finds it.
//   A name matches exactly, else without its ".version" when one record fits; with duplicates
//   the first.
// - raw text: at most kLoadLimit bytes, or `range`; never more than that is held, and the input
//   is read no further than the range.
SequenceReading ReadSequenceInOnePass(ByteSource& input, const SinglePassRequest& request);

// The same over a regular file by name.
SequenceReading ReadSequenceInOnePass(const std::filesystem::path& file,
                                      const SinglePassRequest& request,
                                      const StopRequested& stop = {});

// The box's text for a stretch of a record: one header line ">NAME DESCRIPTION [S-E]" with the
// stretch in 1-based positions, then its letters 60 a line. Parsed as FASTA text it gives the
// stretch's bases, whoever parses it: the window's OK and the command line agree byte for byte.
std::string RecordStretchText(const RecordSummary& record, PositionRange stretch,
                              std::string_view letters);

// Positions that are not A, C, G, T or U in either case.
std::int64_t CountSkippedLetters(std::string_view letters);

// Whether `name` is `wanted` with a ".version" after it.
bool NameWithoutVersionIs(std::string_view name, std::string_view wanted);

}  // namespace tavrola
