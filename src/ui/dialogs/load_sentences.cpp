#include "ui/dialogs/load_sentences.h"

#include <QLocale>
#include <array>
#include <utility>

namespace tavrola {
namespace {

// A count as the dialogs write numbers: with thousands separators.
QString Grouped(std::int64_t number) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(static_cast<qlonglong>(number));
}

// A choice made from the file's look no longer fits it: the file was written to meanwhile.
constexpr const char* kFileChanged =
    "読み込むあいだにファイルが書き換えられたため、読み込めませんでした。";
constexpr const char* kAnyOtherFailure = "ファイルを読み込めませんでした。";

// One sentence per way a load can fail; %1 is the damaged line. The reader gives a line with
// every kind of damage it finds in records.
// clang-format off
constexpr std::array<std::pair<ReadOutcome, const char*>, 15> kSentences = {{
    {ReadOutcome::kCannotOpen,
     "ファイルを開けませんでした。"},
    {ReadOutcome::kNotRegularFile,
     "通常のファイルではないため、読み込めません。"},
    {ReadOutcome::kReadError,
     "ファイルを読み込む途中でエラーが起きました。"},
    {ReadOutcome::kInterrupted,
     "ファイルの読み込みが中断されました。"},
    {ReadOutcome::kTooLarge,
     "展開すると 2 GiB 以上になるため、読み込めません。"},
    {ReadOutcome::kGzipCutShort,
     "圧縮されたファイルが途中で切れているため、読み込めません。"},
    {ReadOutcome::kGzipDamaged,
     "圧縮されたファイルが壊れているため、読み込めません。"},
    {ReadOutcome::kRecordNotEnded,
     "%1 行目から始まるレコードが「//」の行で終わっていないため、読み込めません。"},
    {ReadOutcome::kHeaderWithoutSequence,
     "%1 行目から始まるレコードに配列がないため、読み込めません。"},
    {ReadOutcome::kNulByte,
     "%1 行目に NUL 文字があるため、読み込めません。"},
    {ReadOutcome::kLineTooLong,
     "%1 行目の見出しが 64 KiB を超えているため、読み込めません。"},
    {ReadOutcome::kUnknownRecord, kFileChanged},
    {ReadOutcome::kRecordChoiceOnRawFile, kFileChanged},
    {ReadOutcome::kRangeOnRecordFile, kFileChanged},
    {ReadOutcome::kStretchPastEnd, kFileChanged},
}};
// clang-format on

}  // namespace

QString ReadFailureSentence(ReadOutcome outcome, std::int64_t line) {
    for (const auto& [listed, sentence] : kSentences) {
        if (listed != outcome) {
            continue;
        }
        const QString text = QString::fromUtf8(sentence);
        if (!text.contains(QLatin1String("%1"))) {
            return text;
        }
        return line > 0 ? text.arg(Grouped(line)) : QString::fromUtf8(kAnyOtherFailure);
    }
    return QString::fromUtf8(kAnyOtherFailure);
}

QString SkippedLettersSentence(std::int64_t count) {
    return QString::fromUtf8("A、C、G、T、U 以外の %1 文字（N やギャップなど）は演奏しません。")
        .arg(Grouped(count));
}

QString RecordPromptSentence(std::int64_t record_count) {
    return QString::fromUtf8("%1 件のレコードのうち、読み込むものを選んでください。")
        .arg(Grouped(record_count));
}

QString RecordNameHeading() {
    return QString::fromUtf8("名前");
}

QString RecordDescriptionHeading() {
    return QString::fromUtf8("説明");
}

QString RecordLengthHeading() {
    return QString::fromUtf8("長さ");
}

QString RecordLengthText(std::int64_t length) {
    return Grouped(length);
}

QString MoreRecordsSentence(std::int64_t more, std::int64_t listed) {
    return QString::fromUtf8("ほかに %1 件のレコードがあります（一覧は最初の %2 件まで）。")
        .arg(Grouped(more), Grouped(listed));
}

}  // namespace tavrola
