#include "core/music/program_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

namespace tavrola {
namespace {

TEST(ProgramName, NamesEveryGeneralMidiProgramOnce) {
    std::set<std::string> names;
    for (int program = 0; program < kProgramCount; ++program) {
        const std::string_view name = ProgramName(program);
        EXPECT_FALSE(name.empty()) << program;
        names.emplace(name);
    }
    EXPECT_EQ(names.size(), 128U) << "two programs share a name";
    EXPECT_STREQ(ProgramName(0), "ｸﾞﾗﾝﾄﾞ ﾋﾟｱﾉ");
    EXPECT_STREQ(ProgramName(91), "宇宙の声");
    EXPECT_STREQ(ProgramName(98), "水晶");
    EXPECT_STREQ(ProgramName(127), "銃声");
    EXPECT_STREQ(ProgramName(-1), "");
    EXPECT_STREQ(ProgramName(128), "");
}

TEST(ProgramName, KatakanaAreHalfWidth) {
    for (int program = 0; program < kProgramCount; ++program) {
        const std::string_view name = ProgramName(program);
        // Full-width katakana and the full-width long-vowel mark are U+30A0 to U+30FF.
        EXPECT_EQ(name.find("\xE3\x82"), std::string_view::npos) << program << ' ' << name;
        EXPECT_EQ(name.find("\xE3\x83"), std::string_view::npos) << program << ' ' << name;
    }
}

TEST(InstrumentEntry, TheLastEntryIsSilence) {
    EXPECT_EQ(InstrumentEntry(0), 0);
    EXPECT_EQ(InstrumentEntry(127), 127);
    EXPECT_EQ(InstrumentEntry(-1), kSilentEntry);
    EXPECT_EQ(InstrumentEntry(500), kSilentEntry) << "a value without an entry shows as silent";
    EXPECT_EQ(EntryInstrument(0), 0);
    EXPECT_EQ(EntryInstrument(127), 127);
    EXPECT_EQ(EntryInstrument(kSilentEntry), -1);
    EXPECT_EQ(EntryInstrument(-1), -1);
    EXPECT_STREQ(kSilentEntryName, "なし");
}

}  // namespace
}  // namespace tavrola
