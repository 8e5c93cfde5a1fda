#pragma once

#include <functional>

namespace tavrola {

// The tone that refuses an input without words: 1000 Hz for one second, without freezing the
// window. The program installs the real player at start-up; tests install a counter. Until
// something is installed nothing sounds.
using ToneHandler = std::function<void()>;

void SoundRefusalTone();

// Returns the handler that was installed before.
ToneHandler SetToneHandler(ToneHandler handler);

}  // namespace tavrola
