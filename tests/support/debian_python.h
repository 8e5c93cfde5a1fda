#pragma once

namespace tavrola::testing {

// Debian's own Python, where python3-pyatspi and python3-mido live, whatever python3 comes
// first on PATH.
inline constexpr const char* kDebianPython = "/usr/bin/python3";

}  // namespace tavrola::testing
