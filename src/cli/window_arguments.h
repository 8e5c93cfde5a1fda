#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tavrola {

// What the arguments ask of the window, once they do not ask for the command line.
struct WindowArguments {
    // The program's name and Qt's own options with their values, for QApplication; the files
    // never reach Qt, so a name after -- that Qt would take for its option stays a name.
    std::vector<std::string> qt_arguments;
    // The files named, in order, byte for byte as given: the first is loaded.
    std::vector<std::filesystem::path> files;
    // A usage error's one line, or empty.
    std::string refusal;
};

// Reads the whole argument vector, the program's name first. Qt's options may stand anywhere
// before --; every other argument that starts with - belongs to the command line and is refused
// without --export (- itself included); after -- every argument is a file.
WindowArguments ReadWindowArguments(std::span<const char* const> arguments);

// The line that tells which of `files` are not opened (all but the first); empty for one file
// or none.
std::string UnopenedFilesLine(const std::vector<std::filesystem::path>& files);

// A file name for a message: quoted, with every byte that is not part of valid UTF-8 (and every
// control byte) written as \xNN, so the name shown is the name given.
std::string QuotedFileName(const std::filesystem::path& file);

}  // namespace tavrola
