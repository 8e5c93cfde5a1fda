#include "audio/export/export_result.h"

#include <cerrno>

namespace tavrola {

const char* ExportResultMessage(ExportResult result) {
    switch (result) {
        case ExportResult::kWritten:
        case ExportResult::kCancelled:
            return "";
        case ExportResult::kFolderNotWritable:
            return "このフォルダーには書き込めません。別の保存先を選んでください。";
        case ExportResult::kFolderMissing:
            return "保存先のフォルダーが見つかりません。";
        case ExportResult::kDiskFull:
            return "ディスクの空き容量が足りないため、書き出せませんでした。";
        case ExportResult::kFileTooLarge:
            return "ファイルが大きすぎるため、この保存先には書き出せません。";
        case ExportResult::kPerformanceTooLong:
            return "演奏が長すぎるため、書き出せません。";
        case ExportResult::kWavTooLarge:
            return "WAV ファイルは 4 GiB までしか書き出せません。FLAC か Ogg Vorbis "
                   "を選んでください。";
        case ExportResult::kNotEnoughSpace:
            return "保存先の空き容量が、書き出しに要る見込みの大きさより少ないため、書き出せません"
                   "。";
        case ExportResult::kNoSoundFont:
            return "SoundFont が見つからないため、音声を書き出せません。"
                   "fluid-soundfont-gm をインストールしてください。";
        case ExportResult::kTargetIsFolder:
            return "同じ名前のフォルダーがあるため、書き出せません。別の名前を選んでください。";
        case ExportResult::kNotRegularFile:
            return "同じ名前の特殊なファイル（デバイスやパイプなど）があるため、書き出せません。"
                   "別の名前を選んでください。";
        case ExportResult::kDanglingLink:
            return "その名前はリンクですが、リンク先のファイルがないため、書き出せません。"
                   "別の名前を選んでください。";
        case ExportResult::kLinkFolderNotWritable:
            return "リンク先のファイルがあるフォルダーには書き込めません。別の保存先を選んでくださ"
                   "い。";
        case ExportResult::kOthersFile:
            return "ほかのユーザーのファイルなので、このフォルダーでは置き換えられません。"
                   "別の名前を選んでください。";
        case ExportResult::kWriteFailed:
            break;
    }
    return "ファイルを書き出せませんでした。";
}

ExportResult ExportResultOfError(int error_number) {
    switch (error_number) {
        case EACCES:
        case EPERM:
        case EROFS:
            return ExportResult::kFolderNotWritable;
        case ENOENT:
        case ENOTDIR:
            return ExportResult::kFolderMissing;
        case ENOSPC:
        case EDQUOT:
            return ExportResult::kDiskFull;
        case EFBIG:
            return ExportResult::kFileTooLarge;
        default:
            return ExportResult::kWriteFailed;
    }
}

}  // namespace tavrola
