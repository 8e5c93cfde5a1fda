#include "ui/window/export_sentences.h"

#include <array>
#include <utility>

namespace tavrola {
namespace {

// The failures and refusals that have a sentence of their own.
// clang-format off
constexpr std::array<std::pair<ExportResult, const char*>, 15> kSentences = {{
    {ExportResult::kFolderNotWritable,
     "このフォルダーには書き込めません。別の保存先を選んでください。"},
    {ExportResult::kFolderMissing,
     "保存先のフォルダーが見つかりません。"},
    {ExportResult::kDiskFull,
     "ディスクの空き容量が足りないため、書き出せませんでした。"},
    {ExportResult::kFileTooLarge,
     "ファイルが大きすぎるため、この保存先には書き出せません。"},
    {ExportResult::kNameTooLong,
     "ファイル名が長すぎるため、この保存先には書き出せません。短い名前を選んでください。"},
    {ExportResult::kPerformanceTooLong,
     "演奏が長すぎるため、書き出せません。"},
    {ExportResult::kWavTooLarge,
     "WAV ファイルは 4 GiB までしか書き出せません。FLAC か Ogg Vorbis を選んでください。"},
    {ExportResult::kNotEnoughSpace,
     "保存先の空き容量が、書き出しに要る見込みの大きさより少ないため、書き出せません。"},
    {ExportResult::kNoSoundFont,
     "SoundFont が見つからないため、音声を書き出せません。fluid-soundfont-gm をインストールしてください。"},
    {ExportResult::kTargetIsFolder,
     "同じ名前のフォルダーがあるため、書き出せません。別の名前を選んでください。"},
    {ExportResult::kNotRegularFile,
     "同じ名前の特殊なファイル（デバイスやパイプなど）があるため、書き出せません。別の名前を選んでください。"},
    {ExportResult::kDanglingLink,
     "その名前はリンクですが、リンク先のファイルがないため、書き出せません。別の名前を選んでください。"},
    {ExportResult::kLinkFolderNotWritable,
     "リンク先のファイルがあるフォルダーには書き込めません。別の保存先を選んでください。"},
    {ExportResult::kOthersFile,
     "ほかのユーザーのファイルなので、このフォルダーでは置き換えられません。別の名前を選んでください。"},
    {ExportResult::kTargetExists,
     "同じ名前のファイルができたため、置き換えずに書き出しをやめました。別の名前を選んでください。"},
}};
// What a video's encoder did.
constexpr std::array<std::pair<EncoderTrouble, const char*>, 3> kEncoderSentences = {{
    {EncoderTrouble::kMissing,
     "動画の書き出しには ffmpeg が必要です。ffmpeg パッケージをインストールしてください。"},
    {EncoderTrouble::kFailed,
     "ffmpeg が動画を書き出せませんでした。"},
    {EncoderTrouble::kStalled,
     "ffmpeg が 30 秒のあいだ画像を受け取らなかったため、動画の書き出しをやめました。"},
}};
// Before what the encoder said, in its own words.
constexpr const char* kEncoderSaid = "ffmpeg のメッセージ: ";
constexpr const char* kAnyOtherFailure = "ファイルを書き出せませんでした。";
// clang-format on

}  // namespace

std::string ExportFailureSentence(const ExportOutcome& outcome) {
    if (outcome.Succeeded() || outcome.Cancelled()) {
        return {};
    }
    std::string sentence = kAnyOtherFailure;
    for (const auto& [listed, text] : kEncoderSentences) {
        if (listed == outcome.encoder) {
            sentence = text;
        }
    }
    for (const auto& [listed, text] : kSentences) {
        if (listed == outcome.files && outcome.encoder == EncoderTrouble::kNone) {
            sentence = text;
        }
    }
    if (!outcome.encoder_said.empty()) {
        sentence += std::string("\n") + kEncoderSaid + outcome.encoder_said;
    }
    return sentence;
}

}  // namespace tavrola
