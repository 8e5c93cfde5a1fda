#include "core/services/help_location.h"

#include <system_error>

namespace tavrola {
namespace {

bool IsRegularFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::filesystem::path Absolute(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal();
}

}  // namespace

std::optional<std::filesystem::path> ChooseHelpDocument(
    const std::filesystem::path& working_directory, const ChmViewerCheck& chm_viewer_exists,
    const std::vector<std::filesystem::path>& more_html_help_folders, UiLanguage language) {
    const bool english = language == UiLanguage::kEnglish;
    const std::filesystem::path chm =
        Absolute(working_directory / (english ? kEnglishHelpFileName : kHelpFileName));
    if (IsRegularFile(chm) && chm_viewer_exists && chm_viewer_exists(chm)) {
        return chm;
    }
    std::vector<std::filesystem::path> folders{working_directory / kHtmlHelpFolderName};
    folders.insert(folders.end(), more_html_help_folders.begin(), more_html_help_folders.end());
    for (const std::filesystem::path& folder : folders) {
        if (folder.empty()) {
            continue;
        }
        const std::filesystem::path index =
            Absolute(english ? folder / kEnglishHtmlHelpFolderName / kHtmlHelpIndexName
                             : folder / kHtmlHelpIndexName);
        if (IsRegularFile(index)) {
            return index;
        }
    }
    if (english) {
        return ChooseHelpDocument(working_directory, chm_viewer_exists, more_html_help_folders);
    }
    return std::nullopt;
}

}  // namespace tavrola
