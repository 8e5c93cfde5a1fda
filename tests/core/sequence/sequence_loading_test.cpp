#include "core/sequence/sequence_loading.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "core/sequence/base_sequence.h"
#include "core/sequence/sequence_file.h"
#include "support/base_letters.h"
#include "support/recorded_messages.h"
#include "support/temp_folder.h"

namespace tavrola {
namespace {

using Messages = std::vector<std::string>;

using testing::Bases;

// Answers the Target Area dialog and remembers what it was asked.
struct RangeAnswer {
    ReadRange answer = kDefaultReadRange;
    int asked = 0;
    ReadRange given{};
    std::int32_t size = 0;

    TargetAreaChooser Chooser() {
        return [this](ReadRange given_range, std::int32_t file_size) {
            ++asked;
            given = given_range;
            size = file_size;
            return answer;
        };
    }
};

TEST(TargetAreaRules, FieldRangesKeepEveryRangeInsideTheFile) {
    EXPECT_EQ(StartSpinRange(8193), (SpinRange{0, 8191}));
    EXPECT_EQ(EndSpinRange(8193), (SpinRange{1, 8192}));
    EXPECT_EQ(StartSpinRange(INT32_MAX), (SpinRange{0, INT32_MAX - 2}));
    EXPECT_EQ(EndSpinRange(INT32_MAX), (SpinRange{1, INT32_MAX - 1}));
}

TEST(TargetAreaRules, TheEndMustFollowTheStartAndTheRangeFitTheLimit) {
    struct Case {
        ReadRange range;
        TargetAreaVerdict verdict;
    };
    const Case cases[] = {
        {{100, 100}, TargetAreaVerdict::kWrongRange},
        {{101, 100}, TargetAreaVerdict::kWrongRange},
        {{0, 8192}, TargetAreaVerdict::kTooLarge},
        {{0, INT32_MAX}, TargetAreaVerdict::kTooLarge},
        {{0, 8191}, TargetAreaVerdict::kAccepted},
        {{100, 101}, TargetAreaVerdict::kAccepted},
        {{INT32_MAX - 8192, INT32_MAX - 1}, TargetAreaVerdict::kAccepted},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckTargetArea(c.range), c.verdict) << c.range.start << ".." << c.range.end;
    }
    EXPECT_EQ(TargetAreaMessage(TargetAreaVerdict::kWrongRange), "指定範囲に誤りがあります。");
    EXPECT_EQ(TargetAreaMessage(TargetAreaVerdict::kTooLarge), "指定範囲が大きすぎます。");
    EXPECT_EQ(TargetAreaMessage(TargetAreaVerdict::kAccepted), "");
}

TEST(DataFolder, LiesUnderTheWorkingDirectoryWithoutADoubledSeparator) {
    EXPECT_EQ(DataFolder("/").string(), "/data");
    EXPECT_EQ(DataFolder("/home/music").string(), "/home/music/data");
    EXPECT_EQ(DataFolder("/home/music/").string(), "/home/music/data");
}

TEST(DecodeFileText, KeepsExactlyTheLettersOfTheBytesUpToTheFirstZero) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"plain", "acgt 12\r\nGG", "acgt 12\r\nGG"},
        {"zero ends the text", std::string("AC\0GT", 5), "AC"},
        {"zero first", std::string("\0ACGT", 5), ""},
        {"valid UTF-8 stays", "配列 ACGT ｸﾞ", "配列 ACGT ｸﾞ"},
        {"Latin-1 taken byte for byte", "caf\xE9 a", "caf\xC3\xA9 a"},
        {"a byte-order mark stays one", "\xEF\xBB\xBF>caf\xE9\nAC", "\xEF\xBB\xBF>caf\xC3\xA9\nAC"},
        {"overlong form is not UTF-8", "\xC0\xC1g", "\xC3\x80\xC3\x81g"},
        {"surrogate is not UTF-8", "\xED\xA0\x80t", "\xC3\xAD\xC2\xA0\xC2\x80t"},
        {"cut character is not UTF-8", "a\xE3\x81", "a\xC3\xA3\xC2\x81"},
        {"beyond U+10FFFF is not UTF-8", "\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},
    };
    for (const Case& c : cases) {
        const std::string text = DecodeFileText(c.bytes);
        EXPECT_EQ(text, c.text) << c.name;
        const std::string kept = c.bytes.substr(0, c.bytes.find('\0'));
        EXPECT_EQ(ParseSequenceText(text), ParseSequenceText(kept)) << c.name;
    }
}

TEST(DecodeFileText, EveryByteValueKeepsTheBasesItHolds) {
    std::string bytes;
    for (int value = 1; value < 256; ++value) {
        bytes.push_back(static_cast<char>(value));
    }
    const std::string text = DecodeFileText(bytes);
    EXPECT_EQ(ParseSequenceText(text), (BaseSequence{1, 0, 2, 3, 1, 0, 2, 3}));
    EXPECT_EQ(text.size(), 127U + 2U * 128U) << "bytes above 127 become two-byte characters";
}

class SequenceFileLoad : public ::testing::Test {
  protected:
    testing::TempFolder folder_;
    testing::RecordedMessages messages_;
    RangeAnswer range_;
};

TEST_F(SequenceFileLoad, SmallFilesLoadWholeWithoutAskingForARange) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{8192}}) {
        const auto file = folder_.Write("small", Bases(size));
        EXPECT_EQ(ReadSequenceFile(file, range_.Chooser()), Bases(size)) << size << " bytes";
    }
    EXPECT_EQ(range_.asked, 0);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(SequenceFileLoad, LongerFilesAskForTheRangeStartingWithTheFirst8192Bytes) {
    const auto file = folder_.Write("long", Bases(8193));
    EXPECT_EQ(ReadSequenceFile(file, range_.Chooser()), Bases(8192));
    EXPECT_EQ(range_.asked, 1);
    EXPECT_EQ(range_.given, (ReadRange{0, 8191}));
    EXPECT_EQ(range_.size, 8193);

    range_.answer = {1, 8192};
    EXPECT_EQ(ReadSequenceFile(file, range_.Chooser()), Bases(8192, 1));
    range_.answer = {100, 199};
    EXPECT_EQ(ReadSequenceFile(file, range_.Chooser()), Bases(100, 100));
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(SequenceFileLoad, ARangeOutsideTheFileReadsNothingOutsideIt) {
    const auto file = folder_.Write("long", Bases(9000));
    range_.answer = {8990, INT32_MAX};
    EXPECT_EQ(ReadSequenceFile(file, range_.Chooser()), Bases(10, 8990));
    range_.answer = {-50, 20000};
    EXPECT_EQ(ReadSequenceFile(file, range_.Chooser()), Bases(8192));
    range_.answer = {500, 10};
    EXPECT_EQ(ReadSequenceFile(file, range_.Chooser()), "");
}

TEST_F(SequenceFileLoad, AZeroByteEndsTheText) {
    const auto file = folder_.Write("zero", std::string("GATT\0ACA", 8));
    EXPECT_EQ(ReadSequenceFile(file, range_.Chooser()), "GATT");
}

TEST_F(SequenceFileLoad, AMissingNameGivesBothMessagesAndAnEmptyText) {
    EXPECT_EQ(ReadSequenceFile(folder_.path() / "no such file", range_.Chooser()), "");
    EXPECT_EQ(messages_.texts(), (Messages{kFileSizeMessage, kFileOpenMessage}));
}

TEST_F(SequenceFileLoad, AFolderGivesOnlyTheOpenMessage) {
    EXPECT_EQ(ReadSequenceFile(folder_.path(), range_.Chooser()), "");
    EXPECT_EQ(messages_.texts(), Messages{kFileOpenMessage});
}

TEST_F(SequenceFileLoad, AFileThatShrinksAfterItsSizeWasTakenGivesWhatIsLeft) {
    const auto file = folder_.Write("shrinking", Bases(10000));
    range_.answer = {4000, 12191 - 4000};
    // The range is asked for between the size query and the read: shrink the file then.
    auto shrink = [&](ReadRange given, std::int32_t size) {
        EXPECT_EQ(::truncate(file.c_str(), 5000), 0);
        return range_.Chooser()(given, size);
    };
    EXPECT_EQ(ReadSequenceFile(file, shrink), Bases(1000, 4000));
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(SequenceFileLoad, ASparse3GiBFileGivesTheSizeMessageAndAnEmptyText) {
    const std::filesystem::path file = folder_.path() / "huge";
    const int descriptor = ::open(file.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::ftruncate(descriptor, std::int64_t{3} << 30), 0);
    ASSERT_EQ(::pwrite(descriptor, "ACGT", 4, 0), 4);
    ::close(descriptor);
    EXPECT_EQ(ReadSequenceFile(file, range_.Chooser()), "");
    EXPECT_EQ(range_.asked, 0);
    EXPECT_EQ(messages_.texts(), Messages{kFileSizeMessage});
}

TEST_F(SequenceFileLoad, ABinaryFileKeepsItsBasesAndShowsTheRestByteForByte) {
    std::string bytes;
    for (int round = 0; round < 3; ++round) {
        for (int value = 1; value < 256; ++value) {
            bytes.push_back(static_cast<char>(value));
        }
    }
    const auto file = folder_.Write("binary.bin", bytes);
    const std::string text = ReadSequenceFile(file, range_.Chooser());
    EXPECT_EQ(text, DecodeFileText(bytes));
    EXPECT_EQ(ParseSequenceText(text).size(), 24U);
}

TEST_F(SequenceFileLoad, NamesWithSpacesAndNonAsciiCharactersLoad) {
    for (const char* name : {"my sequence.txt", "配列 ﾃﾞｰﾀ.fasta", "ümlaut"}) {
        const auto file = folder_.Write(name, "acgt");
        EXPECT_EQ(ReadSequenceFile(file, range_.Chooser()), "acgt") << name;
    }
    EXPECT_TRUE(messages_.texts().empty());
}

}  // namespace
}  // namespace tavrola
