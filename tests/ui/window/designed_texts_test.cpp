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

// The table the catalogue is kept from holds exactly the texts the core shows (a text changed in
// the core and not here would show untranslated), and each has its English.
TEST(DesignedTexts, AreTheCoresTextsEachWithItsEnglish) {
    std::set<std::string> core = {
        kStartLabel,           kStopLabel,           kFileSizeMessage,
        kFileOpenMessage,      kFileReadMessage,     kWrongRangeMessage,
        kRangeTooLargeMessage, kNoMidiDeviceMessage, kMidiUndefinedErrorMessage,
        kSilentEntryName};
    for (int program = 0; program < kProgramCount; ++program) {
        core.insert(ProgramName(program));
    }
    const std::set<std::string> table(DesignedTexts().begin(), DesignedTexts().end());
    EXPECT_EQ(table, core);
    EXPECT_EQ(DesignedTexts().size(), core.size()) << "each text once";
    std::set<QString> english;
    for (const char* text : DesignedTexts()) {
        english.insert(EnglishDesignedText(text));
        EXPECT_NE(EnglishDesignedText(text), QString::fromUtf8(text)) << text;
    }
    EXPECT_EQ(english.size(), core.size()) << "no two texts share their English";
    // The names as the General MIDI standard writes them; the designed defaults of both voices.
    EXPECT_EQ(EnglishDesignedText(ProgramName(0)), "Acoustic Grand Piano");
    EXPECT_EQ(EnglishDesignedText(ProgramName(91)), "Pad 4 (choir)");
    EXPECT_EQ(EnglishDesignedText(ProgramName(98)), "FX 3 (crystal)");
    EXPECT_EQ(EnglishDesignedText(kSilentEntryName), "None");
    EXPECT_EQ(ShownDesignedText(kStartLabel), QString::fromUtf8(kStartLabel))
        << "nothing installed: the designed text";
}

}  // namespace
}  // namespace tavrola
