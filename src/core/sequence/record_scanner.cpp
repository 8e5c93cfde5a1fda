#include "core/sequence/record_scanner.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/sequence/base_sequence.h"
#include "core/sequence/sequence_loading.h"

namespace tavrola {

namespace {

constexpr std::size_t kChunk = 64 * 1024;

// GenBank's keywords fill the first twelve columns of a line; EMBL's codes the first five.
constexpr std::size_t kDecideBytes = 12;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

enum class ByteClass : std::uint8_t { kLetter, kOdd, kBlank, kDigit, kLineBreak, kNul };

constexpr std::array<ByteClass, 256> MakeByteClasses() {
    std::array<ByteClass, 256> table{};
    table.fill(ByteClass::kOdd);
    for (int c = 0x21; c < 0x7F; ++c) {
        table[static_cast<std::size_t>(c)] = ByteClass::kLetter;
    }
    // At the start of a line of the box's FASTA text it would make a header.
    table['>'] = ByteClass::kOdd;
    for (int c = '0'; c <= '9'; ++c) {
        table[static_cast<std::size_t>(c)] = ByteClass::kDigit;
    }
    table[' '] = table['\t'] = table['\v'] = table['\f'] = ByteClass::kBlank;
    table['\n'] = table['\r'] = ByteClass::kLineBreak;
    table[0] = ByteClass::kNul;
    return table;
}

constexpr std::array<ByteClass, 256> kByteClasses = MakeByteClasses();

ByteClass ClassOf(char c) {
    return kByteClasses[static_cast<unsigned char>(c)];
}

bool IsBlankByte(char c) {
    return ClassOf(c) == ByteClass::kBlank;
}

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlankByte(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlankByte(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view FirstWord(std::string_view text) {
    text = TrimBlanks(text);
    const auto end = std::find_if(text.begin(), text.end(), IsBlankByte);
    return text.substr(0, static_cast<std::size_t>(end - text.begin()));
}

// The keyword, then a blank or the end of the line.
bool StartsWithKeyword(std::string_view line, std::string_view keyword) {
    return line.starts_with(keyword) &&
           (line.size() == keyword.size() || IsBlankByte(line[keyword.size()]));
}

std::string_view WithoutSemicolon(std::string_view word) {
    if (word.ends_with(';')) {
        word.remove_suffix(1);
    }
    return word;
}

class Scanner {
  public:
    Scanner(SequenceFormat format, RecordSink& sink) : format_(format), sink_(sink) {
        letters_.reserve(kChunk);
    }

    ScanResult Run(ByteSource& content) {
        std::vector<char> chunk(kChunk);
        bool first = true;
        for (;;) {
            const ByteRead got = content.Read(chunk.data(), chunk.size());
            if (got.outcome != ReadOutcome::kOk) {
                return {got.outcome, got.system_error, 0};
            }
            if (got.count == 0) {
                break;
            }
            std::string_view data(chunk.data(), got.count);
            if (first && data.starts_with(kByteOrderMark)) {
                data.remove_prefix(kByteOrderMark.size());
            }
            first = false;
            // The blank space a text may begin with, as it was recognised.
            while (leading_ && !data.empty() &&
                   (IsBlankByte(data.front()) || IsLineBreak(data.front()))) {
                line_number_ += data.front() == '\n' ? 1 : 0;
                data.remove_prefix(1);
            }
            leading_ = leading_ && data.empty();
            if (!Feed(data.data(), data.data() + data.size())) {
                return result_;
            }
        }
        Finish();
        return result_;
    }

  private:
    enum class LineKind { kUndecided, kKept, kSkipped, kSequence };
    enum class Kept {
        kFastaHeader,
        kLocus,
        kDefinition,
        kContinuation,
        kAccession,
        kVersion,
        kId,
        kAc,
        kDe,
        kSv
    };

    bool Damage(ReadOutcome outcome, std::int64_t line) {
        result_ = {outcome, 0, line};
        return false;
    }

    // The sink had enough: the scan ends well.
    static bool Enough() { return false; }

    bool Feed(const char* p, const char* end) {
        while (p < end) {
            switch (kind_) {
                case LineKind::kUndecided:
                    if (!Decide(p)) {
                        return false;
                    }
                    break;
                case LineKind::kKept:
                    if (!Keep(p, end)) {
                        return false;
                    }
                    break;
                case LineKind::kSkipped:
                    if (!Skip(p, end)) {
                        return false;
                    }
                    break;
                case LineKind::kSequence:
                    p = TakePositions(p, end);
                    if (p == nullptr) {
                        return false;
                    }
                    break;
            }
            if (p < end && IsLineBreak(*p)) {
                if (!EndLine()) {
                    return false;
                }
                line_number_ += *p == '\n' ? 1 : 0;
                ++p;
            }
        }
        return FlushPositions();
    }

    // One byte of a line whose kind is not known yet; leaves a line break to the caller.
    bool Decide(const char*& p) {
        const char c = *p;
        if (IsLineBreak(c)) {
            return true;
        }
        if (c == '\0') {
            return Damage(ReadOutcome::kNulByte, line_number_);
        }
        if (format_ == SequenceFormat::kFasta) {
            if (IsBlankByte(c)) {
                ++p;
                return true;
            }
            if (c == '>') {
                ++p;
                kind_ = LineKind::kKept;
                kept_ = Kept::kFastaHeader;
                return !in_record_ || CloseRecord();
            }
            kind_ = LineKind::kSequence;
            return true;
        }
        line_.push_back(c);
        ++p;
        return line_.size() < kDecideBytes || DecideRecordLine();
    }

    bool Keep(const char*& p, const char* end) {
        const char* stop = p;
        while (stop < end && !IsLineBreak(*stop) && *stop != '\0') {
            ++stop;
        }
        if (line_.size() + static_cast<std::size_t>(stop - p) > kLongestHeaderLine) {
            return Damage(ReadOutcome::kLineTooLong, line_number_);
        }
        line_.append(p, stop);
        p = stop;
        return p == end || *p != '\0' || Damage(ReadOutcome::kNulByte, line_number_);
    }

    bool Skip(const char*& p, const char* end) {
        while (p < end && !IsLineBreak(*p)) {
            if (*p == '\0') {
                return Damage(ReadOutcome::kNulByte, line_number_);
            }
            ++p;
        }
        return true;
    }

    // Positions up to the end of the line or of the data; nullptr on damage.
    const char* TakePositions(const char* p, const char* end) {
        const bool digits_count = format_ == SequenceFormat::kFasta;
        for (; p < end; ++p) {
            switch (ClassOf(*p)) {
                case ByteClass::kLetter:
                    letters_.push_back(*p);
                    break;
                case ByteClass::kOdd:
                    letters_.push_back('?');
                    break;
                case ByteClass::kDigit:
                    if (digits_count) {
                        letters_.push_back(*p);
                    }
                    break;
                case ByteClass::kBlank:
                    break;
                case ByteClass::kLineBreak:
                    return p;
                case ByteClass::kNul:
                    Damage(ReadOutcome::kNulByte, line_number_);
                    return nullptr;
            }
        }
        return p;
    }

    bool FlushPositions() {
        if (letters_.empty()) {
            return true;
        }
        const std::string_view letters = letters_;
        // Lines outside a record (none in a recognised text) place nothing.
        const bool placed = !in_record_ || !in_sequence_ || sink_.AddPositions(letters);
        if (in_record_ && in_sequence_) {
            positions_ += static_cast<std::int64_t>(letters.size());
        }
        letters_.clear();
        return placed || Enough();
    }

    bool EndLine() {
        if (kind_ == LineKind::kUndecided && !line_.empty() && !DecideRecordLine()) {
            return false;
        }
        bool going = true;
        if (kind_ == LineKind::kKept) {
            going = TakeKeptLine();
        } else if (kind_ == LineKind::kSequence) {
            going = FlushPositions();
        }
        kind_ = LineKind::kUndecided;
        line_.clear();
        return going;
    }

    void StartRecord() {
        in_record_ = true;
        in_sequence_ = false;
        positions_ = 0;
        record_line_ = line_number_;
        locus_ = accession_ = version_ = id_version_ = sv_line_ = description_ = {};
        last_was_definition_ = false;
    }

    bool BeginRecord(std::string_view name) {
        in_sequence_ = true;
        header_.name = DecodeFileText(name);
        header_.description = DecodeFileText(description_);
        return sink_.BeginRecord(header_) || Enough();
    }

    bool CloseRecord() {
        if (positions_ == 0) {
            return Damage(ReadOutcome::kHeaderWithoutSequence, record_line_);
        }
        in_record_ = in_sequence_ = false;
        return sink_.EndRecord(positions_) || Enough();
    }

    // The first twelve bytes of a GenBank or EMBL line, or all of a shorter one, say what it is.
    bool DecideRecordLine() {
        const std::string_view line = line_;
        const bool genbank = format_ == SequenceFormat::kGenBank;
        const bool starts_record =
            genbank ? StartsWithKeyword(line, "LOCUS") : line.starts_with("ID   ");
        kind_ = LineKind::kSkipped;
        if (!in_record_) {
            if (starts_record) {
                StartRecord();
                KeepLine(genbank ? Kept::kLocus : Kept::kId);
            }
            return true;
        }
        if (starts_record) {
            return Damage(ReadOutcome::kRecordNotEnded, record_line_);
        }
        if (line.starts_with("//")) {
            return CloseRecord();
        }
        if (in_sequence_) {
            kind_ = LineKind::kSequence;
            return TakePositions(line.data(), line.data() + line.size()) != nullptr;
        }
        return genbank ? DecideGenBankHeaderLine(line) : DecideEmblHeaderLine(line);
    }

    void KeepLine(Kept kept) {
        kind_ = LineKind::kKept;
        kept_ = kept;
    }

    bool DecideGenBankHeaderLine(std::string_view line) {
        const bool continuation =
            line.size() == kDecideBytes && std::all_of(line.begin(), line.end(), IsBlankByte);
        if (continuation) {
            if (last_was_definition_) {
                KeepLine(Kept::kContinuation);
            }
            return true;
        }
        last_was_definition_ = StartsWithKeyword(line, "DEFINITION");
        if (last_was_definition_) {
            KeepLine(Kept::kDefinition);
        } else if (StartsWithKeyword(line, "ACCESSION")) {
            KeepLine(Kept::kAccession);
        } else if (StartsWithKeyword(line, "VERSION")) {
            KeepLine(Kept::kVersion);
        } else if (StartsWithKeyword(line, "ORIGIN")) {
            return BeginRecord(!version_.empty()     ? version_
                               : !accession_.empty() ? accession_
                                                     : locus_);
        }
        return true;
    }

    bool DecideEmblHeaderLine(std::string_view line) {
        if (StartsWithKeyword(line, "AC")) {
            KeepLine(Kept::kAc);
        } else if (StartsWithKeyword(line, "DE")) {
            KeepLine(Kept::kDe);
        } else if (StartsWithKeyword(line, "SV")) {
            KeepLine(Kept::kSv);
        } else if (StartsWithKeyword(line, "SQ")) {
            std::string name = sv_line_;
            if (name.empty() && !accession_.empty()) {
                name = id_version_.empty() ? accession_ : accession_ + "." + id_version_;
            }
            return BeginRecord(name.empty() ? locus_ : name);
        }
        return true;
    }

    void AddToDescription(std::string_view words) {
        words = TrimBlanks(words);
        if (words.empty() || description_.size() >= kLongestHeaderLine) {
            return;
        }
        if (!description_.empty()) {
            description_.push_back(' ');
        }
        description_.append(words.substr(0, kLongestHeaderLine - description_.size()));
    }

    bool TakeKeptLine() {
        const std::string_view line = line_;
        switch (kept_) {
            case Kept::kFastaHeader: {
                StartRecord();
                const std::string_view name = FirstWord(line);
                const std::string_view rest = TrimBlanks(line);
                description_ = TrimBlanks(rest.substr(name.size()));
                return BeginRecord(name);
            }
            case Kept::kLocus:
                locus_ = FirstWord(line.substr(5));
                break;
            case Kept::kDefinition:
                AddToDescription(line.substr(10));
                break;
            case Kept::kContinuation:
            case Kept::kDe:
                AddToDescription(line.substr(kept_ == Kept::kDe ? 2 : 0));
                break;
            case Kept::kAccession:
                if (accession_.empty()) {
                    accession_ = FirstWord(line.substr(9));
                }
                break;
            case Kept::kVersion:
                version_ = FirstWord(line.substr(7));
                break;
            case Kept::kId:
                TakeIdLine(line.substr(2));
                break;
            case Kept::kAc:
                if (accession_.empty()) {
                    accession_ = WithoutSemicolon(FirstWord(line.substr(2)));
                }
                break;
            case Kept::kSv:
                sv_line_ = FirstWord(line.substr(2));
                break;
        }
        return true;
    }

    // "ID   X59796; SV 1; linear; mRNA; STD; HUM; 3170 BP." (the older form has no SV field).
    void TakeIdLine(std::string_view fields) {
        locus_ = WithoutSemicolon(FirstWord(fields));
        while (!fields.empty()) {
            const std::size_t end = std::min(fields.find(';'), fields.size());
            const std::string_view field = TrimBlanks(fields.substr(0, end));
            if (StartsWithKeyword(field, "SV")) {
                id_version_ = FirstWord(field.substr(2));
                return;
            }
            fields.remove_prefix(std::min(end + 1, fields.size()));
        }
    }

    void Finish() {
        if ((kind_ != LineKind::kUndecided || !line_.empty()) && !EndLine()) {
            return;
        }
        if (!in_record_) {
            return;
        }
        if (format_ == SequenceFormat::kFasta) {
            CloseRecord();
        } else {
            Damage(ReadOutcome::kRecordNotEnded, record_line_);
        }
    }

    const SequenceFormat format_;
    RecordSink& sink_;
    ScanResult result_;

    LineKind kind_ = LineKind::kUndecided;
    Kept kept_ = Kept::kFastaHeader;
    std::string line_;
    std::string letters_;
    std::int64_t line_number_ = 1;
    bool leading_ = true;

    bool in_record_ = false;
    bool in_sequence_ = false;
    std::int64_t positions_ = 0;
    std::int64_t record_line_ = 0;
    RecordHeader header_;
    // The words a name is made of; the LOCUS name, or EMBL's ID name.
    std::string locus_;
    std::string accession_;
    std::string version_;
    std::string id_version_;
    std::string sv_line_;
    std::string description_;
    bool last_was_definition_ = false;
};

}  // namespace

SequenceFormat RecogniseFormat(std::string_view first_bytes) {
    if (StartsAsFasta(first_bytes)) {
        return SequenceFormat::kFasta;
    }
    if (first_bytes.starts_with(kByteOrderMark)) {
        first_bytes.remove_prefix(kByteOrderMark.size());
    }
    const auto first = std::find_if(first_bytes.begin(), first_bytes.end(),
                                    [](char c) { return !IsBlankByte(c) && !IsLineBreak(c); });
    const std::string_view text =
        first_bytes.substr(static_cast<std::size_t>(first - first_bytes.begin()));
    if (StartsWithKeyword(text, "LOCUS")) {
        return SequenceFormat::kGenBank;
    }
    if (text.starts_with("ID   ")) {
        return SequenceFormat::kEmbl;
    }
    return SequenceFormat::kRaw;
}

ScanResult ScanRecords(ByteSource& content, SequenceFormat format, RecordSink& sink) {
    return Scanner(format, sink).Run(content);
}

}  // namespace tavrola
