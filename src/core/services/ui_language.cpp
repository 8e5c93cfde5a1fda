#include "core/services/ui_language.h"

#include <cstdlib>
#include <optional>
#include <string_view>

namespace tavrola {
namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The language part of a locale or language tag: what comes before the first territory,
// script, encoding or modifier ("en" of "en_GB.UTF-8", "ja" of "ja-JP"), in lower case.
std::string LanguagePart(std::string_view tag) {
    std::string language;
    for (const char c : tag) {
        if (!IsAsciiLetter(c)) {
            break;
        }
        language.push_back(Lower(c));
    }
    return language;
}

std::optional<UiLanguage> NamedLanguage(std::string_view tag) {
    const std::string language = LanguagePart(tag);
    if (language == "ja") {
        return UiLanguage::kJapanese;
    }
    if (language == "en") {
        return UiLanguage::kEnglish;
    }
    return std::nullopt;
}

// C, POSIX and their variants (C.UTF-8, C.utf8) all are the untranslated locale.
bool IsPosixLocale(std::string_view locale) {
    const std::string language = LanguagePart(locale);
    return language == "c" || language == "posix";
}

std::optional<UiLanguage> FirstNamedIn(std::string_view colon_separated) {
    while (!colon_separated.empty()) {
        const std::size_t colon = colon_separated.find(':');
        const std::optional<UiLanguage> named = NamedLanguage(colon_separated.substr(0, colon));
        if (named) {
            return named;
        }
        if (colon == std::string_view::npos) {
            break;
        }
        colon_separated.remove_prefix(colon + 1);
    }
    return std::nullopt;
}

}  // namespace

LocaleEnvironment LocaleEnvironmentOfThisProcess() {
    return {Variable("TAVROLA_LANGUAGE"), Variable("LANGUAGE"), Variable("LC_ALL"),
            Variable("LC_MESSAGES"), Variable("LANG")};
}

UiLanguage ChooseUiLanguage(const LocaleEnvironment& environment,
                            const std::vector<std::string>& ui_languages) {
    if (const std::optional<UiLanguage> chosen = NamedLanguage(environment.tavrola_language)) {
        return *chosen;
    }
    // The C library's order for the messages category; LANGUAGE only counts beyond C.
    std::string_view locale;
    for (const std::string* value :
         {&environment.lc_all, &environment.lc_messages, &environment.lang}) {
        if (!value->empty()) {
            locale = *value;
            break;
        }
    }
    if (locale.empty() || IsPosixLocale(locale)) {
        return UiLanguage::kJapanese;
    }
    if (const std::optional<UiLanguage> preferred = FirstNamedIn(environment.language)) {
        return *preferred;
    }
    for (const std::string& entry : ui_languages) {
        if (const std::optional<UiLanguage> named = NamedLanguage(entry)) {
            return *named;
        }
    }
    return UiLanguage::kEnglish;
}

}  // namespace tavrola
