#include "export/face/designed_texts.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <array>

#include "export/face/translation.h"

namespace tavrola {
namespace {

constexpr const char* kContext = "tavrola::DesignedText";

// Written out here because lupdate reads only literal texts; a test holds them to the core's.
// clang-format off
constexpr std::array kDesignedTexts = {
    // The Start button's labels, spaces and all: they centre the word on the bar.
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "　　開　始　　"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "　　停　止　　"),
    // The file layer's, the range check's and the MIDI unit's messages.
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "CGeneralFile:ファイルサイズを取得できませんでした。"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "CGeneralFile:ファイルをオープンできませんでした。"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "CGeneralFile:ファイルを読み込めませんでした。"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "指定範囲に誤りがあります。"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "指定範囲が大きすぎます。"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "MidiControler:使用できるMIDIデバイスがありません。"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "MidiControler:未定義のエラーが発生しました。"),
    // The instrument lists: the 128 General MIDI programmes, then the silent entry.
    // 0 to 7
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｸﾞﾗﾝﾄﾞ ﾋﾟｱﾉ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾌﾞﾗｲﾄ ﾋﾟｱﾉ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｴﾚｸﾄﾘｯｸ ｸﾞﾗﾝﾄﾞ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾎﾝｷｰﾄﾝｸ ﾋﾟｱﾉ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｴﾚｸﾄﾘｯｸ ﾋﾟｱﾉ 1"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｴﾚｸﾄﾘｯｸ ﾋﾟｱﾉ 2"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾊｰﾌﾟｼｺｰﾄﾞ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｸﾗﾋﾞ"),
    // 8 to 15
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｾﾚｽﾃ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｸﾞﾛｯｹﾝｼｭﾋﾟｰﾙ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｵﾙｺﾞｰﾙ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾋﾞﾌﾞﾗﾌｫﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾏﾘﾝﾊﾞ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "木琴"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾁｭｰﾌﾞﾗ ﾍﾞﾙ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｻﾝﾄｩｰﾙ"),
    // 16 to 23
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｵﾙｶﾞﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾊﾟｰｶｯｼﾌﾞ ｵﾙｶﾞﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾛｯｸ ｵﾙｶﾞﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾊﾟｲﾌﾟ ｵﾙｶﾞﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾘｰﾄﾞ ｵﾙｶﾞﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｱｺｰﾃﾞｨｵﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾊｰﾓﾆｶ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾊﾞﾝﾄﾞﾈｵﾝ"),
    // 24 to 31
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｶﾞｯﾄ ｷﾞﾀｰ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｽﾁｰﾙ ｷﾞﾀｰ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｼﾞｬｽﾞ ｷﾞﾀｰ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｸﾘｰﾝ ｷﾞﾀｰ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "消音ｷﾞﾀｰ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｵｰﾊﾞｰﾄﾞﾗｲﾌﾞ ｷﾞﾀｰ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾃﾞｨｽﾄｰｼｮﾝ ｷﾞﾀｰ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｷﾞﾀｰ ﾊｰﾓﾆｸｽ"),
    // 32 to 39
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｳｯﾄﾞﾍﾞｰｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾌｨﾝｶﾞｰ ｴﾚｷﾍﾞｰｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾋﾟｯｸ ｴﾚｷﾍﾞｰｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾌﾚｯﾄﾚｽ ﾍﾞｰｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｽﾗｯﾌﾟ ﾍﾞｰｽ 1"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｽﾗｯﾌﾟ ﾍﾞｰｽ 2"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｼﾝｾ ﾍﾞｰｽ 1"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｼﾝｾ ﾍﾞｰｽ 2"),
    // 40 to 47
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾊﾞｲｵﾘﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾋﾞｵﾗ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾁｪﾛ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｺﾝﾄﾗﾊﾞｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾄﾚﾓﾛ ｽﾄﾘﾝｸﾞｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾋﾟｯﾁｶｰﾄ ｽﾄﾘﾝｸﾞｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾊｰﾌﾟ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾃｨﾝﾊﾟﾆｰ"),
    // 48 to 55
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｱﾝｻﾝﾌﾞﾙ ｽﾄﾘﾝｸﾞｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｽﾛｰ ｽﾄﾘﾝｸﾞｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｼﾝｾ ｽﾄﾘﾝｸﾞｽ 1"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｼﾝｾ ｽﾄﾘﾝｸﾞｽ 2"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "歌声 ｱｰ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "歌声 ｳｰ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｼﾝｾ ﾎﾞｯｸｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｵｰｹｽﾄﾗ ﾋｯﾄ"),
    // 56 to 63
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾄﾗﾝﾍﾟｯﾄ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾄﾛﾝﾎﾞｰﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾁｭｰﾊﾞ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "消音ﾄﾗﾝﾍﾟｯﾄ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾌﾚﾝﾁ ﾎﾙﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾌﾞﾗｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｼﾝｾ ﾌﾞﾗｽ 1"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｼﾝｾ ﾌﾞﾗｽ 2"),
    // 64 to 71
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｿﾌﾟﾗﾉ ｻｯｸｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｱﾙﾄ ｻｯｸｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾃﾅｰ ｻｯｸｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾊﾞﾘﾄﾝ ｻｯｸｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｵｰﾎﾞｴ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｲﾝｸﾞﾘｯｼｭ ﾎﾙﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾊﾞｽｰﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｸﾗﾘﾈｯﾄ"),
    // 72 to 79
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾋﾟｯｺﾛ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾌﾙｰﾄ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾘｺｰﾀﾞｰ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾊﾟﾝ ﾌﾙｰﾄ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾎﾞﾄﾙ ﾌﾞﾛｳ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "尺八"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "口笛"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｵｶﾘﾅ"),
    // 80 to 87
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "矩形波"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "鋸波"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｼﾝｾ ｶﾘｵﾍﾟ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｻｲﾌｧ ﾘｰﾄﾞ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾁｬﾗﾝｸﾞ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｿﾛ ﾎﾞｯｸｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "5度の鋸波"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾍﾞｰｽとﾘｰﾄﾞ"),
    // 88 to 95
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾌｧﾝﾀｼﾞｱ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｳｫｰﾑ ﾊﾟｯﾄﾞ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾎﾟﾘ ｼﾝｾ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "宇宙の声"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾌﾞﾛｰﾄﾞ ｸﾞﾗｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾒﾀﾙ ﾊﾟｯﾄﾞ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾊﾛ ﾊﾟｯﾄﾞ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｽｨｰﾌﾟ ﾊﾟｯﾄﾞ"),
    // 96 to 103
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｱｲｽ ﾚｲﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｻｳﾝﾄﾞﾄﾗｯｸ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "水晶"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｱﾄﾓｽﾌｪｱｰ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾌﾞﾗｲﾄﾈｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｺﾞﾌﾞﾘﾝ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｴｺｰ ﾄﾞﾛｯﾌﾟｽ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "星のﾃｰﾏ"),
    // 104 to 111
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｼﾀｰﾙ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾊﾞﾝｼﾞｮｰ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "三味線"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "琴"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｶﾘﾝﾊﾞ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾊﾞｸﾞﾊﾟｲﾌﾟ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾌｨｰﾄﾞﾙ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｼｬﾅｲ"),
    // 112 to 119
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾃｨﾝｸﾙ ﾍﾞﾙ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｱｺﾞｺﾞ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｽﾁｰﾙ ﾄﾞﾗﾑ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｳｯﾄﾞ ﾌﾞﾛｯｸ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "太鼓"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾒﾛﾃﾞｨｯｸ ﾀﾑ ﾀﾑ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ｼﾝｾ ﾄﾞﾗﾑ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾘﾊﾞｰｽ ｼﾝﾊﾞﾙ"),
    // 120 to 127
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾌﾚｯﾄﾉｲｽﾞ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "息のﾉｲｽﾞ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "波の音"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "鳥の声"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "電話"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "ﾍﾘｺﾌﾟﾀｰ"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "拍手"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "銃声"),
    QT_TRANSLATE_NOOP("tavrola::DesignedText", "なし"),
};
// clang-format on

}  // namespace

QString ShownDesignedText(const char* text) {
    return QCoreApplication::translate(kContext, text);
}

QString EnglishDesignedText(const char* text) {
    const QString english = EnglishCatalogue().translate(kContext, text);
    return english.isEmpty() ? QString::fromUtf8(text) : english;
}

std::span<const char* const> DesignedTexts() {
    return kDesignedTexts;
}

}  // namespace tavrola
