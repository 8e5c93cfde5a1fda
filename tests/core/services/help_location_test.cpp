#include "core/services/help_location.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace tavrola {
namespace {

using testing::TempFolder;

void WriteText(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// A folder laid out as the program's working directory may be: CHM, help/index.html, both or
// neither.
struct HelpFolder {
    TempFolder folder;

    explicit HelpFolder(bool with_chm, bool with_html) {
        if (with_chm) {
            folder.Write(kHelpFileName, "ITSF");
        }
        if (with_html) {
            AddHtmlHelp(folder.path() / kHtmlHelpFolderName);
        }
    }

    static void AddHtmlHelp(const std::filesystem::path& help_folder) {
        std::filesystem::create_directories(help_folder);
        WriteText(help_folder / kHtmlHelpIndexName, "<html></html>");
    }

    std::filesystem::path Chm() const { return folder.path() / kHelpFileName; }
    std::filesystem::path HtmlIndex() const {
        return folder.path() / kHtmlHelpFolderName / kHtmlHelpIndexName;
    }
};

ChmViewerCheck Answering(bool answer, int* asked = nullptr) {
    return [answer, asked](const std::filesystem::path&) {
        if (asked != nullptr) {
            ++*asked;
        }
        return answer;
    };
}

TEST(ChooseHelpDocument, OpensTheChmOnlyWhenItExistsAndTheDesktopCanOpenIt) {
    struct Case {
        const char* name;
        bool with_chm;
        bool viewer;
        bool chm_expected;
    };
    const Case cases[] = {
        {"CHM and a viewer", true, true, true},
        {"CHM without a viewer", true, false, false},
        {"no CHM, although a viewer", false, true, false},
        {"no CHM and no viewer", false, false, false},
    };
    for (const Case& c : cases) {
        const HelpFolder help(c.with_chm, true);
        const std::optional<std::filesystem::path> chosen =
            ChooseHelpDocument(help.folder.path(), Answering(c.viewer), {});
        ASSERT_TRUE(chosen.has_value()) << c.name;
        EXPECT_EQ(*chosen, c.chm_expected ? help.Chm() : help.HtmlIndex()) << c.name;
    }
}

TEST(ChooseHelpDocument, InEnglishOpensTheEnglishChmThenTheEnglishPagesThenTheJapaneseHelp) {
    struct Case {
        const char* name;
        std::vector<const char*> files;
        bool viewer;
        const char* opened;
    };
    const Case cases[] = {
        {"English CHM", {"TavrolaApp.chm", "TavrolaApp_en.chm"}, true, "TavrolaApp_en.chm"},
        {"no viewer", {"TavrolaApp_en.chm", "help/en/index.html"}, false, "help/en/index.html"},
        {"pages first", {"TavrolaApp.chm", "help/en/index.html"}, true, "help/en/index.html"},
        {"no English help", {"TavrolaApp.chm", "help/index.html"}, false, "help/index.html"},
    };
    for (const Case& c : cases) {
        const TempFolder working;
        for (const char* file : c.files) {
            WriteText(working.path() / file, "ITSF");
        }
        EXPECT_EQ(ChooseHelpDocument(working.path(), Answering(c.viewer), {}, UiLanguage::kEnglish),
                  working.path() / c.opened)
            << c.name;
    }
}

TEST(ChooseHelpDocument, AsksForAViewerOnlyWhenThereIsACHMAndNamesIt) {
    const HelpFolder without_chm(false, true);
    int asked = 0;
    ChooseHelpDocument(without_chm.folder.path(), Answering(true, &asked), {});
    EXPECT_EQ(asked, 0) << "no CHM, so no desktop query";

    const HelpFolder with_chm(true, true);
    std::filesystem::path named;
    ChooseHelpDocument(with_chm.folder.path(),
                       [&named](const std::filesystem::path& chm) {
                           named = chm;
                           return true;
                       },
                       {});
    EXPECT_EQ(named, with_chm.Chm());
}

TEST(ChooseHelpDocument, AFolderNamedLikeTheChmIsNoHelpFile) {
    const HelpFolder help(false, true);
    std::filesystem::create_directory(help.Chm());
    EXPECT_EQ(ChooseHelpDocument(help.folder.path(), Answering(true), {}), help.HtmlIndex());
}

TEST(ChooseHelpDocument, LooksForTheHtmlHelpBesideTheChmThenInEachFurtherFolderInOrder) {
    const HelpFolder working(false, false);
    const TempFolder missing;
    const TempFolder installed;
    const TempFolder build_tree;
    HelpFolder::AddHtmlHelp(installed.path() / "help");
    HelpFolder::AddHtmlHelp(build_tree.path() / "help");
    const std::vector<std::filesystem::path> further = {
        missing.path() / "help", installed.path() / "help", build_tree.path() / "help"};

    EXPECT_EQ(ChooseHelpDocument(working.folder.path(), Answering(false), further),
              installed.path() / "help" / kHtmlHelpIndexName)
        << "the first further folder that holds index.html";

    HelpFolder::AddHtmlHelp(working.folder.path() / kHtmlHelpFolderName);
    EXPECT_EQ(ChooseHelpDocument(working.folder.path(), Answering(false), further),
              working.HtmlIndex())
        << "the help beside the CHM comes first";
}

TEST(ChooseHelpDocument, GivesNothingWhenThereIsNoHelpAtAll) {
    const HelpFolder nothing(false, false);
    EXPECT_EQ(ChooseHelpDocument(nothing.folder.path(), Answering(true), {}), std::nullopt);
    const HelpFolder only_a_chm_nobody_opens(true, false);
    EXPECT_EQ(ChooseHelpDocument(only_a_chm_nobody_opens.folder.path(), Answering(false),
                                 {std::filesystem::path(), nothing.folder.path() / "help"}),
              std::nullopt);
}

TEST(ChooseHelpDocument, GivesAnAbsolutePathForARelativeWorkingDirectory) {
    const HelpFolder help(true, true);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(help.folder.path());
    const std::optional<std::filesystem::path> chm = ChooseHelpDocument(".", Answering(true), {});
    const std::optional<std::filesystem::path> html = ChooseHelpDocument(".", Answering(false), {});
    std::filesystem::current_path(before);

    ASSERT_TRUE(chm && html);
    EXPECT_TRUE(chm->is_absolute());
    EXPECT_EQ(std::filesystem::canonical(*chm), std::filesystem::canonical(help.Chm()));
    EXPECT_TRUE(html->is_absolute());
    EXPECT_EQ(std::filesystem::canonical(*html), std::filesystem::canonical(help.HtmlIndex()));
}

}  // namespace
}  // namespace tavrola
