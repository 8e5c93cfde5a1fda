#include "cli/cli_sentences.h"

#include <array>
#include <utility>

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
// clang-format on

}  // namespace

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

}  // namespace tavrola
