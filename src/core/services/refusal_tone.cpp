#include "core/services/refusal_tone.h"

#include <utility>

namespace tavrola {

namespace {

ToneHandler& InstalledHandler() {
    static ToneHandler handler;
    return handler;
}

}  // namespace

void SoundRefusalTone() {
    const ToneHandler handler = InstalledHandler();
    if (handler) {
        handler();
    }
}

ToneHandler SetToneHandler(ToneHandler handler) {
    return std::exchange(InstalledHandler(), std::move(handler));
}

}  // namespace tavrola
