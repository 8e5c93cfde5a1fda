#include "cli/window_arguments.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/command_line.h"

namespace tavrola {
namespace {

// Without --export, --help or --version before any --, the arguments are the window's: Qt's
// options go to Qt, the rest are files taken byte for byte, and any other option is refused in
// one line.
TEST(WindowArguments, SplitQtOptionsFromFilesAndRefuseTheCommandLinesOptions) {
    struct Case {
        const char* name;
        std::vector<const char*> arguments;  // after the program's name
        std::vector<std::string> qt;         // likewise
        std::vector<std::string> files;
        const char* refused = "";  // in the refusal
    };
    // clang-format off
    const Case cases[] = {
        {"none", {}, {}, {}},
        {"a file", {"gene.fa"}, {}, {"gene.fa"}},
        {"Qt's options around files", {"-platform", "offscreen", "a.fa", "-reverse", "b b.fa"},
         {"-platform", "offscreen", "-reverse"}, {"a.fa", "b b.fa"}},
        {"a name that is not UTF-8", {"lat\xe9.fa"}, {}, {"lat\xe9.fa"}},
        {"names after --, Qt's options among them", {"--", "-x.fa", "-style", "--", "-"}, {},
         {"-x.fa", "-style", "--", "-"}},
        {"--help after --", {"--", "--help", "--export"}, {}, {"--help", "--export"}},
        {"--record", {"--record", "J01636", "gene.fa"}, {}, {}, "tavrola: --record needs --export OUT"},
        {"--range", {"gene.fa", "--range=0:10"}, {}, {}, "--range=0:10 needs --export OUT"},
        {"--region", {"--region", "1-100", "gene.fa"}, {}, {}, "--region needs"},
        {"standard input", {"-"}, {}, {}, "- needs --export OUT"},
        {"a name that starts with -", {"-in.fa"}, {}, {}, "goes after --"},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::vector<const char*> argv = {"tavrola"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        EXPECT_FALSE(AsksForCommandLine(static_cast<int>(argv.size()), argv.data())) << c.name;
        const WindowArguments read = ReadWindowArguments(argv);
        std::vector<std::string> qt = {"tavrola"};
        qt.insert(qt.end(), c.qt.begin(), c.qt.end());
        EXPECT_EQ(read.qt_arguments, qt) << c.name;
        std::vector<std::string> files;
        for (const std::filesystem::path& file : read.files) {
            files.push_back(file.native());
        }
        if (*c.refused == '\0') {
            EXPECT_EQ(files, c.files) << c.name;
            EXPECT_EQ(read.refusal, "") << c.name;
        } else {
            EXPECT_NE(read.refusal.find(c.refused), std::string::npos)
                << c.name << ": " << read.refusal;
        }
    }
}

TEST(WindowArguments, TheFilesNotOpenedAreNamedInOneLineWithTheirBytesShown) {
    EXPECT_EQ(UnopenedFilesLine({"a.fa"}), "");
    EXPECT_EQ(UnopenedFilesLine({"a b.fa", "lat\xe9.fa"}),
              R"(tavrola: one file at a time: opening "a b.fa", not "lat\xE9.fa")");
    EXPECT_EQ(
        UnopenedFilesLine({"1", "2", "名前.fa", "4\n", "5", "6"}),
        R"(tavrola: one file at a time: opening "1", not "2", "名前.fa", "4\x0A" and 2 more)");
}

}  // namespace
}  // namespace tavrola
