#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/sequence/base_sequence.h"
#include "core/sequence/sequence_reader.h"
#include "support/temp_folder.h"

namespace tavrola {
namespace {

const std::filesystem::path kDataFolder = TAVROLA_DATA_DIR;

TEST(SampleData, TheSequenceLineSamplesParseAsTheDesignParsesThem) {
    int samples = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kDataFolder)) {
        if (entry.path().extension() == ".txt") {
            const std::string text = testing::ReadWholeFile(entry.path());
            EXPECT_EQ(ParseSequenceText(text), ParseBaseLetters(text)) << entry.path();
            ++samples;
        }
    }
    EXPECT_EQ(samples, 10) << "five records and five teaching sequences";
}

TEST(SampleData, TheGenBankRecordPlaysTheBasesOfItsSequenceLines) {
    SinglePassRequest request;
    request.record = "J01636";
    const SequenceReading record = ReadSequenceInOnePass(kDataFolder / "J01636.gb", request);
    ASSERT_EQ(record.outcome, ReadOutcome::kOk);
    EXPECT_EQ(record.record.name, "J01636.1");
    EXPECT_EQ(record.skipped_letters, 0);
    EXPECT_EQ(
        ParseSequenceText(record.text),
        ParseSequenceText(testing::ReadWholeFile(kDataFolder / "J01636_ecoli_lac_operon.txt")));
}

TEST(SampleData, TheAlignedRnaRecordsCountGapsAsPositionsAndPlayUAsT) {
    const SequenceLook look = LookAtSequenceFile(kDataFolder / "ecoli6s.fasta");
    ASSERT_EQ(look.outcome, ReadOutcome::kOk);
    EXPECT_EQ(look.RecordCount(), 7);
    const SequenceReading first = ReadRecordStretch(kDataFolder / "ecoli6s.fasta", 0, {0, 202});
    EXPECT_EQ(first.record.name, "X01238.1/1-183");
    EXPECT_EQ(first.skipped_letters, 20) << "the gaps of the alignment";
    EXPECT_EQ(ParseSequenceText(first.text).size(), 183U);
}

}  // namespace
}  // namespace tavrola
