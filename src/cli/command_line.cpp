#include "cli/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <cstring>
#include <string_view>

#include "core/music/assignment_text.h"
#include "core/music/program_names.h"

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

// START:END, two numbers; whether the dialog would take them is the input's question.
std::optional<ReadRange> ParseRange(const QString& text) {
    const QStringList parts = text.split(u':');
    if (parts.size() != 2) {
        return std::nullopt;
    }
    const std::optional<std::int32_t> start = ParseNumber(parts[0]);
    const std::optional<std::int32_t> end = ParseNumber(parts[1]);
    if (!start || !end || *start < 0 || *end < 0) {
        return std::nullopt;
    }
    return ReadRange{*start, *end};
}

}  // namespace

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
        if (wanted == Comparable(QString::fromUtf8(ProgramName(program)))) {
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
    const QCommandLineOption output(QStringLiteral("export"), {}, QStringLiteral("OUT"));
    const QCommandLineOption right(QStringLiteral("right"), {}, QStringLiteral("PROGRAM"));
    const QCommandLineOption left(QStringLiteral("left"), {}, QStringLiteral("PROGRAM"));
    const QCommandLineOption timing(QStringLiteral("timing"), {}, QStringLiteral("MODE"));
    const QCommandLineOption all_notes(QStringLiteral("all-notes"));
    const QCommandLineOption table(QStringLiteral("table"), {}, QStringLiteral("TABLE"));
    const QCommandLineOption range(QStringLiteral("range"), {}, QStringLiteral("START:END"));
    const QCommandLineOption force(QStringLiteral("force"));
    const QCommandLineOption quiet(QStringLiteral("quiet"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions(
        {output, right, left, timing, all_notes, table, range, force, quiet, help, version});
    if (!parser.parse(QStringList{QStringLiteral("tavrola")} + arguments)) {
        return UsageError(parser.errorText().toStdString());
    }
    if (parser.isSet(help)) {
        return {ParsedCommandLine::Action::kHelp, {}, {}};
    }
    if (parser.isSet(version)) {
        return {ParsedCommandLine::Action::kVersion, {}, {}};
    }
    if (!parser.isSet(output)) {
        return UsageError("arguments need --export OUT (see tavrola --help)");
    }

    ParsedCommandLine parsed;
    parsed.action = ParsedCommandLine::Action::kExport;
    ExportCommand& command = parsed.command;
    command.output = parser.value(output).toStdString();
    const std::optional<ExportFormat> format = ExportFormatOfFile(command.output);
    if (command.output.filename().empty() || !format) {
        return UsageError(
            "OUT must end in .mid, .midi, .wav, .flac, .ogg, .opus, .mp3, .mp4 or .webm: " +
            command.output.string());
    }
    command.format = *format;
    if (parser.positionalArguments().size() != 1) {
        return UsageError("give one INPUT file, or - for standard input");
    }
    command.input = parser.positionalArguments().front().toStdString();
    for (const auto& [option, instrument] : {std::pair{&right, &command.right_instrument},
                                             std::pair{&left, &command.left_instrument}}) {
        if (!parser.isSet(*option)) {
            continue;
        }
        const std::optional<std::int32_t> chosen = ParseInstrument(parser.value(*option));
        if (!chosen) {
            return UsageError("--" + option->names().front().toStdString() +
                              " takes a program 0 to 127, an instrument's name, or none: " +
                              parser.value(*option).toStdString());
        }
        *instrument = *chosen;
    }
    if (command.right_instrument == kSilentInstrument &&
        command.left_instrument == kSilentInstrument) {
        return UsageError("both voices are silent (none): at least one must sound");
    }
    if (parser.isSet(timing)) {
        const QString wanted = parser.value(timing).toLower();
        bool known = false;
        for (const TimingName& name : kTimingNames) {
            if (wanted == QLatin1String(name.name)) {
                command.timing_mode = name.mode;
                known = true;
            }
        }
        if (!known) {
            return UsageError("--timing takes quarter, eighth or mixed: " +
                              parser.value(timing).toStdString());
        }
    }
    command.diatonic_only = !parser.isSet(all_notes);
    if (parser.isSet(table)) {
        const std::optional<AssignmentTable> assignment =
            ParseAssignmentText(parser.value(table).toStdString());
        if (!assignment) {
            return UsageError("--table takes 25 letters C, A, G or T, such as " +
                              AssignmentText(kDefaultAssignmentTable) + ": " +
                              parser.value(table).toStdString());
        }
        command.assignment_table = *assignment;
    }
    if (parser.isSet(range)) {
        command.range = ParseRange(parser.value(range));
        if (!command.range) {
            return UsageError("--range takes START:END, two byte positions such as 0:8191: " +
                              parser.value(range).toStdString());
        }
    }
    command.force = parser.isSet(force);
    command.quiet = parser.isSet(quiet);
    return parsed;
}

std::string VersionLine() {
    return std::string("tavrola ") + TAVROLA_VERSION;
}

std::string HelpText() {
    return std::string(R"(Usage: tavrola --export OUT [--right PROGRAM|none] [--left PROGRAM|none]
               [--timing quarter|eighth|mixed] [--all-notes] [--table TABLE]
               [--range START:END] [--force] [--quiet] INPUT|-
       tavrola [--] [FILE...]   (the window, FILE loaded as its Data dialog loads a file)

Plays a DNA sequence as Tavrola's window does and writes the performance to OUT, with no
window, no display and no sound server.

  INPUT              a sequence file, read as the Data dialog's Load (読込) reads one: every
                     A, C, G and T in either case is a base and every other byte is skipped,
                     so the letters of a FASTA header play too; a NUL byte ends the text.
                     - reads standard input.
  --export OUT       the file to write. Its extension chooses the format: .mid or .midi
                     (Standard MIDI File), .wav (16-bit), .flac, .ogg (Ogg Vorbis), .opus,
                     .mp3, or a video of the window's face with its sound, .mp4 (H.264 and
                     AAC) or .webm (VP9 and Opus), which needs Debian's ffmpeg. Audio is
                     44.1 kHz stereo, Opus 48 kHz; video 1098 x 1138 at 30 frames a second.
                     OUT is written beside itself and renamed into place when complete.
  --right PROGRAM    the right voice (the bases as read): a General MIDI program 0 to 127,
                     its name as the Instrument dialog lists it (half- or full-width), or
                     none. Default: 98 (水晶).
  --left PROGRAM     the left voice (the complementary strand, an octave lower). Default: 91
                     (宇宙の声). Both none is refused.
  --timing MODE      quarter, eighth or mixed (default), as the Algorithm dialog lists them
  --all-notes        let every pitch a base owns sound, not only the notes of C major
  --table TABLE      which base owns each of the 25 pitches, lowest first: 25 letters C, A, G
                     or T, grouped by hyphens as the Algorithm dialog's rows (B flat and B,
                     C to B, C to B flat). The default:
                       )") +
           AssignmentText(kDefaultAssignmentTable) + R"(
  --range START:END  read only bytes START to END of INPUT (counted from 0, both included,
                     END after START, at most 8192 bytes), as the Target Area dialog does.
                     A file over 8192 bytes is refused without it.
  --force            replace OUT when it exists (without it an existing OUT is refused)
  --quiet            no progress on standard error
  -h, --help         this text
  -v, --version      one line: tavrola and its version

The result is exactly what the window exports after start-up with the same choices in the
Instrument and Algorithm dialogs and the same INPUT loaded with one OK in the Data dialog:
byte for byte for MIDI, WAV, FLAC and MP3, the same decoded samples for Ogg Vorbis and Opus
(their stream serial is random); a video shows what the window would show while it
plays. Only mixed timing draws on the program's random series; a run starts it where the
window's stands after start-up.

Progress goes to standard error (a line every 10 % when it is not a terminal); every
failure is one line there. Exit status: 0 written; 1 usage; 2 input (missing, unreadable,
no bases, over 8192 bytes without --range, a range the dialog would refuse); 3 output (the
folder missing or not writable, the disk full, a format that cannot hold the performance, no
ffmpeg for a video, OUT existing without --force); 129, 130, 143 after SIGHUP, SIGINT,
SIGTERM, with nothing left behind.
)";
}

}  // namespace tavrola
