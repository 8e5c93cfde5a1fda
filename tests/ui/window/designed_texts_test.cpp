#include "export/face/designed_texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/music/midi_controler.h"
#include "core/music/program_names.h"
#include "core/playback/playback_clock.h"
#include "core/sequence/sequence_file.h"
#include "core/sequence/sequence_loading.h"

namespace tavrola {
namespace {

// The table the catalogue is kept from holds exactly the texts the core shows (one changed in
// the core alone would show untranslated), each with English of its own: for the instruments,
// the names the General MIDI standard gives them.
TEST(DesignedTexts, AreTheCoresTextsEachWithItsOwnEnglish) {
    std::set<std::string> core = {
        kStartLabel,           kStopLabel,           kFileSizeMessage,
        kFileOpenMessage,      kFileReadMessage,     kWrongRangeMessage,
        kRangeTooLargeMessage, kNoMidiDeviceMessage, kMidiUndefinedErrorMessage,
        kSilentEntryName};
    for (int program = 0; program < kProgramCount; ++program) {
        core.insert(ProgramName(program));
    }
    EXPECT_EQ(std::set<std::string>(DesignedTexts().begin(), DesignedTexts().end()), core);
    std::set<QString> english;
    for (const char* text : DesignedTexts()) {
        english.insert(EnglishDesignedText(text));
    }
    EXPECT_EQ(english.size(), DesignedTexts().size()) << "each once, with English of its own";
    EXPECT_EQ(EnglishDesignedText(ProgramName(0)), "Acoustic Grand Piano");
    EXPECT_EQ(EnglishDesignedText(ProgramName(98)), "FX 3 (crystal)");
    EXPECT_EQ(EnglishDesignedText(kSilentEntryName), "None");
}

}  // namespace
}  // namespace tavrola
