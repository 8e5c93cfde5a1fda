// Feeds arbitrary file contents and arbitrary Target Area answers through the loading path:
// a real file on disk, the size query, the range, the read of that range, the text for the box
// and the parse; then through the sequence reader, as the window reads the file (look, then a
// record's stretch) and as the command line reads the same bytes from standard input.
// Input: 4 bytes start and 4 bytes end of the range to answer, 2 bytes length, then a pattern
// (all little-endian). The file is the pattern repeated to that length (its low 15 bits), or
// the pattern itself when the length is 0: small inputs reach files longer than the load limit.
// The length's top bit packs the file with gzip, so the unpacked text is fuzzed too.
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/sequence/base_sequence.h"
#include "core/sequence/sequence_loading.h"
#include "core/sequence/sequence_reader.h"
#include "core/services/user_message.h"
#include "support/gzip_text.h"

namespace {

std::filesystem::path& FuzzFile() {
    static std::filesystem::path file;
    return file;
}

std::int32_t ReadInt32(const std::uint8_t* bytes) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return static_cast<std::int32_t>(value);
}

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// Whether the box text is what the loading rules promise for `range` of `content`.
void CheckText(std::string_view content, tavrola::ReadRange range, const std::string& text) {
    const std::string_view chosen =
        content.substr(static_cast<std::size_t>(range.start),
                       static_cast<std::size_t>(range.end - range.start + 1));
    const std::string_view kept = chosen.substr(0, chosen.find('\0'));
    Check(text.find('\0') == std::string::npos, "a zero byte reached the box");
    Check(tavrola::DecodeFileText(text) == text, "the box text is not valid UTF-8");
    Check(tavrola::ParseSequenceText(text) == tavrola::ParseSequenceText(kept),
          "the box holds other bases than the chosen bytes");
}

// A record's box text: its header line never plays, and every position of the stretch is
// either a base or a skipped letter.
void CheckRecordText(const tavrola::SequenceReading& reading) {
    Check(tavrola::StartsAsFasta(reading.text), "a record's text is not FASTA text");
    Check(static_cast<std::int64_t>(tavrola::ParseSequenceText(reading.text).size()) +
                  reading.skipped_letters ==
              reading.stretch.Size(),
          "the box text's bases and skipped letters are not the stretch's positions");
    Check(reading.stretch.Size() <= tavrola::kLoadLimit, "a stretch beyond the load limit");
}

// The window's look and read of the file, and the command line's single pass over the same
// bytes, agree: the same damage, and the same text for the first record.
void CheckReader(const std::string& content, tavrola::ReadRange asked) {
    const tavrola::SequenceLook look = tavrola::LookAtSequenceFile(FuzzFile());
    tavrola::MemoryByteSource standard_input(content);
    const tavrola::SequenceReading once = tavrola::ReadSequenceInOnePass(standard_input, {});
    if (look.format == tavrola::SequenceFormat::kRaw) {
        if (!look.compressed && once.outcome == tavrola::ReadOutcome::kOk) {
            Check(once.text == tavrola::DecodeFileText(content), "raw text read otherwise");
        }
        return;
    }
    if (look.outcome != tavrola::ReadOutcome::kOk) {
        Check(once.outcome == look.outcome && once.line == look.line,
              "the single pass finds other damage than the look");
        Check(look.records.empty(), "a damaged file offers records");
        return;
    }
    Check(!look.records.empty(), "a file of records lists none");
    for (const tavrola::RecordSummary& record : look.records) {
        Check(record.length > 0, "a record without positions");
    }
    const std::int64_t length = look.records.front().length;
    if (once.outcome == tavrola::ReadOutcome::kOk) {
        CheckRecordText(once);
        const tavrola::SequenceReading whole =
            tavrola::ReadRecordStretch(FuzzFile(), 0, {0, length - 1});
        Check(whole.outcome == tavrola::ReadOutcome::kOk && whole.text == once.text,
              "the window and the command line read the first record otherwise");
    } else {
        Check(once.outcome == tavrola::ReadOutcome::kStretchNeeded && length > tavrola::kLoadLimit,
              "the single pass refused a record the look accepted");
    }
    const auto counted = static_cast<std::int32_t>(std::min<std::int64_t>(length, INT32_MAX));
    const tavrola::ReadRange range = tavrola::ClampReadRange(asked, counted);
    if (range.end >= range.start) {
        const tavrola::SequenceReading stretch =
            tavrola::ReadRecordStretch(FuzzFile(), 0, {range.start, range.end});
        Check(stretch.outcome == tavrola::ReadOutcome::kOk, "a stretch inside the record failed");
        CheckRecordText(stretch);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tavrola::SetMessageHandler([](const std::string&) {});
    std::string folder = (std::filesystem::temp_directory_path() / "tavrola-fuzz-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        std::abort();
    }
    FuzzFile() = std::filesystem::path(folder) / "sequence file";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 10) {
        return 0;
    }
    const tavrola::ReadRange asked{ReadInt32(data), ReadInt32(data + 4)};
    const std::size_t length = (data[8] | (std::size_t{data[9]} << 8)) & 0x7FFF;
    const bool packed = (data[9] & 0x80) != 0;
    const std::string_view pattern(reinterpret_cast<const char*>(data + 10), size - 10);
    std::string content(pattern);
    if (length > 0) {
        content.resize(length);
        for (std::size_t i = pattern.size(); i < length; ++i) {
            content[i] = pattern.empty() ? '\0' : pattern[i % pattern.size()];
        }
    }
    if (packed) {
        content = tavrola::testing::GzipText(content);
    }
    std::ofstream(FuzzFile(), std::ios::binary | std::ios::trunc)
        .write(content.data(), static_cast<std::streamsize>(content.size()));

    const auto file_size = static_cast<std::int32_t>(content.size());
    bool range_asked = false;
    const std::string text =
        tavrola::ReadSequenceFile(FuzzFile(), [&](tavrola::ReadRange given, std::int32_t length) {
            range_asked = true;
            Check(given == tavrola::kDefaultReadRange, "the range did not start at 0..8191");
            Check(length == file_size, "the range was asked with another size");
            return asked;
        });
    Check(range_asked == (file_size > tavrola::kLoadLimit), "range asked for the wrong size");
    Check(text.size() <= 2 * static_cast<std::size_t>(tavrola::kLoadLimit), "too much text");

    if (!range_asked) {
        CheckText(content, {0, file_size - 1}, text);
    } else {
        // A range the dialog would hand back must load exactly those bytes.
        const tavrola::SpinRange starts = tavrola::StartSpinRange(file_size);
        const tavrola::SpinRange ends = tavrola::EndSpinRange(file_size);
        const bool dialog_range =
            asked.start >= starts.low && asked.start <= starts.high && asked.end >= ends.low &&
            asked.end <= ends.high &&
            tavrola::CheckTargetArea(asked) == tavrola::TargetAreaVerdict::kAccepted;
        if (dialog_range) {
            CheckText(content, asked, text);
        }
        Check(tavrola::ParseSequenceText(text).size() <= tavrola::kLoadLimit, "too many bases");
    }
    CheckReader(content, asked);
    return 0;
}
