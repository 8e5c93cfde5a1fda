#pragma once

#include <QTranslator>
#include <memory>

#include "core/services/ui_language.h"

namespace tavrola {

// The language this process shows, by the program's rule (ChooseUiLanguage) over its environment
// and Qt's list of the desktop's languages. Decided once, at start-up.
UiLanguage UiLanguageOfThisProcess();

// Installs the program's own catalogue of the language into the application and hands it back:
// its texts are shown while it lives, and it removes itself when it goes. Japanese is the source
// of every text, so it installs nothing and gives nullptr; so does a catalogue that fails to
// load, which leaves the designed texts showing. Qt's own catalogues are never loaded: they
// would change the designed Japanese of Qt's buttons, and Debian's English one is empty.
std::unique_ptr<QTranslator> InstallTranslation(UiLanguage language);

// The English catalogue, loaded once and never installed: for what must be read in English
// whatever the window shows (the command line's instrument names).
const QTranslator& EnglishCatalogue();

}  // namespace tavrola
