#include "core/sequence/sequence_reader.h"

#include <algorithm>
#include <utility>

#include "core/sequence/gzip_source.h"
#include "core/sequence/sequence_file.h"
#include "core/sequence/sequence_loading.h"

namespace tavrola {

namespace {

constexpr std::size_t kLettersPerLine = 60;

// An input as text: unpacked when it is gzip, its format told from its first bytes, which are
// then read again from content(). Holds references into itself: never moved.
class ContentStream {
  public:
    ContentStream(ByteSource& input, bool recognise) {
        std::string head;
        ByteSource* source = &input;
        first_reads_ = ReadUpTo(input, head, 2);
        if (recognise && first_reads_.outcome == ReadOutcome::kOk && StartsAsGzip(head)) {
            packed_.emplace(std::exchange(head, {}), input);
            gzip_.emplace(*packed_);
            source = &*gzip_;
            compressed_ = true;
        }
        if (recognise && first_reads_.outcome == ReadOutcome::kOk) {
            first_reads_ = ReadUpTo(*source, head, kRecognitionWindow);
            format_ = RecogniseFormat(head);
        }
        content_.emplace(std::move(head), *source);
    }
    ContentStream(const ContentStream&) = delete;
    ContentStream& operator=(const ContentStream&) = delete;

    // How the first reads went: anything but kOk means nothing was recognised.
    const ByteRead& first_reads() const { return first_reads_; }
    SequenceFormat format() const { return format_; }
    bool compressed() const { return compressed_; }
    ByteSource& content() { return *content_; }

  private:
    ByteRead first_reads_;
    SequenceFormat format_ = SequenceFormat::kRaw;
    bool compressed_ = false;
    std::optional<PrefixedByteSource> packed_;
    std::optional<GzipByteSource> gzip_;
    std::optional<PrefixedByteSource> content_;
};

// The wanted positions of a record, as its positions stream by.
class StretchCollector {
  public:
    explicit StretchCollector(PositionRange wanted) : wanted_(wanted) {}

    void Add(std::string_view letters) {
        const std::int64_t first = seen_;
        seen_ += static_cast<std::int64_t>(letters.size());
        const std::int64_t from = std::max(first, wanted_.start);
        const std::int64_t to = std::min(seen_ - 1, wanted_.end);
        if (from <= to) {
            letters_.append(letters.substr(static_cast<std::size_t>(from - first),
                                           static_cast<std::size_t>(to - from + 1)));
        }
    }
    const std::string& letters() const { return letters_; }

  private:
    PositionRange wanted_;
    std::int64_t seen_ = 0;
    std::string letters_;
};

// A record held while the scan goes on: what it is and the positions wanted of it.
struct HeldRecord {
    HeldRecord(std::int64_t at, const RecordHeader& header, PositionRange wanted)
        : index(at), record{header.name, header.description, 0}, stretch(wanted) {}

    std::int64_t index;
    RecordSummary record;
    StretchCollector stretch;
};

// Keeps whole UTF-8 characters.
std::string CutText(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return text.substr(0, cut);
}

class ListingSink : public RecordSink {
  public:
    explicit ListingSink(SequenceLook& look) : look_(look) {}

    bool BeginRecord(const RecordHeader& header) override {
        listed_ = look_.records.size() < kMostListedRecords;
        if (listed_) {
            look_.records.push_back({CutText(header.name, kListedTextLimit),
                                     CutText(header.description, kListedTextLimit), 0});
        } else {
            ++look_.more_records;
        }
        return true;
    }
    bool AddPositions(std::string_view) override { return true; }
    bool EndRecord(std::int64_t length) override {
        if (listed_) {
            look_.records.back().length = length;
        }
        return true;
    }

  private:
    SequenceLook& look_;
    bool listed_ = false;
};

// The window's read: the record at an index; the scan ends with it.
class IndexSink : public RecordSink {
  public:
    IndexSink(std::int64_t index, PositionRange stretch) : index_(index), stretch_(stretch) {}

    bool BeginRecord(const RecordHeader& header) override {
        if (++seen_ == index_) {
            held_.emplace(index_, header, stretch_);
        }
        return true;
    }
    bool AddPositions(std::string_view letters) override {
        if (seen_ == index_) {
            held_->stretch.Add(letters);
        }
        return true;
    }
    bool EndRecord(std::int64_t length) override {
        if (seen_ != index_) {
            return true;
        }
        held_->record.length = length;
        return false;
    }

    const std::optional<HeldRecord>& held() const { return held_; }

  private:
    std::int64_t index_;
    PositionRange stretch_;
    std::int64_t seen_ = -1;
    std::optional<HeldRecord> held_;
};

// The command line's read: the record that answers to a name, found as the names go by. The
// first exact match wins; else the first record whose name is the wanted one with a version,
// unless another such name (another version) shows there is no one record that fits.
class OnePassSink : public RecordSink {
  public:
    OnePassSink(const std::optional<std::string>& wanted, PositionRange collect)
        : wanted_(wanted), collect_(collect) {}

    bool BeginRecord(const RecordHeader& header) override {
        ++index_;
        current_ = nullptr;
        if (names_.size() < kMostNamedRecords) {
            names_.push_back(header.name);
        } else {
            ++more_names_;
        }
        if (!wanted_) {
            if (index_ == 0) {
                current_ = &exact_.emplace(index_, header, collect_);
            }
        } else if (header.name == *wanted_) {
            if (!exact_) {
                current_ = &exact_.emplace(index_, header, collect_);
            }
        } else if (NameWithoutVersionIs(header.name, *wanted_)) {
            if (!versionless_) {
                current_ = &versionless_.emplace(index_, header, collect_);
            } else if (versionless_->record.name != header.name) {
                ambiguous_ = true;
            }
        }
        return true;
    }
    bool AddPositions(std::string_view letters) override {
        if (current_ != nullptr) {
            current_->stretch.Add(letters);
        }
        return true;
    }
    bool EndRecord(std::int64_t length) override {
        if (current_ != nullptr) {
            current_->record.length = length;
            current_ = nullptr;
        }
        return true;
    }

    const HeldRecord* Chosen() const {
        if (exact_) {
            return &*exact_;
        }
        return versionless_ && !ambiguous_ ? &*versionless_ : nullptr;
    }
    const std::vector<std::string>& names() const { return names_; }
    std::int64_t more_names() const { return more_names_; }

  private:
    const std::optional<std::string>& wanted_;
    PositionRange collect_;
    std::int64_t index_ = -1;
    HeldRecord* current_ = nullptr;
    std::optional<HeldRecord> exact_;
    std::optional<HeldRecord> versionless_;
    bool ambiguous_ = false;
    std::vector<std::string> names_;
    std::int64_t more_names_ = 0;
};

bool Failed(const ByteRead& read, SequenceReading& reading) {
    if (read.outcome == ReadOutcome::kOk) {
        return false;
    }
    reading.outcome = read.outcome;
    reading.system_error = read.system_error;
    return true;
}

bool Failed(const ScanResult& scan, SequenceReading& reading) {
    if (scan.outcome == ReadOutcome::kOk) {
        return false;
    }
    reading.outcome = scan.outcome;
    reading.system_error = scan.system_error;
    reading.line = scan.line;
    return true;
}

void TakeRecord(const HeldRecord& held, PositionRange stretch, SequenceReading& reading) {
    reading.record = held.record;
    reading.record_index = held.index;
    reading.stretch = stretch;
    reading.text = RecordStretchText(held.record, stretch, held.stretch.letters());
    reading.skipped_letters = CountSkippedLetters(held.stretch.letters());
}

// Bytes `range` of raw text, or as many of them as there are.
ByteRead ReadRawBytes(ByteSource& content, PositionRange range, std::string& bytes) {
    const ByteRead skipped = content.Skip(range.start);
    if (skipped.outcome != ReadOutcome::kOk ||
        static_cast<std::int64_t>(skipped.count) < range.start) {
        return skipped;
    }
    return ReadUpTo(content, bytes,
                    static_cast<std::size_t>(std::max<std::int64_t>(0, range.Size())));
}

// The shape of a stretch asked for, checked as the Target Area dialog checks it.
ReadOutcome CheckStretch(PositionRange stretch) {
    if (stretch.start < 0 || stretch.end <= stretch.start) {
        return ReadOutcome::kWrongStretch;
    }
    return stretch.Size() > kLoadLimit ? ReadOutcome::kStretchTooLarge : ReadOutcome::kOk;
}

void ReadRawInOnePass(ByteSource& content, const SinglePassRequest& request,
                      std::optional<std::int64_t> known_size, SequenceReading& reading) {
    std::string bytes;
    if (!request.range) {
        const auto limit = static_cast<std::size_t>(kLoadLimit);
        if (Failed(ReadUpTo(content, bytes, limit + 1), reading)) {
            return;
        }
        if (bytes.size() > limit) {
            reading.outcome = ReadOutcome::kStretchNeeded;
            reading.available = known_size.value_or(-1);
            return;
        }
        reading.stretch = {0, static_cast<std::int64_t>(bytes.size()) - 1};
        reading.text = DecodeFileText(bytes);
        return;
    }
    const PositionRange range = *request.range;
    reading.stretch = range;
    if (known_size && range.end >= *known_size) {
        reading.outcome = ReadOutcome::kStretchPastEnd;
        reading.available = *known_size;
        return;
    }
    const ByteRead skipped = content.Skip(range.start);
    if (Failed(skipped, reading)) {
        return;
    }
    if (Failed(ReadUpTo(content, bytes, static_cast<std::size_t>(range.Size())), reading)) {
        return;
    }
    if (static_cast<std::int64_t>(bytes.size()) < range.Size()) {
        reading.outcome = ReadOutcome::kStretchPastEnd;
        reading.available = static_cast<std::int64_t>(skipped.count + bytes.size());
        return;
    }
    reading.text = DecodeFileText(bytes);
}

void ReadRecordInOnePass(ByteSource& content, SequenceFormat format,
                         const SinglePassRequest& request, SequenceReading& reading) {
    OnePassSink sink(request.record, request.region.value_or(PositionRange{0, kLoadLimit - 1}));
    if (Failed(ScanRecords(content, format, sink), reading)) {
        return;
    }
    const HeldRecord* chosen = sink.Chosen();
    if (chosen == nullptr) {
        reading.outcome = ReadOutcome::kUnknownRecord;
        reading.names = sink.names();
        reading.more_names = sink.more_names();
        return;
    }
    const std::int64_t length = chosen->record.length;
    const PositionRange stretch = request.region.value_or(PositionRange{0, length - 1});
    reading.record = chosen->record;
    reading.record_index = chosen->index;
    reading.stretch = stretch;
    reading.available = length;
    if (!request.region && length > kLoadLimit) {
        reading.outcome = ReadOutcome::kStretchNeeded;
    } else if (stretch.end >= length) {
        reading.outcome = ReadOutcome::kStretchPastEnd;
    } else {
        TakeRecord(*chosen, stretch, reading);
    }
}

SequenceReading ReadInOnePass(ByteSource& input, const SinglePassRequest& request,
                              std::optional<std::int64_t> known_size) {
    SequenceReading reading;
    // A stretch's shape is checked before anything is read: standard input that is still
    // awaited is refused at once.
    for (const std::optional<PositionRange>& asked : {request.region, request.range}) {
        if (asked && (reading.outcome = CheckStretch(*asked)) != ReadOutcome::kOk) {
            reading.stretch = *asked;
            return reading;
        }
    }
    ContentStream stream(input, !request.raw);
    reading.format = stream.format();
    reading.compressed = stream.compressed();
    if (Failed(stream.first_reads(), reading)) {
        return reading;
    }
    if (reading.format == SequenceFormat::kRaw) {
        if (request.record || request.region) {
            reading.outcome = ReadOutcome::kRecordChoiceOnRawFile;
            return reading;
        }
        ReadRawInOnePass(stream.content(), request, reading.compressed ? std::nullopt : known_size,
                         reading);
        return reading;
    }
    if (request.range) {
        reading.outcome = ReadOutcome::kRangeOnRecordFile;
        return reading;
    }
    ReadRecordInOnePass(stream.content(), reading.format, request, reading);
    return reading;
}

// Opens `file` and reads its first bytes; false, with the outcome set, when that failed.
template <typename Result>
bool OpenFile(const std::filesystem::path& file, const StopRequested& stop,
              OpenedSequenceFile& opened, Result& result) {
    opened = OpenedSequenceFile::Open(file, stop);
    result.outcome = opened.outcome;
    result.system_error = opened.system_error;
    return opened.source.has_value();
}

// Opens `file` as text and hands it to `read`; a failed open or first read is the outcome.
template <typename Read>
void ReadContent(const std::filesystem::path& file, const StopRequested& stop,
                 SequenceReading& reading, Read read) {
    OpenedSequenceFile opened;
    if (!OpenFile(file, stop, opened, reading)) {
        return;
    }
    ContentStream stream(*opened.source, true);
    reading.format = stream.format();
    reading.compressed = stream.compressed();
    if (!Failed(stream.first_reads(), reading)) {
        read(stream);
    }
}

}  // namespace

PositionRange RegionFromOneBased(std::int64_t first, std::int64_t last) {
    return {first - 1, last - 1};
}

SequenceLook LookAtSequenceFile(const std::filesystem::path& file, const StopRequested& stop) {
    SequenceLook look;
    OpenedSequenceFile opened;
    if (!OpenFile(file, stop, opened, look)) {
        return look;
    }
    ContentStream stream(*opened.source, true);
    look.outcome = stream.first_reads().outcome;
    look.system_error = stream.first_reads().system_error;
    look.compressed = stream.compressed();
    if (look.outcome != ReadOutcome::kOk) {
        return look;
    }
    look.format = stream.format();
    if (look.format == SequenceFormat::kRaw) {
        if (!look.compressed) {
            look.size = opened.source->RegularFileSize().value_or(0);
            return look;
        }
        // The unpacked size, as far as a raw load can count.
        const ByteRead counted = stream.content().Skip(kLargestFileSize + 1);
        look.outcome = counted.outcome;
        look.system_error = counted.system_error;
        look.size = static_cast<std::int64_t>(counted.count);
        if (look.outcome == ReadOutcome::kOk && look.size > kLargestFileSize) {
            look.outcome = ReadOutcome::kTooLarge;
        }
        return look;
    }
    ListingSink sink(look);
    const ScanResult scan = ScanRecords(stream.content(), look.format, sink);
    look.outcome = scan.outcome;
    look.system_error = scan.system_error;
    look.line = scan.line;
    if (look.outcome != ReadOutcome::kOk) {
        // Nothing of a file found damaged is offered.
        look.records.clear();
        look.more_records = 0;
    }
    return look;
}

SequenceReading ReadRecordStretch(const std::filesystem::path& file, std::int64_t index,
                                  PositionRange stretch, const StopRequested& stop) {
    SequenceReading reading;
    reading.stretch = stretch;
    if (stretch.start < 0 || stretch.end < stretch.start) {
        reading.outcome = ReadOutcome::kWrongStretch;
        return reading;
    }
    ReadContent(file, stop, reading, [&](ContentStream& stream) {
        if (reading.format == SequenceFormat::kRaw) {
            reading.outcome = ReadOutcome::kRecordChoiceOnRawFile;
            return;
        }
        IndexSink sink(index, stretch);
        if (Failed(ScanRecords(stream.content(), reading.format, sink), reading)) {
            return;
        }
        if (!sink.held()) {
            reading.outcome = ReadOutcome::kUnknownRecord;
            return;
        }
        reading.available = sink.held()->record.length;
        if (stretch.end >= reading.available) {
            reading.outcome = ReadOutcome::kStretchPastEnd;
            return;
        }
        TakeRecord(*sink.held(), stretch, reading);
    });
    return reading;
}

SequenceReading ReadRawStretch(const std::filesystem::path& file, PositionRange range,
                               const StopRequested& stop) {
    SequenceReading reading;
    reading.stretch = range;
    ReadContent(file, stop, reading, [&](ContentStream& stream) {
        if (reading.format != SequenceFormat::kRaw) {
            reading.outcome = ReadOutcome::kRangeOnRecordFile;
            return;
        }
        std::string bytes;
        if (range.start >= 0 && !Failed(ReadRawBytes(stream.content(), range, bytes), reading)) {
            reading.text = DecodeFileText(bytes);
        }
    });
    return reading;
}

SequenceReading ReadSequenceInOnePass(ByteSource& input, const SinglePassRequest& request) {
    return ReadInOnePass(input, request, std::nullopt);
}

SequenceReading ReadSequenceInOnePass(const std::filesystem::path& file,
                                      const SinglePassRequest& request, const StopRequested& stop) {
    OpenedSequenceFile opened;
    SequenceReading reading;
    if (!OpenFile(file, stop, opened, reading)) {
        return reading;
    }
    return ReadInOnePass(*opened.source, request, opened.source->RegularFileSize());
}

std::string RecordStretchText(const RecordSummary& record, PositionRange stretch,
                              std::string_view letters) {
    std::string text = ">" + record.name;
    if (!record.description.empty()) {
        text += ' ';
        text += record.description;
    }
    text += " [" + std::to_string(stretch.start + 1) + "-" + std::to_string(stretch.end + 1) + "]";
    for (std::size_t at = 0; at < letters.size(); at += kLettersPerLine) {
        text += '\n';
        text += letters.substr(at, kLettersPerLine);
    }
    return text;
}

std::int64_t CountSkippedLetters(std::string_view letters) {
    static constexpr std::string_view kBaseLetters = "ACGTUacgtu";
    return std::count_if(letters.begin(), letters.end(),
                         [](char c) { return kBaseLetters.find(c) == std::string_view::npos; });
}

bool NameWithoutVersionIs(std::string_view name, std::string_view wanted) {
    if (name.size() < wanted.size() + 2 || !name.starts_with(wanted) ||
        name[wanted.size()] != '.') {
        return false;
    }
    const std::string_view version = name.substr(wanted.size() + 1);
    return std::all_of(version.begin(), version.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace tavrola
