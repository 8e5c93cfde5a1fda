#pragma once

#include <cstddef>
#include <string>

namespace tavrola::testing {

// `count` bytes cycling through the four bases, so every position holds a known letter.
inline std::string Bases(std::size_t count, std::size_t from = 0) {
    static constexpr char kLetters[] = "ACGT";
    std::string text(count, ' ');
    for (std::size_t i = 0; i < count; ++i) {
        text[i] = kLetters[(from + i) % 4];
    }
    return text;
}

}  // namespace tavrola::testing
