#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "core/services/ui_language.h"

namespace tavrola {

// The help file, opened by bare name from the working directory; the English one beside it.
inline constexpr const char* kHelpFileName = "TavrolaApp.chm";
inline constexpr const char* kEnglishHelpFileName = "TavrolaApp_en.chm";
// The same help as HTML pages: this folder's index.html, first beside the CHM; the English pages
// in its subfolder en.
inline constexpr const char* kHtmlHelpFolderName = "help";
inline constexpr const char* kEnglishHtmlHelpFolderName = "en";
inline constexpr const char* kHtmlHelpIndexName = "index.html";

// Whether the desktop has something that opens the given CHM file.
using ChmViewerCheck = std::function<bool(const std::filesystem::path& chm_file)>;

// What the help command opens: "TavrolaApp.chm" of the working directory when that file exists
// and `chm_viewer_exists` says it can be opened; otherwise the first help/index.html found,
// beside the CHM, then in each of `more_html_help_folders` (folders holding index.html) in
// order. In English the same with "TavrolaApp_en.chm" and en/index.html of those folders, and
// where none of these exists the Japanese help: the designed help is better than none. Nothing
// when there is no help at all. The viewer check runs only for a CHM that exists. Paths come
// back absolute, since they are handed to other programs.
std::optional<std::filesystem::path> ChooseHelpDocument(
    const std::filesystem::path& working_directory, const ChmViewerCheck& chm_viewer_exists,
    const std::vector<std::filesystem::path>& more_html_help_folders,
    UiLanguage language = UiLanguage::kJapanese);

}  // namespace tavrola
