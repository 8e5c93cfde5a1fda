#include "cli/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>
#include <utility>

#include "core/music/assignment_text.h"
#include "core/music/program_names.h"
#include "export/face/designed_texts.h"

namespace tavrola {
namespace {

constexpr const char* kNone = "none";

struct TimingName {
    const char* name;
    TimingMode mode;
};
constexpr TimingName kTimingNames[] = {
    {"quarter", TimingMode::kQuarter},
    {"eighth", TimingMode::kEighth},
    {"mixed", TimingMode::kMixed},
};

QString Comparable(const QString& name) {
    return name.normalized(QString::NormalizationForm_KC).trimmed();
}

ParsedCommandLine UsageError(std::string sentence) {
    ParsedCommandLine parsed;
    parsed.action = ParsedCommandLine::Action::kUsageError;
    parsed.error = std::move(sentence);
    return parsed;
}

std::optional<std::int32_t> ParseNumber(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok && !text.startsWith(u'+') ? std::optional<std::int32_t>(value) : std::nullopt;
}

// Positions beyond any file: a stretch's size never overflows.
constexpr std::int64_t kLargestPosition = std::int64_t{1} << 60;

// Two positions such as START:END (bytes) or START-END (positions), plain decimal numbers;
// whether they fit INPUT is the input's question.
std::optional<std::pair<std::int64_t, std::int64_t>> ParsePositions(const QString& text,
                                                                    char16_t separator) {
    const QStringList parts = text.split(separator);
    if (parts.size() != 2) {
        return std::nullopt;
    }
    std::int64_t numbers[2] = {};
    for (int i = 0; i < 2; ++i) {
        bool ok = false;
        numbers[i] = parts[i].toLongLong(&ok, 10);
        if (!ok || parts[i].isEmpty() || !parts[i].front().isDigit() || numbers[i] < 0 ||
            numbers[i] > kLargestPosition) {
            return std::nullopt;
        }
    }
    return std::pair{numbers[0], numbers[1]};
}

// The length of the valid UTF-8 sequence at the start of `bytes` (shortest form, no surrogate,
// at most U+10FFFF), or 0.
std::size_t Utf8SequenceLength(std::string_view bytes, char32_t& code_point) {
    const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                                                             : 0;
    if (length == 0 || length > bytes.size()) {
        return 0;
    }
    code_point = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        code_point = code_point << 6 | (byte(i) & 0x3F);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code_point >= 0xD800 && code_point < 0xE000;
    return code_point < kShortest[length] || surrogate || code_point > 0x10FFFF ? 0 : length;
}

// Why the parser refused the arguments; a name written with a single dash was meant as a file
// name more often than as an option.
std::string ParserRefusal(const QCommandLineParser& parser, const QStringList& arguments) {
    std::string refusal = parser.errorText().toStdString();
    for (const QString& unknown : parser.unknownOptionNames()) {
        if (arguments.contains(u'-' + unknown)) {
            return refusal + " (use -- before a name that starts with -)";
        }
    }
    return refusal;
}

// An option given twice leaves open which value was meant.
std::optional<std::string> RepeatedOption(const QCommandLineParser& parser,
                                          const QList<QCommandLineOption>& options) {
    for (const QCommandLineOption& option : options) {
        qsizetype given = 0;
        for (const QString& name : option.names()) {
            given += parser.optionNames().count(name);
        }
        if (given > 1) {
            return "--" + option.names().back().toStdString() + " is given more than once";
        }
    }
    return std::nullopt;
}

// The command line's options, as the parser knows them.
struct Options {
    QCommandLineOption output{QStringLiteral("export"), {}, QStringLiteral("OUT")};
    QCommandLineOption right{QStringLiteral("right"), {}, QStringLiteral("PROGRAM")};
    QCommandLineOption left{QStringLiteral("left"), {}, QStringLiteral("PROGRAM")};
    QCommandLineOption timing{QStringLiteral("timing"), {}, QStringLiteral("MODE")};
    QCommandLineOption all_notes{QStringLiteral("all-notes")};
    QCommandLineOption table{QStringLiteral("table"), {}, QStringLiteral("TABLE")};
    QCommandLineOption record{QStringLiteral("record"), {}, QStringLiteral("NAME")};
    QCommandLineOption region{QStringLiteral("region"), {}, QStringLiteral("START-END")};
    QCommandLineOption range{QStringLiteral("range"), {}, QStringLiteral("START:END")};
    QCommandLineOption raw{QStringLiteral("raw")};
    QCommandLineOption force{QStringLiteral("force")};
    QCommandLineOption quiet{QStringLiteral("quiet")};
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{QStringList{QStringLiteral("v"), QStringLiteral("version")}};

    QList<QCommandLineOption> All() const {
        return {output, right, left, timing, all_notes, table, record,
                region, range, raw,  force,  quiet,     help,  version};
    }
};

// OUT, its format, and INPUT, or the sentence that refuses the first wrong.
std::optional<std::string> ReadFiles(const QCommandLineParser& parser, const Options& options,
                                     ExportCommand& command) {
    command.output = ArgumentBytes(parser.value(options.output));
    const std::optional<ExportFormat> format = ExportFormatOfFile(command.output);
    if (!format && ExportFormatOfFile("OUT" + command.output.filename().string())) {
        return "OUT needs a name before its extension: " + command.output.string();
    }
    if (command.output.filename().empty() || !format) {
        return "OUT must end in .mid, .midi, .wav, .flac, .ogg, .opus, .mp3, .mp4 or .webm: " +
               command.output.string();
    }
    command.format = *format;
    if (parser.positionalArguments().size() != 1) {
        return "give one INPUT file, or - for standard input";
    }
    command.input = ArgumentBytes(parser.positionalArguments().front());
    return std::nullopt;
}

// What to read of INPUT, or the sentence that refuses it. Choices that no INPUT can satisfy are
// refused here; whether a choice fits INPUT is for its reading to say.
std::optional<std::string> ReadInputChoice(const QCommandLineParser& parser, const Options& options,
                                           ExportCommand& command) {
    SinglePassRequest& choice = command.input_choice;
    choice.raw = parser.isSet(options.raw);
    if (parser.isSet(options.record)) {
        choice.record = ArgumentBytes(parser.value(options.record));
        if (choice.record->empty()) {
            return "--record takes the name of a record of INPUT";
        }
    }
    if (parser.isSet(options.region)) {
        const auto region = ParsePositions(parser.value(options.region), u'-');
        if (!region) {
            return "--region takes START-END, positions of the record counted from 1 such as "
                   "1-8192: " +
                   parser.value(options.region).toStdString();
        }
        choice.region = RegionFromOneBased(region->first, region->second);
    }
    if (parser.isSet(options.range)) {
        const auto range = ParsePositions(parser.value(options.range), u':');
        if (!range) {
            return "--range takes START:END, two byte positions such as 0:8191: " +
                   parser.value(options.range).toStdString();
        }
        choice.range = PositionRange{range->first, range->second};
    }
    if (choice.raw && (choice.record || choice.region)) {
        return "--raw reads INPUT as bytes, headers and all: it takes no --record or --region";
    }
    if (choice.range && (choice.record || choice.region)) {
        return "--range counts bytes of a file without records, --record and --region choose in "
               "a file of records: give one or the other";
    }
    return std::nullopt;
}

// What the Instrument and Algorithm dialogs would be given, or the sentence that refuses the
// first wrong.
std::optional<std::string> ReadChoices(const QCommandLineParser& parser, const Options& options,
                                       ExportCommand& command) {
    for (const auto& [option, instrument] : {std::pair{&options.right, &command.right_instrument},
                                             std::pair{&options.left, &command.left_instrument}}) {
        if (!parser.isSet(*option)) {
            continue;
        }
        const std::optional<std::int32_t> chosen = ParseInstrument(parser.value(*option));
        if (!chosen) {
            return "--" + option->names().front().toStdString() +
                   " takes a program 0 to 127, an instrument's name, or none: " +
                   parser.value(*option).toStdString();
        }
        *instrument = *chosen;
    }
    if (command.right_instrument == kSilentInstrument &&
        command.left_instrument == kSilentInstrument) {
        return "both voices are silent (none): at least one must sound";
    }
    if (parser.isSet(options.timing)) {
        const QString wanted = parser.value(options.timing).toLower();
        const auto* named = std::find_if(
            std::begin(kTimingNames), std::end(kTimingNames),
            [&wanted](const TimingName& name) { return wanted == QLatin1String(name.name); });
        if (named == std::end(kTimingNames)) {
            return "--timing takes quarter, eighth or mixed: " +
                   parser.value(options.timing).toStdString();
        }
        command.timing_mode = named->mode;
    }
    command.diatonic_only = !parser.isSet(options.all_notes);
    if (parser.isSet(options.table)) {
        const std::optional<AssignmentTable> assignment =
            ParseAssignmentText(parser.value(options.table).toStdString());
        if (!assignment) {
            return "--table takes 25 letters C, A, G or T, such as " +
                   AssignmentText(kDefaultAssignmentTable) + ": " +
                   parser.value(options.table).toStdString();
        }
        command.assignment_table = *assignment;
    }
    return std::nullopt;
}

}  // namespace

QString ArgumentText(std::string_view bytes) {
    QString text;
    while (!bytes.empty()) {
        char32_t code_point = 0;
        std::size_t length = Utf8SequenceLength(bytes, code_point);
        if (length == 0) {
            code_point = 0xDC00 + static_cast<unsigned char>(bytes.front());
            length = 1;
        }
        text.append(QString::fromUcs4(&code_point, 1));
        bytes.remove_prefix(length);
    }
    return text;
}

std::string ArgumentBytes(const QString& text) {
    std::string bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool escaped = unit >= 0xDC80 && unit <= 0xDCFF &&
                             (i == 0 || !QChar::isHighSurrogate(text[i - 1].unicode()));
        if (escaped) {
            bytes.push_back(static_cast<char>(unit - 0xDC00));
            continue;
        }
        const qsizetype length = QChar::isHighSurrogate(unit) && i + 1 < text.size() ? 2 : 1;
        bytes += text.mid(i, length).toStdString();
        i += length - 1;
    }
    return bytes;
}

std::optional<std::int32_t> ParseInstrument(const QString& value) {
    const QString wanted = Comparable(value);
    if (wanted.compare(QLatin1String(kNone), Qt::CaseInsensitive) == 0 ||
        wanted == Comparable(QString::fromUtf8(kSilentEntryName))) {
        return kSilentInstrument;
    }
    if (const std::optional<std::int32_t> number = ParseNumber(wanted)) {
        return *number >= 0 && *number < kProgramCount ? number : std::nullopt;
    }
    for (std::int32_t program = 0; program < kProgramCount; ++program) {
        const char* name = ProgramName(program);
        if (wanted == Comparable(QString::fromUtf8(name)) ||
            wanted.compare(EnglishDesignedText(name), Qt::CaseInsensitive) == 0) {
            return program;
        }
    }
    return std::nullopt;
}

bool AsksForCommandLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            return false;  // what follows are names, for the window to open
        }
        for (const std::string_view option : {"--export", "--help", "--version", "-h", "-v"}) {
            if (argument == option ||
                (argument.rfind(option, 0) == 0 && argument.size() > option.size() &&
                 argument[option.size()] == '=')) {
                return true;
            }
        }
    }
    return false;
}

ParsedCommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    // -hv is no -h -v: each option is written whole.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const Options options;
    parser.addOptions(options.All());
    if (!parser.parse(QStringList{QStringLiteral("tavrola")} + arguments)) {
        return UsageError(ParserRefusal(parser, arguments));
    }
    if (const std::optional<std::string> repeated = RepeatedOption(parser, options.All())) {
        return UsageError(*repeated);
    }
    if (parser.isSet(options.help)) {
        return {ParsedCommandLine::Action::kHelp, {}, {}};
    }
    if (parser.isSet(options.version)) {
        return {ParsedCommandLine::Action::kVersion, {}, {}};
    }
    if (!parser.isSet(options.output)) {
        return UsageError("arguments need --export OUT (see tavrola --help)");
    }
    ParsedCommandLine parsed;
    parsed.action = ParsedCommandLine::Action::kExport;
    for (const auto read : {ReadFiles, ReadChoices, ReadInputChoice}) {
        if (const std::optional<std::string> refused = read(parser, options, parsed.command)) {
            return UsageError(*refused);
        }
    }
    parsed.command.force = parser.isSet(options.force);
    parsed.command.quiet = parser.isSet(options.quiet);
    return parsed;
}

std::string VersionLine() {
    return std::string("tavrola ") + TAVROLA_VERSION;
}

std::string HelpText() {
    return std::string(R"(Usage: tavrola --export OUT [--right PROGRAM|none] [--left PROGRAM|none]
               [--timing quarter|eighth|mixed] [--all-notes] [--table TABLE]
               [--record NAME] [--region START-END | --range START:END] [--raw]
               [--force] [--quiet] INPUT|-
       tavrola [--] [FILE...]   (the window, FILE loaded as its Data dialog loads a file)

Plays a DNA sequence as Tavrola's window does and writes the performance to OUT, with no
window, no display and no sound server.

  INPUT              a sequence file, read as the Data dialog's Load (読込) reads one, or -
                     for standard input. It is recognised by its content, never its name:
                     gzip is unpacked first; FASTA (a first line starting with >), GenBank
                     (LOCUS) and EMBL (ID) files hold records, and only a record's sequence
                     plays: A, C, G, T and U (as T) in either case, other letters skipped.
                     Any other file is raw text: every byte A, C, G or T in either case is
                     a base, every other byte is skipped, and a NUL byte ends the text.
  --export OUT       the file to write. Its extension chooses the format: .mid or .midi
                     (Standard MIDI File), .wav (16-bit), .flac, .ogg (Ogg Vorbis), .opus,
                     .mp3, or a video of the window's face with its sound, .mp4 (H.264 and
                     AAC) or .webm (VP9 and Opus), which needs Debian's ffmpeg. Audio is
                     44.1 kHz stereo, Opus 48 kHz; video 1098 x 1138 at 30 frames a second.
                     OUT is written beside itself and renamed into place when complete.
  --right PROGRAM    the right voice (the bases as read): a General MIDI program 0 to 127,
                     its name as the Instrument dialog lists it in Japanese (half- or
                     full-width) or as General MIDI names it in English, in any case
                     ("acoustic grand piano"), or none. Default: 98 (FX 3 (crystal), 水晶).
  --left PROGRAM     the left voice (the complementary strand, an octave lower). Default: 91
                     (Pad 4 (choir), 宇宙の声). Both none is refused.
  --timing MODE      quarter, eighth or mixed (default), as the Algorithm dialog lists them
  --all-notes        let every pitch a base owns sound, not only the notes of C major
  --table TABLE      which base owns each of the 25 pitches, lowest first: 25 letters C, A,
                     G or T, grouped by hyphens as the Algorithm dialog's rows (B flat and
                     B, C to B, C to B flat). The default:
                       )") +
           AssignmentText(kDefaultAssignmentTable) + R"(
  --record NAME      the record of a FASTA, GenBank or EMBL file to play (default: the
                     first): FASTA's first word after >, GenBank's VERSION (else ACCESSION,
                     else LOCUS), EMBL's accession.version (else ID). NAME without its
                     .version matches when one record fits; of duplicates, the first.
  --region START-END the positions of the record to play, counted from 1, both included, END
                     after START, at most 8192: a record longer than that is refused without
                     it. Every character of a sequence line is a position (gaps and N too;
                     GenBank's and EMBL's numbers are not), as samtools faidx counts them.
                     The window's Target Area dialog takes START-1 to END-1.
  --range START:END  for a file without records: bytes START to END (counted from 0, both
                     included, END after START, at most 8192), as the Target Area dialog
                     reads them. Such a file over 8192 bytes is refused without it.
  --raw              read INPUT as raw text whatever it holds (no gzip, no records, header
                     letters play), as Tavrola 1.1.0 did; not with --record or --region
  --force            replace OUT when it exists (without it an existing OUT is refused)
  --quiet            no progress, and no line naming the record read, on standard error
  -h, --help         this text
  -v, --version      one line: tavrola and its version

The result is exactly what the window exports after start-up with the same choices in the
Instrument and Algorithm dialogs and the same INPUT loaded with one OK in the Data dialog,
the same record and stretch chosen in its dialogs: byte for byte for MIDI, WAV, FLAC and
MP3, the same decoded samples for Ogg Vorbis and Opus (their stream serial is random); a
video shows what the window would show while it plays. Only mixed timing draws on the
program's random series; a run starts it where the window's stands after start-up.
--raw has no match in the window.

Standard error names the record read, its stretch and how many of its letters are skipped
(not A, C, G, T or U), then shows progress (a line every 10 % when it is not a terminal);
every failure is one line there. Exit status: 0 written; 1 usage (--raw with --record or
--region, --range with either); 2 input (missing, unreadable or damaged, no bases, an
unknown record (the names it holds are listed), over 8192 positions or bytes without
--region or --range, a stretch that does not fit, --record or --region on a file without
records, --range on a file of records); 3 output (the folder missing or not writable, the
disk full, a format that cannot hold the performance, no ffmpeg for a video, OUT existing
without --force, standard output that cannot take the help or the version); 129, 130, 143
after SIGHUP, SIGINT, SIGTERM, with nothing left behind.

The command line speaks English. A video shows the window's face in the window's language:
Japanese as designed under the C or POSIX locale or none, else the first of Japanese and
English in LANGUAGE or the locale, English where neither is named; TAVROLA_LANGUAGE=ja or
TAVROLA_LANGUAGE=en chooses it (for the window too) whatever the locale.

Example: the lac operon's first 2000 positions, from a compressed GenBank file:
  tavrola --export lac.flac --record J01636 --region 1-2000 lac.gb.gz
)";
}

}  // namespace tavrola
