#pragma once

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/services/help_location.h"
#include "core/services/ui_language.h"

class QUrl;

namespace tavrola {

// The help command from a working directory: opens its "TavrolaApp.chm" with the desktop's
// handler, without waiting for it. Where that file is missing or nothing on the desktop opens
// CHM files, opens the HTML help in the browser instead: help/index.html beside the CHM, else in
// the installed data folder, else in the build tree. Shows nothing of its own when there is no
// help at all or the desktop fails to open it. In English, "TavrolaApp_en.chm" and help/en the
// same way, then the Japanese help.
void OpenHelpFrom(const std::filesystem::path& working_directory,
                  UiLanguage language = UiLanguage::kJapanese);

// The help command of the window, which must never wait: the desktop is asked which help it can
// open on a worker thread (the query may stall for seconds), and the chosen document is handed
// to the desktop from the GUI thread. A question still open when the opener goes away is waited
// for and then opens nothing. It opens the help of the language it was made with.
class HelpOpener : public QObject {
  public:
    explicit HelpOpener(UiLanguage language = UiLanguage::kJapanese, QObject* parent = nullptr);
    ~HelpOpener() override;
    HelpOpener(const HelpOpener&) = delete;
    HelpOpener& operator=(const HelpOpener&) = delete;

    void Open(const std::filesystem::path& working_directory);

  private:
    const UiLanguage language_;
    QThreadPool pool_;
    std::atomic<bool> closing_ = false;
};

// Hands a URL to the desktop: QDesktopServices::openUrl unless replaced. Its success only means
// that an opener started, so it is not looked at. Tests install a recorder; nullptr puts the
// desktop back. Returns the opener installed before.
using UrlOpener = std::function<void(const QUrl& url)>;
UrlOpener SetUrlOpener(UrlOpener opener);

// Asks whether the desktop opens a CHM file: DesktopOpensChm unless replaced; nullptr puts it
// back. Returns the check installed before.
ChmViewerCheck SetChmViewerCheck(ChmViewerCheck check);

// Asks xdg-mime for the file's type and for the default application of that type, each with a
// short timeout: true when an application is named. False where xdg-mime is missing or stalls.
bool DesktopOpensChm(const std::filesystem::path& chm_file);

// Where the HTML help is looked for after the working directory: the installed data folder,
// then the build tree's stage folder (each holding help/index.html).
std::vector<std::filesystem::path> FallbackHtmlHelpFolders();

}  // namespace tavrola
