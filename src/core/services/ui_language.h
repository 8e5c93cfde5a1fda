#pragma once

#include <string>
#include <vector>

namespace tavrola {

// The languages the window, its dialogs and its help speak. Japanese is the source of every text
// and the default.
enum class UiLanguage { kJapanese, kEnglish };

// The environment variables that choose a program's language, as the process sees them. An
// empty value counts as unset, as the C library counts it.
struct LocaleEnvironment {
    std::string tavrola_language = {};  // TAVROLA_LANGUAGE: "ja" or "en" overrides everything
    std::string language = {};          // LANGUAGE: a colon-separated list of preferences
    std::string lc_all = {};            // LC_ALL
    std::string lc_messages = {};       // LC_MESSAGES
    std::string lang = {};              // LANG
};

// The five variables of this process.
LocaleEnvironment LocaleEnvironmentOfThisProcess();

// The language to show:
// - TAVROLA_LANGUAGE decides when its language is ja or en (any case, a territory or encoding
//   after it allowed: "en_GB.UTF-8"); any other value is ignored without a word, since the
//   window has nowhere to say it.
// - Under the C or POSIX locale, or none at all (the first of LC_ALL, LC_MESSAGES and LANG that
//   is set, as the C library picks it), Japanese: scripts, tests and CI see exactly the
//   designed program. Qt reports such a locale as English, so it is decided from the variables.
// - Otherwise the first entry of LANGUAGE, then of `ui_languages` (Qt's
//   QLocale::system().uiLanguages(), BCP 47 or POSIX names), that is Japanese or English;
//   English where none is either.
UiLanguage ChooseUiLanguage(const LocaleEnvironment& environment,
                            const std::vector<std::string>& ui_languages);

}  // namespace tavrola
