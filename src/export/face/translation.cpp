#include "export/face/translation.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace tavrola {
namespace {

// Where qt_add_translations puts the compiled catalogue among the resources.
constexpr const char* kEnglishCatalogue = ":/i18n/tavrola_en.qm";

std::unique_ptr<QTranslator> LoadEnglish() {
    auto catalogue = std::make_unique<QTranslator>();
    if (!catalogue->load(QString::fromLatin1(kEnglishCatalogue))) {
        return nullptr;
    }
    return catalogue;
}

}  // namespace

UiLanguage UiLanguageOfThisProcess() {
    std::vector<std::string> desktop_languages;
    for (const QString& language : QLocale::system().uiLanguages()) {
        desktop_languages.push_back(language.toStdString());
    }
    return ChooseUiLanguage(LocaleEnvironmentOfThisProcess(), desktop_languages);
}

std::unique_ptr<QTranslator> InstallTranslation(UiLanguage language) {
    if (language != UiLanguage::kEnglish) {
        return nullptr;
    }
    std::unique_ptr<QTranslator> catalogue = LoadEnglish();
    if (catalogue && !QCoreApplication::installTranslator(catalogue.get())) {
        return nullptr;
    }
    return catalogue;
}

const QTranslator& EnglishCatalogue() {
    static const std::unique_ptr<QTranslator> catalogue = [] {
        std::unique_ptr<QTranslator> loaded = LoadEnglish();
        return loaded ? std::move(loaded) : std::make_unique<QTranslator>();
    }();
    return *catalogue;
}

}  // namespace tavrola
