#include "ui/window/export_sentences.h"

#include <QCoreApplication>
#include <QString>
#include <array>
#include <utility>

namespace tavrola {
namespace {

// The failures and refusals that have a sentence of their own.
// clang-format off
constexpr std::array<std::pair<ExportResult, const char*>, 15> kSentences = {{
    {ExportResult::kFolderNotWritable, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "このフォルダーには書き込めません。別の保存先を選んでください。")},
    {ExportResult::kFolderMissing, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "保存先のフォルダーが見つかりません。")},
    {ExportResult::kDiskFull, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "ディスクの空き容量が足りないため、書き出せませんでした。")},
    {ExportResult::kFileTooLarge, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "ファイルが大きすぎるため、この保存先には書き出せません。")},
    {ExportResult::kNameTooLong, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "ファイル名が長すぎるため、この保存先には書き出せません。短い名前を選んでください。")},
    {ExportResult::kPerformanceTooLong, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "演奏が長すぎるため、書き出せません。")},
    {ExportResult::kWavTooLarge, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "WAV ファイルは 4 GiB までしか書き出せません。FLAC か Ogg Vorbis を選んでください。")},
    {ExportResult::kNotEnoughSpace, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "保存先の空き容量が、書き出しに要る見込みの大きさより少ないため、書き出せません。")},
    {ExportResult::kNoSoundFont, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "SoundFont が見つからないため、音声を書き出せません。fluid-soundfont-gm をインストールしてください。")},
    {ExportResult::kTargetIsFolder, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "同じ名前のフォルダーがあるため、書き出せません。別の名前を選んでください。")},
    {ExportResult::kNotRegularFile, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "同じ名前の特殊なファイル（デバイスやパイプなど）があるため、書き出せません。別の名前を選んでください。")},
    {ExportResult::kDanglingLink, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "その名前はリンクですが、リンク先のファイルがないため、書き出せません。別の名前を選んでください。")},
    {ExportResult::kLinkFolderNotWritable, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "リンク先のファイルがあるフォルダーには書き込めません。別の保存先を選んでください。")},
    {ExportResult::kOthersFile, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "ほかのユーザーのファイルなので、このフォルダーでは置き換えられません。別の名前を選んでください。")},
    {ExportResult::kTargetExists, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "同じ名前のファイルができたため、置き換えずに書き出しをやめました。別の名前を選んでください。")},
}};
// What a video's encoder did.
constexpr std::array<std::pair<EncoderTrouble, const char*>, 3> kEncoderSentences = {{
    {EncoderTrouble::kMissing, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "動画の書き出しには ffmpeg が必要です。ffmpeg パッケージをインストールしてください。")},
    {EncoderTrouble::kFailed, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "ffmpeg が動画を書き出せませんでした。")},
    {EncoderTrouble::kStalled, QT_TRANSLATE_NOOP("tavrola::ExportSentences",
     "ffmpeg が 30 秒のあいだ画像を受け取らなかったため、動画の書き出しをやめました。")},
}};
// Before what the encoder said, in its own words.
constexpr const char* kEncoderSaid = QT_TRANSLATE_NOOP("tavrola::ExportSentences",
    "ffmpeg のメッセージ: ");
constexpr const char* kAnyOtherFailure = QT_TRANSLATE_NOOP("tavrola::ExportSentences",
    "ファイルを書き出せませんでした。");
// clang-format on

std::string Shown(const char* text) {
    return QCoreApplication::translate("tavrola::ExportSentences", text).toStdString();
}

}  // namespace

std::string ExportFailureSentence(const ExportOutcome& outcome) {
    if (outcome.Succeeded() || outcome.Cancelled()) {
        return {};
    }
    const char* chosen = kAnyOtherFailure;
    for (const auto& [listed, text] : kEncoderSentences) {
        if (listed == outcome.encoder) {
            chosen = text;
        }
    }
    for (const auto& [listed, text] : kSentences) {
        if (listed == outcome.files && outcome.encoder == EncoderTrouble::kNone) {
            chosen = text;
        }
    }
    std::string sentence = Shown(chosen);
    if (!outcome.encoder_said.empty()) {
        sentence += "\n" + Shown(kEncoderSaid) + outcome.encoder_said;
    }
    return sentence;
}

}  // namespace tavrola
