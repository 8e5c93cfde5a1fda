#include "core/services/refusal_tone.h"

#include <utility>

#include "core/services/gui_thread_hook.h"

namespace tavrola {

namespace {

GuiThreadHook<ToneHandler>& Handler() {
    static GuiThreadHook<ToneHandler> handler;
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
