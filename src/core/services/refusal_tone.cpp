#include "core/services/refusal_tone.h"

#include <utility>

#include "core/services/installable_hook.h"

namespace tavrola {

namespace {

InstallableHook<ToneHandler>& Handler() {
    static InstallableHook<ToneHandler> handler;
    return handler;
}

}  // namespace

void SoundRefusalTone() {
    if (const ToneHandler handler = Handler().Get()) {
        handler();
    }
}

ToneHandler SetToneHandler(ToneHandler handler) {
    return Handler().Install(std::move(handler));
}

}  // namespace tavrola
