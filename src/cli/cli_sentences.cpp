#include "cli/cli_sentences.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "core/sequence/sequence_loading.h"

namespace tavrola {
namespace {

// The failures and refusals that have a sentence of their own.
// clang-format off
constexpr std::array<std::pair<ExportResult, const char*>, 15> kSentences = {{
    {ExportResult::kFolderNotWritable, "its folder cannot be written"},
    {ExportResult::kFolderMissing, "its folder does not exist"},
    {ExportResult::kDiskFull, "the disk is full"},
    {ExportResult::kFileTooLarge, "the file is too large for its file system"},
    {ExportResult::kNameTooLong, "the name is too long for its file system"},
    {ExportResult::kPerformanceTooLong, "the performance is too long for a MIDI file"},
    {ExportResult::kWavTooLarge, "a WAV file holds at most 4 GiB; choose .flac, .ogg, .opus or .mp3"},
    {ExportResult::kNotEnoughSpace, "its folder has less free space than the export would take"},
    {ExportResult::kNoSoundFont, "no General MIDI SoundFont to render audio with; install fluid-soundfont-gm"},
    {ExportResult::kTargetIsFolder, "it is a folder"},
    {ExportResult::kNotRegularFile, "it is a device, a pipe or a socket, not a file"},
    {ExportResult::kDanglingLink, "it is a symbolic link to nothing"},
    {ExportResult::kLinkFolderNotWritable, "it is a symbolic link into a folder that cannot be written"},
    {ExportResult::kOthersFile, "it is another user's file in a folder that keeps it theirs"},
    {ExportResult::kCancelled, "the export was cancelled"},
}};
// What a video's encoder did.
constexpr std::array<std::pair<EncoderTrouble, const char*>, 3> kEncoderSentences = {{
    {EncoderTrouble::kMissing, "a video needs ffmpeg; install Debian's ffmpeg package"},
    {EncoderTrouble::kFailed, "ffmpeg failed"},
    {EncoderTrouble::kStalled, "ffmpeg took no picture for 30 seconds and was stopped"},
}};

// One sentence per way a read of INPUT can end without text, for a file without records and,
// where it differs, for a file of records. Filled in: {input} "INPUT NAME" or "standard input",
// {error} the system's reason, {line} the damaged line, {format} FASTA, GenBank or EMBL,
// {record} the record's name, {count} its positions or the file's bytes, {limit} what a load
// takes, {wanted} the name asked for, {names} the names the file holds.
struct ReadSentence {
    ReadOutcome outcome;
    const char* of_raw_text;
    const char* of_records = nullptr;
};
constexpr std::array<ReadSentence, 18> kReadSentences = {{
    {ReadOutcome::kCannotOpen, "cannot read {input}: {error}"},
    {ReadOutcome::kNotRegularFile, "{input} is not a regular file (- reads standard input)"},
    {ReadOutcome::kReadError, "cannot read {input}: {error}"},
    {ReadOutcome::kInterrupted, "the reading of {input} was interrupted"},
    {ReadOutcome::kTooLarge, "{input} unpacks to 2 GiB or more"},
    {ReadOutcome::kGzipCutShort, "{input} is damaged: its gzip data is cut short"},
    {ReadOutcome::kGzipDamaged, "{input} is damaged: its gzip data does not unpack"},
    {ReadOutcome::kRecordNotEnded, "{input} is damaged: the record that begins on line {line} does not end with //"},
    {ReadOutcome::kHeaderWithoutSequence, "{input} is damaged: the record that begins on line {line} has no sequence"},
    {ReadOutcome::kNulByte, "{input} is damaged: line {line} holds a NUL byte"},
    {ReadOutcome::kLineTooLong, "{input} is damaged: line {line} is a header longer than 64 KiB"},
    {ReadOutcome::kUnknownRecord, "{input} holds no record named {wanted}; it holds {names}"},
    {ReadOutcome::kRecordChoiceOnRawFile,
     "{input} holds no FASTA, GenBank or EMBL records: --record and --region choose in those, --range takes bytes of any other file"},
    {ReadOutcome::kRangeOnRecordFile,
     "{input} holds {format} records: --range takes bytes of other files; choose positions of a record with --region START-END"},
    {ReadOutcome::kStretchNeeded,
     "{input} holds {count} bytes, more than the {limit} a load takes: choose a stretch with --range START:END",
     "record {record} holds {count} positions, more than the {limit} a load takes: choose a stretch with --region START-END"},
    {ReadOutcome::kWrongStretch, "the range is wrong: END must come after START",
     "the region is wrong: positions count from 1, and END must come after START"},
    {ReadOutcome::kStretchTooLarge, "the range is too large: at most {limit} bytes",
     "the region is too large: at most {limit} positions"},
    {ReadOutcome::kStretchPastEnd, "the range reaches past the end of {input} ({count} bytes)",
     "the region reaches past the end of record {record} ({count} positions)"},
}};
// A stream read only as far as a load takes: its size is not known.
constexpr const char* kLongStream =
    "{input} holds more than the {limit} bytes a load takes: choose a stretch with --range START:END";
// clang-format on

// A name from a file or an argument as a terminal may show it: escaped, and a name longer than
// a line cut, never inside a character.
std::string Printable(std::string_view name) {
    constexpr std::size_t kLongest = 80;
    if (name.size() <= kLongest) {
        return EscapedBytes(name);
    }
    std::size_t cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return EscapedBytes(name.substr(0, cut)) + "...";
}

bool IsUtf8(std::string_view bytes) {
    const QByteArray given(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QString::fromUtf8(given).toUtf8() == given;
}

// `text` with each {key} replaced.
std::string Fill(std::string text,
                 std::initializer_list<std::pair<std::string_view, std::string>> values) {
    for (const auto& [key, value] : values) {
        const std::string marker = "{" + std::string(key) + "}";
        for (std::size_t at = text.find(marker); at != std::string::npos;
             at = text.find(marker, at + value.size())) {
            text.replace(at, marker.size(), value);
        }
    }
    return text;
}

std::string FormatName(SequenceFormat format) {
    switch (format) {
        case SequenceFormat::kFasta:
            return "FASTA";
        case SequenceFormat::kGenBank:
            return "GenBank";
        case SequenceFormat::kEmbl:
            return "EMBL";
        case SequenceFormat::kRaw:
            break;
    }
    return "no";
}

// "a, b and c", then how many more the file holds.
std::string NameList(const SequenceReading& reading) {
    std::string list;
    for (std::size_t i = 0; i < reading.names.size(); ++i) {
        const bool last = i + 1 == reading.names.size() && reading.more_names == 0;
        list += i == 0 ? "" : last ? " and " : ", ";
        list += Printable(reading.names[i]);
    }
    if (reading.more_names > 0) {
        list += " and " + std::to_string(reading.more_names) + " more";
    }
    return list.empty() ? "none" : list;
}

}  // namespace

std::string EscapedBytes(std::string_view bytes) {
    const bool utf8 = IsUtf8(bytes);
    std::string escaped;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value < 0x20 || value == 0x7F || (value >= 0x80 && !utf8)) {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02X", value);
            escaped += code;
        } else {
            escaped += byte;
        }
    }
    return escaped;
}

std::string ExportFailureLine(const ExportOutcome& outcome, const std::string& output) {
    if (outcome.files == ExportResult::kTargetExists) {
        return output + " exists: add --force to replace it";
    }
    const std::string said = outcome.encoder_said.empty() ? "" : ": " + outcome.encoder_said;
    for (const auto& [listed, sentence] : kEncoderSentences) {
        if (listed == outcome.encoder) {
            return "cannot write " + output + ": " + sentence + said;
        }
    }
    for (const auto& [listed, sentence] : kSentences) {
        if (listed == outcome.files) {
            return "cannot write " + output + ": " + sentence;
        }
    }
    return "cannot write " + output;
}

std::string ReadFailureLine(const SequenceReading& reading, const std::string& input,
                            const SinglePassRequest& choice) {
    // A stretch's shape is checked before the input is looked at: what was asked tells which.
    const bool shape = reading.outcome == ReadOutcome::kWrongStretch ||
                       reading.outcome == ReadOutcome::kStretchTooLarge;
    const bool records = shape ? choice.region.has_value() : reading.format != SequenceFormat::kRaw;
    const std::string shown_input = Printable(input);
    if (reading.outcome == ReadOutcome::kCannotOpen && reading.system_error == ENOENT) {
        return shown_input + " does not exist";
    }
    const char* sentence = "cannot read {input}";
    for (const ReadSentence& listed : kReadSentences) {
        if (listed.outcome == reading.outcome) {
            sentence =
                records && listed.of_records != nullptr ? listed.of_records : listed.of_raw_text;
        }
    }
    if (reading.outcome == ReadOutcome::kStretchNeeded && !records && reading.available < 0) {
        sentence = kLongStream;
    }
    return Fill(sentence, {{"input", shown_input},
                           {"error", std::strerror(reading.system_error)},
                           {"line", std::to_string(reading.line)},
                           {"format", FormatName(reading.format)},
                           {"record", Printable(reading.record.name)},
                           {"count", std::to_string(reading.available)},
                           {"limit", std::to_string(kLoadLimit)},
                           {"wanted", Printable(choice.record.value_or(""))},
                           {"names", NameList(reading)}});
}

std::string NoBasesLine(const SequenceReading& reading, const std::string& input) {
    if (reading.format == SequenceFormat::kRaw) {
        return Printable(input) + " holds no bases (A, C, G or T)";
    }
    return "positions " + std::to_string(reading.stretch.start + 1) + "-" +
           std::to_string(reading.stretch.end + 1) + " of record " +
           Printable(reading.record.name) + " hold no bases (A, C, G, T or U)";
}

std::string RecordReadLine(const SequenceReading& reading) {
    if (reading.format == SequenceFormat::kRaw) {
        return {};
    }
    const std::int64_t skipped = reading.skipped_letters;
    return "playing record " + Printable(reading.record.name) + ", positions " +
           std::to_string(reading.stretch.start + 1) + "-" +
           std::to_string(reading.stretch.end + 1) + " of " +
           std::to_string(reading.record.length) + ", " + std::to_string(skipped) +
           (skipped == 1 ? " letter" : " letters") + " skipped (not A, C, G, T or U)";
}

}  // namespace tavrola
