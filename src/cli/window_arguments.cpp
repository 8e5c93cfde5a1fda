#include "cli/window_arguments.h"

#include <cstddef>
#include <string_view>

#include "cli/cli_sentences.h"

namespace tavrola {
namespace {

// The options every Qt program takes, with a value where they have one; the window leaves them
// to Qt.
constexpr std::string_view kQtOptionsWithValue[] = {
    "-platform",     "-platformpluginpath", "-platformtheme", "-plugin",     "-qwindowgeometry",
    "-qwindowtitle", "-qwindowicon",        "-style",         "-stylesheet", "-session",
    "-display",      "-geometry",           "-title",         "-name"};
constexpr std::string_view kQtOptions[] = {"-reverse", "-widgetcount", "-nograb", "-dograb",
                                           "-sync"};

// A file manager hands over a whole selection; naming a few is enough to say what happened.
constexpr std::size_t kMostNamedUnopened = 3;

template <std::size_t N>
bool OneOf(std::string_view argument, const std::string_view (&options)[N]) {
    for (const std::string_view option : options) {
        if (argument == option) {
            return true;
        }
    }
    return false;
}

}  // namespace

WindowArguments ReadWindowArguments(std::span<const char* const> arguments) {
    WindowArguments read;
    if (!arguments.empty()) {
        read.qt_arguments.emplace_back(arguments.front());
    }
    bool options_ended = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (options_ended || !argument.starts_with('-')) {
            read.files.emplace_back(std::string(argument));
        } else if (argument == "--") {
            options_ended = true;
        } else if (OneOf(argument, kQtOptionsWithValue)) {
            read.qt_arguments.emplace_back(argument);
            if (i + 1 < arguments.size()) {
                read.qt_arguments.emplace_back(arguments[++i]);
            }
        } else if (OneOf(argument, kQtOptions)) {
            read.qt_arguments.emplace_back(argument);
        } else if (read.refusal.empty()) {
            read.refusal = "tavrola: " + EscapedBytes(argument) +
                           " needs --export OUT (see tavrola --help; a file whose name starts "
                           "with - goes after --)";
        }
    }
    return read;
}

std::string UnopenedFilesLine(const std::vector<std::filesystem::path>& files) {
    if (files.size() < 2) {
        return {};
    }
    std::string line =
        "tavrola: one file at a time: opening " + QuotedFileName(files.front()) + ", not ";
    const std::size_t unopened = files.size() - 1;
    for (std::size_t i = 1; i <= unopened && i <= kMostNamedUnopened; ++i) {
        line += (i > 1 ? ", " : "") + QuotedFileName(files[i]);
    }
    if (unopened > kMostNamedUnopened) {
        line += " and " + std::to_string(unopened - kMostNamedUnopened) + " more";
    }
    return line;
}

std::string QuotedFileName(const std::filesystem::path& file) {
    return '"' + EscapedBytes(file.native()) + '"';
}

}  // namespace tavrola
