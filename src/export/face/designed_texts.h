#pragma once

#include <QString>
#include <span>

namespace tavrola {

// The texts the core keeps in the designed Japanese: the Start button's two labels, the file,
// range and MIDI messages, the 128 instrument names and なし. The front ends show them through
// these, so the core never learns of languages.

// As the installed catalogue shows it: English under an English catalogue, else the text itself.
QString ShownDesignedText(const char* text);

// Its English, whatever is installed; the text itself where the catalogue lacks it.
QString EnglishDesignedText(const char* text);

// Every designed text, each once: the one list the catalogue's English is kept for.
std::span<const char* const> DesignedTexts();

}  // namespace tavrola
