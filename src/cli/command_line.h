#pragma once

#include <QStringList>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/music/performance_state.h"
#include "core/sequence/sequence_reader.h"
#include "export/export_format.h"

namespace tavrola {

// How a command line ends, as scripts read it.
enum class ExitStatus : int {
    kWritten = 0,
    kUsage = 1,   // an unknown option, a bad value, an unknown extension, no --export
    kInput = 2,   // INPUT missing, unreadable or damaged, no bases, an unknown record, too long
                  // without --region or --range, a stretch that does not fit it
    kOutput = 3,  // OUT cannot be written, exists without --force, or cannot hold the
                  // performance; standard output cannot take the help or the version
};

// One export as the command line asks for it: what the Instrument, Algorithm and Data dialogs
// would be given, and where it goes.
struct ExportCommand {
    std::filesystem::path output;
    ExportFormat format;
    std::string input;  // a file, or "-" for standard input
    // --raw, --record, --region (as positions from 0) and --range, for the one reader.
    SinglePassRequest input_choice;
    std::int32_t right_instrument = kDefaultRightInstrument;
    std::int32_t left_instrument = kDefaultLeftInstrument;
    TimingMode timing_mode = kDefaultTimingMode;
    bool diatonic_only = true;
    AssignmentTable assignment_table = kDefaultAssignmentTable;
    bool force = false;
    bool quiet = false;
};

struct ParsedCommandLine {
    enum class Action { kExport, kHelp, kVersion, kUsageError };
    Action action = Action::kUsageError;
    ExportCommand command;
    std::string error;  // for kUsageError: one plain sentence
};

// Reads the arguments after the program's name. Anything but a complete, valid export, the
// help or the version is a usage error with a sentence that says what is wrong.
ParsedCommandLine ParseCommandLine(const QStringList& arguments);

// Whether the arguments ask for the command line rather than the window: --export, --help or
// --version among them, before any --.
bool AsksForCommandLine(int argc, const char* const* argv);

// An argument as text, every byte kept: valid UTF-8 as it reads, any other byte as a lone
// surrogate U+DC80 to U+DCFF, so that a file name that is not UTF-8 (Latin-1, Shift-JIS from a
// Windows zip) turns back into exactly its bytes.
QString ArgumentText(std::string_view bytes);
std::string ArgumentBytes(const QString& text);

// --help's text and --version's one line ("tavrola 1.2.0").
std::string HelpText();
std::string VersionLine();

// A voice's instrument as a command line names it: a General MIDI program 0 to 127, its name as
// the Instrument dialog lists it (compared after Unicode NFKC normalisation, so half-width and
// full-width katakana both match) or as the General MIDI standard names it in English (in any
// case), or "none" (or the list's "なし") for silence. Nothing for anything else.
std::optional<std::int32_t> ParseInstrument(const QString& value);

}  // namespace tavrola
