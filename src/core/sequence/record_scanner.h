#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/sequence/byte_source.h"
#include "core/sequence/read_outcome.h"

namespace tavrola {

// What a text is, told by its first characters (after a UTF-8 byte-order mark and blank
// space): '>' FASTA, "LOCUS" GenBank, "ID" and three spaces EMBL; anything else is raw text,
// read as bytes.
enum class SequenceFormat { kRaw, kFasta, kGenBank, kEmbl };

// A text is recognised by its first bytes only; raw text is never held beyond them.
inline constexpr std::size_t kRecognitionWindow = 8192;

// The longest header or ID line a record may have, and the longest description kept.
inline constexpr std::size_t kLongestHeaderLine = 64 * 1024;

SequenceFormat RecogniseFormat(std::string_view first_bytes);

// How a record answers: its name and the words that describe it, as valid UTF-8.
// FASTA: the first word after '>' and the rest of the line. GenBank: VERSION's first word, else
// ACCESSION's, else the LOCUS name; DEFINITION. EMBL: the old SV line's accession.version, else
// the first AC accession with the ID line's SV, else the ID line's name; DE.
struct RecordHeader {
    std::string name;
    std::string description;
};

// Told of each record as the scan reaches it. Returning false from any call ends the scan at
// once, successfully.
class RecordSink {
  public:
    virtual ~RecordSink() = default;
    virtual bool BeginRecord(const RecordHeader& header) = 0;
    // The record's next positions: every character of its sequence lines but blanks (and, in
    // GenBank and EMBL, the digits that number them), in order. A byte that could not stand in
    // a line of FASTA text (a control, a byte above ASCII, '>') comes as '?'.
    virtual bool AddPositions(std::string_view letters) = 0;
    virtual bool EndRecord(std::int64_t length) = 0;
};

struct ScanResult {
    ReadOutcome outcome = ReadOutcome::kOk;
    int system_error = 0;
    std::int64_t line = 0;  // 1-based line of the damage, 0 when it is not damage
};

// Reads `content` (already unpacked) as `format` to its end, or until the sink says enough,
// holding at most one header line and a buffer of positions: a file of any length streams.
ScanResult ScanRecords(ByteSource& content, SequenceFormat format, RecordSink& sink);

}  // namespace tavrola
