#include "ui/window/help_viewer.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

#include <filesystem>
#include <fstream>
#include <map>
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

// The first bytes of every CHM file, by which the desktop recognises one.
const std::string kChmSignature("ITSF\x03\0\0\0\x60\0\0\0\x01\0\0\0", 16);

// Records the URLs the help command would open and answers the viewer question, for as long
// as it lives; the desktop is put back afterwards.
class RecordedHelp {
  public:
    explicit RecordedHelp(bool desktop_opens_chm) {
        previous_opener_ = SetUrlOpener([this](const QUrl& url) { opened.push_back(url); });
        previous_check_ =
            SetChmViewerCheck([this, desktop_opens_chm](const std::filesystem::path&) {
                ++viewer_questions;
                return desktop_opens_chm;
            });
    }
    ~RecordedHelp() {
        SetUrlOpener(previous_opener_);
        SetChmViewerCheck(previous_check_);
    }
    RecordedHelp(const RecordedHelp&) = delete;
    RecordedHelp& operator=(const RecordedHelp&) = delete;

    std::vector<QUrl> opened;
    int viewer_questions = 0;

  private:
    UrlOpener previous_opener_;
    ChmViewerCheck previous_check_;
};

QUrl FileUrl(const std::filesystem::path& file) {
    return QUrl::fromLocalFile(QString::fromStdString(file.string()));
}

TEST(OpenHelp, HandsTheDesktopTheChmWhenItCanOpenItAndTheHtmlIndexOtherwise) {
    struct Case {
        const char* name;
        bool with_chm;
        bool desktop_opens_chm;
        const char* opened;
        int viewer_questions;
        UiLanguage language = UiLanguage::kJapanese;
    };
    const Case cases[] = {
        {"CHM and a viewer", true, true, "TavrolaApp.chm", 1},
        {"CHM but no viewer", true, false, "help/index.html", 1},
        {"no CHM", false, true, "help/index.html", 0},
        {"English CHM", true, true, "TavrolaApp_en.chm", 1, UiLanguage::kEnglish},
        {"English, no viewer", true, false, "help/en/index.html", 1, UiLanguage::kEnglish},
    };
    for (const Case& c : cases) {
        const TempFolder working;
        if (c.with_chm) {
            working.Write("TavrolaApp.chm", kChmSignature);
            working.Write("TavrolaApp_en.chm", kChmSignature);
        }
        WriteText(working.path() / "help" / "index.html", "<html></html>");
        WriteText(working.path() / "help" / "en" / "index.html", "<html></html>");

        const RecordedHelp help(c.desktop_opens_chm);
        // The window's opener in English: it asks aside, so its answer is waited for.
        HelpOpener opener(c.language);
        if (c.language == UiLanguage::kEnglish) {
            opener.Open(working.path());
            QTRY_COMPARE(help.opened.size(), 1u);
        } else {
            OpenHelpFrom(working.path());
        }
        ASSERT_EQ(help.opened.size(), 1u) << c.name;
        EXPECT_EQ(help.opened[0], FileUrl(working.path() / c.opened)) << c.name;
        EXPECT_EQ(help.viewer_questions, c.viewer_questions) << c.name;
    }
}

TEST(OpenHelp, FallsBackToTheHtmlHelpOfTheInstallationOrTheBuild) {
    const TempFolder empty_working;
    const RecordedHelp help(false);
    OpenHelpFrom(empty_working.path());

    std::optional<std::filesystem::path> expected;
    for (const std::filesystem::path& folder : FallbackHtmlHelpFolders()) {
        if (std::filesystem::is_regular_file(folder / "index.html")) {
            expected = folder / "index.html";
            break;
        }
    }
    // The build stages its HTML help, so a built tree always has one to fall back to.
    ASSERT_TRUE(expected.has_value()) << "no staged HTML help to fall back to";
    ASSERT_EQ(help.opened.size(), 1u);
    EXPECT_EQ(help.opened[0], FileUrl(*expected));
}

// Runs the real desktop query inside a private set of XDG folders, so that only the
// applications a case puts there exist. Restores the environment afterwards.
class PrivateDesktop {
  public:
    PrivateDesktop() {
        const std::map<const char*, std::filesystem::path> folders = {
            {"XDG_CONFIG_HOME", root_.path() / "config"},
            {"XDG_CONFIG_DIRS", root_.path() / "config-system"},
            {"XDG_DATA_HOME", root_.path() / "data"},
            {"XDG_DATA_DIRS", root_.path() / "data-system"},
        };
        for (const auto& [name, folder] : folders) {
            std::filesystem::create_directories(folder);
            Set(name, folder.string());
        }
        // The generic desktop: the same answers whatever session runs the tests.
        Set("XDG_CURRENT_DESKTOP", "X-Generic");
        // The MIME database, without any application registered with it.
        std::error_code ignored;
        std::filesystem::create_directory_symlink("/usr/share/mime",
                                                  root_.path() / "data-system" / "mime", ignored);
    }
    ~PrivateDesktop() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                qputenv(name, *value);
            } else {
                qunsetenv(name);
            }
        }
    }
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;

    void InstallChmViewer() const {
        WriteText(root_.path() / "data" / "applications" / "tavrola-test-viewer.desktop",
                  "[Desktop Entry]\nType=Application\nName=Test viewer\nExec=true %f\n"
                  "MimeType=application/vnd.ms-htmlhelp;\n");
    }

  private:
    void Set(const char* name, const std::string& value) {
        if (!saved_.contains(name)) {
            saved_[name] = qEnvironmentVariableIsSet(name)
                               ? std::optional<QByteArray>(qgetenv(name))
                               : std::nullopt;
        }
        qputenv(name, QByteArray::fromStdString(value));
    }

    TempFolder root_;
    std::map<const char*, std::optional<QByteArray>> saved_;
};

TEST(DesktopOpensChm, AsksTheDesktopWhetherAnApplicationTakesChmFiles) {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty()) {
        GTEST_SKIP() << "xdg-mime (Debian xdg-utils) is not installed";
    }
    const TempFolder working;
    const std::filesystem::path chm = working.Write("TavrolaApp.chm", kChmSignature);

    const PrivateDesktop desktop;
    EXPECT_FALSE(DesktopOpensChm(chm)) << "no application at all";
    desktop.InstallChmViewer();
    EXPECT_TRUE(DesktopOpensChm(chm)) << "a CHM viewer is installed";
}

TEST(DesktopOpensChm, SaysNoWhereTheQueryToolIsMissing) {
    const QByteArray path = qgetenv("PATH");
    const TempFolder empty;
    qputenv("PATH", QByteArray::fromStdString(empty.path().string()));
    const bool answer = DesktopOpensChm(empty.path() / "TavrolaApp.chm");
    qputenv("PATH", path);
    EXPECT_FALSE(answer);
}

}  // namespace
}  // namespace tavrola
