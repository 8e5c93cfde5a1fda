#include "ui/window/help_viewer.h"

#include <optional>
#include <utility>

#include <QDesktopServices>
#include <QMetaObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "core/services/installable_hook.h"
#include "ui/dialogs/file_chooser.h"

namespace tavrola {
namespace {

// xdg-mime answers in a few tens of milliseconds; this only bounds a stalled desktop query, which
// would otherwise freeze the window.
constexpr int kQueryTimeoutMs = 2000;
constexpr const char* kChmMimeType = "application/vnd.ms-htmlhelp";

void OpenOnTheDesktop(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

InstallableHook<UrlOpener>& Opener() {
    static InstallableHook<UrlOpener> opener(OpenOnTheDesktop);
    return opener;
}

InstallableHook<ChmViewerCheck>& Check() {
    static InstallableHook<ChmViewerCheck> check(DesktopOpensChm);
    return check;
}

// The first line a short query program prints, when it ends in time and succeeds.
std::optional<QString> AskBriefly(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(kQueryTimeoutMs)) {
        return std::nullopt;
    }
    if (!process.waitForFinished(kQueryTimeoutMs)) {
        process.kill();
        process.waitForFinished(kQueryTimeoutMs);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return std::nullopt;
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
}

}  // namespace

bool DesktopOpensChm(const std::filesystem::path& chm_file) {
    // xdg-open goes by the type the desktop finds in the file, so ask for exactly that type.
    QString type =
        AskBriefly(QStringLiteral("xdg-mime"),
                   {QStringLiteral("query"), QStringLiteral("filetype"), FromFilePath(chm_file)})
            .value_or(QString());
    if (!type.contains(u'/')) {
        type = QString::fromLatin1(kChmMimeType);
    }
    const std::optional<QString> application = AskBriefly(
        QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
    return application && !application->isEmpty();
}

std::vector<std::filesystem::path> FallbackHtmlHelpFolders() {
    return {
        std::filesystem::path(TAVROLA_INSTALLED_DATA_FOLDER) / kHtmlHelpFolderName,
        std::filesystem::path(TAVROLA_STAGE_FOLDER) / kHtmlHelpFolderName,
    };
}

UrlOpener SetUrlOpener(UrlOpener opener) {
    return Opener().Install(std::move(opener));
}

ChmViewerCheck SetChmViewerCheck(ChmViewerCheck check) {
    return Check().Install(std::move(check));
}

namespace {

void OpenDocument(const std::filesystem::path& document) {
    Opener().Get()(QUrl::fromLocalFile(FromFilePath(document)));
}

}  // namespace

void OpenHelpFrom(const std::filesystem::path& working_directory, UiLanguage language) {
    const std::optional<std::filesystem::path> document =
        ChooseHelpDocument(working_directory, Check().Get(), FallbackHtmlHelpFolders(), language);
    if (document) {
        OpenDocument(*document);
    }
}

HelpOpener::HelpOpener(UiLanguage language, QObject* parent)
    : QObject(parent), language_(language) {
    // One question at a time, in the order asked.
    pool_.setMaxThreadCount(1);
}

HelpOpener::~HelpOpener() {
    closing_ = true;
    pool_.clear();
    pool_.waitForDone();
}

void HelpOpener::Open(const std::filesystem::path& working_directory) {
    // Read on the GUI thread: the check and the folders are what the command was given.
    pool_.start(
        [this, working_directory, check = Check().Get(), folders = FallbackHtmlHelpFolders()] {
            const std::optional<std::filesystem::path> document =
                ChooseHelpDocument(working_directory, check, folders, language_);
            if (!document || closing_) {
                return;
            }
            // Anything still queued when the opener goes away goes with it.
            QMetaObject::invokeMethod(
                this, [path = *document] { OpenDocument(path); }, Qt::QueuedConnection);
        });
}

}  // namespace tavrola
