#include "core/services/ui_language.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tavrola {
namespace {

constexpr UiLanguage ja = UiLanguage::kJapanese;
constexpr UiLanguage en = UiLanguage::kEnglish;

TEST(ChooseUiLanguage, FollowsTheOverrideThenTheLocaleThenTheFirstJapaneseOrEnglishPreference) {
    struct Case {
        LocaleEnvironment environment;  // TAVROLA_LANGUAGE, LANGUAGE, LC_ALL, LC_MESSAGES, LANG
        const char* ui_languages;       // Qt's list, comma-separated; Qt reports C as English
        UiLanguage expected;
    };
    const Case cases[] = {
        {{"", "", "", "", ""}, "en-US", ja},
        {{"", "", "", "", "C.UTF-8"}, "en-US", ja},
        {{"", "", "POSIX", "", ""}, "en-US", ja},
        {{"", "en", "", "", "C"}, "en", ja},  // LANGUAGE is not read under C
        {{"", "", "C", "", "en_US.UTF-8"}, "en-US", ja},
        {{"", "", "", "C", "en_GB.UTF-8"}, "en-GB", ja},
        {{"", "", "", "", "en_US.UTF-8"}, "en-US,en", en},
        {{"", "", "", "", "ja_JP.UTF-8"}, "ja-JP,ja", ja},
        {{"", "", "", "", "de_DE.UTF-8"}, "de-DE,de", en},
        {{"", "", "", "", "ca_ES.UTF-8"}, "ca-ES", en},  // "ca" is no C locale
        {{"", "", "", "", "de_DE.UTF-8"}, "de-DE,JA_jp", ja},
        {{"", "ja:en", "", "", "en_US.UTF-8"}, "ja,en-US", ja},
        {{"", "::fr:en", "", "", "ja_JP.UTF-8"}, "fr,en", en},
        {{"en", "", "", "", "C"}, "en-US", en},
        {{"JA_jp.UTF-8", "", "", "", "en_US.UTF-8"}, "en-US", ja},
        {{"de", "", "", "", "ja_JP.UTF-8"}, "ja-JP", ja},  // another language is ignored
        {{"english", "", "", "", "C"}, "en-US", ja},
    };
    for (const Case& c : cases) {
        std::vector<std::string> ui_languages;
        std::istringstream list(c.ui_languages);
        for (std::string entry; std::getline(list, entry, ',');) {
            ui_languages.push_back(entry);
        }
        const LocaleEnvironment& e = c.environment;
        EXPECT_EQ(ChooseUiLanguage(e, ui_languages), c.expected)
            << "TAVROLA_LANGUAGE=" << e.tavrola_language << " LANGUAGE=" << e.language
            << " LC_ALL=" << e.lc_all << " LC_MESSAGES=" << e.lc_messages << " LANG=" << e.lang
            << " uiLanguages=" << c.ui_languages;
    }
}

}  // namespace
}  // namespace tavrola
