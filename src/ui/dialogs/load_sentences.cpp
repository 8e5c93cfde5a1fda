#include "ui/dialogs/load_sentences.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <array>
#include <limits>
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
    QT_TRANSLATE_NOOP("tavrola::LoadSentences",
                      "読み込むあいだにファイルが書き換えられたため、読み込めませんでした。");
constexpr const char* kAnyOtherFailure =
    QT_TRANSLATE_NOOP("tavrola::LoadSentences", "ファイルを読み込めませんでした。");

// One sentence per way a load can fail; %1 is the damaged line. The reader gives a line with
// every kind of damage it finds in records.
// clang-format off
constexpr std::array<std::pair<ReadOutcome, const char*>, 15> kSentences = {{
    {ReadOutcome::kCannotOpen, QT_TRANSLATE_NOOP("tavrola::LoadSentences",
     "ファイルを開けませんでした。")},
    {ReadOutcome::kNotRegularFile, QT_TRANSLATE_NOOP("tavrola::LoadSentences",
     "通常のファイルではないため、読み込めません。")},
    {ReadOutcome::kReadError, QT_TRANSLATE_NOOP("tavrola::LoadSentences",
     "ファイルを読み込む途中でエラーが起きました。")},
    {ReadOutcome::kInterrupted, QT_TRANSLATE_NOOP("tavrola::LoadSentences",
     "ファイルの読み込みが中断されました。")},
    {ReadOutcome::kTooLarge, QT_TRANSLATE_NOOP("tavrola::LoadSentences",
     "展開すると 2 GiB 以上になるため、読み込めません。")},
    {ReadOutcome::kGzipCutShort, QT_TRANSLATE_NOOP("tavrola::LoadSentences",
     "圧縮されたファイルが途中で切れているため、読み込めません。")},
    {ReadOutcome::kGzipDamaged, QT_TRANSLATE_NOOP("tavrola::LoadSentences",
     "圧縮されたファイルが壊れているため、読み込めません。")},
    {ReadOutcome::kRecordNotEnded, QT_TRANSLATE_NOOP("tavrola::LoadSentences",
     "%1 行目から始まるレコードが「//」の行で終わっていないため、読み込めません。")},
    {ReadOutcome::kHeaderWithoutSequence, QT_TRANSLATE_NOOP("tavrola::LoadSentences",
     "%1 行目から始まるレコードに配列がないため、読み込めません。")},
    {ReadOutcome::kNulByte, QT_TRANSLATE_NOOP("tavrola::LoadSentences",
     "%1 行目に NUL 文字があるため、読み込めません。")},
    {ReadOutcome::kLineTooLong, QT_TRANSLATE_NOOP("tavrola::LoadSentences",
     "%1 行目の見出しが 64 KiB を超えているため、読み込めません。")},
    {ReadOutcome::kUnknownRecord, kFileChanged},
    {ReadOutcome::kRecordChoiceOnRawFile, kFileChanged},
    {ReadOutcome::kRangeOnRecordFile, kFileChanged},
    {ReadOutcome::kStretchPastEnd, kFileChanged},
}};
// clang-format on

QString Shown(const char* text) {
    return QCoreApplication::translate("tavrola::LoadSentences", text);
}

// The count that chooses a sentence's plural form; the sentence writes the number itself, with
// its thousands separators, as Japanese writes it.
int CountForPlural(std::int64_t count) {
    return static_cast<int>(std::min<std::int64_t>(count, std::numeric_limits<int>::max()));
}

}  // namespace

QString ReadFailureSentence(ReadOutcome outcome, std::int64_t line) {
    for (const auto& [listed, sentence] : kSentences) {
        if (listed != outcome) {
            continue;
        }
        const QString text = Shown(sentence);
        if (!text.contains(QLatin1String("%1"))) {
            return text;
        }
        return line > 0 ? text.arg(Grouped(line)) : Shown(kAnyOtherFailure);
    }
    return Shown(kAnyOtherFailure);
}

QString SkippedLettersSentence(std::int64_t count) {
    return QCoreApplication::translate(
               "tavrola::LoadSentences",
               "A、C、G、T、U 以外の %1 文字（N やギャップなど）は演奏しません。", nullptr,
               CountForPlural(count))
        .arg(Grouped(count));
}

QString RecordPromptSentence(std::int64_t record_count) {
    return QCoreApplication::translate("tavrola::LoadSentences",
                                       "%1 件のレコードのうち、読み込むものを選んでください。",
                                       nullptr, CountForPlural(record_count))
        .arg(Grouped(record_count));
}

QString RecordNameHeading() {
    return QCoreApplication::translate("tavrola::LoadSentences", "名前");
}

QString RecordDescriptionHeading() {
    return QCoreApplication::translate("tavrola::LoadSentences", "説明");
}

QString RecordLengthHeading() {
    return QCoreApplication::translate("tavrola::LoadSentences", "長さ");
}

QString RecordLengthText(std::int64_t length) {
    return Grouped(length);
}

QString MoreRecordsSentence(std::int64_t more, std::int64_t listed) {
    return QCoreApplication::translate(
               "tavrola::LoadSentences",
               "ほかに %1 件のレコードがあります（一覧は最初の %2 件まで）。", nullptr,
               CountForPlural(more))
        .arg(Grouped(more), Grouped(listed));
}

}  // namespace tavrola
