#include "core/sequence/base_sequence.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace tavrola {
namespace {

struct ParseCase {
    std::string_view name;
    std::string text;
    BaseSequence expected;
};

class ParseSequenceTextTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseSequenceTextTest, KeepsOnlyTheEightBaseLettersInTextOrder) {
    const ParseCase& c = GetParam();
    EXPECT_EQ(ParseSequenceText(c.text), c.expected) << "text: " << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseSequenceTextTest,
    ::testing::Values(
        ParseCase{"UpperCase", "ACGT", {1, 0, 2, 3}},
        ParseCase{"MixedCaseGivesTheSameCodes", "aCgT", {1, 0, 2, 3}},
        ParseCase{"EmptyText", "", {}}, ParseCase{"NoBaseLetters", "xyz 123\r\n!?", {}},
        ParseCase{"UracilAndAmbiguityLettersDropped", "AUuNnRYKMSWBDHVT", {1, 3}},
        ParseCase{"DigitsBlanksAndLineBreaksDropped",
                  "        1 acgtacgtac gtacgtacgt\r\n       21 ttgg\n",
                  {1, 0, 2, 3, 1, 0, 2, 3, 1, 0, 2, 3, 1, 0, 2, 3, 1, 0, 2, 3, 3, 3, 2, 2}},
        ParseCase{"LettersInsideWordsCount", "sequence", {0}},
        ParseCase{"HeaderLineAfterOtherTextCounts", "ac\n>Homo sapiens", {1, 0, 1}},
        // FASTA text: the first character after a byte-order mark and blanks is '>'.
        ParseCase{"FastaHeaderNeverPlays", ">NC_045512.2 Severe acute\nAcGt", {1, 0, 2, 3}},
        ParseCase{
            "FastaUracilPlaysAsThymineOtherLettersDropped", ">rna\nAUuN.-gc", {1, 3, 3, 2, 0}},
        ParseCase{"FastaAfterByteOrderMarkBlanksAndAnyLineBreak",
                  "\xEF\xBB\xBF \r\n\t>x cat\r\n  >y act\nGG\r>z tag\rTT",
                  {2, 2, 3, 3}},
        ParseCase{"BytesAboveAsciiNeverCount",
                  std::string("\xC3\x81\xE3\x81\x82\x80\xFF"
                              "a",
                              8),
                  {1}},
        ParseCase{"ZeroBytesAreJustDropped", std::string("a\0c", 3), {1, 0}}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(ParseBaseLetters, ReadsFastaTextAsTheDesignDidHeadersAndAll) {
    EXPECT_EQ(ParseBaseLetters(">a U\nc"), (BaseSequence{1, 0}));
}

TEST(ParseSequenceText, LongTextKeepsEveryBase) {
    std::string text;
    for (int i = 0; i < 100000; ++i) {
        text += "gattaca 12\n";
    }
    const BaseSequence bases = ParseSequenceText(text);
    ASSERT_EQ(bases.size(), 700000U);
    EXPECT_EQ(bases[0], kGuanine);
    EXPECT_EQ(bases[699999], kAdenine);
}

TEST(ParseSequenceText, EveryParseReplacesTheSequence) {
    std::optional<BaseSequence> sequence;
    EXPECT_EQ(SequenceLength(sequence), 0) << "no sequence yet has length 0";

    ParseSequenceText("ggg", sequence);
    ASSERT_TRUE(sequence.has_value());
    EXPECT_EQ(*sequence, (BaseSequence{2, 2, 2}));

    ParseSequenceText("", sequence);
    ASSERT_TRUE(sequence.has_value()) << "an empty text gives an empty but present sequence";
    EXPECT_TRUE(sequence->empty());
    EXPECT_EQ(SequenceLength(sequence), 0);
}

TEST(ComplementBase, PairsCytosineWithGuanineAndAdenineWithThymine) {
    EXPECT_EQ(ComplementBase(kCytosine), kGuanine);
    EXPECT_EQ(ComplementBase(kAdenine), kThymine);
    EXPECT_EQ(ComplementBase(kGuanine), kCytosine);
    EXPECT_EQ(ComplementBase(kThymine), kAdenine);
}

TEST(BaseLetter, IsTheLowercaseLabelOfEachCode) {
    EXPECT_STREQ(BaseLetter(kCytosine), "c");
    EXPECT_STREQ(BaseLetter(kAdenine), "a");
    EXPECT_STREQ(BaseLetter(kGuanine), "g");
    EXPECT_STREQ(BaseLetter(kThymine), "t");
}

}  // namespace
}  // namespace tavrola
