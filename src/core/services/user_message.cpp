#include "core/services/user_message.h"

#include <cstdio>
#include <utility>

#include "core/services/installable_hook.h"

namespace tavrola {

namespace {

void WriteToStandardError(const std::string& text) {
    std::fprintf(stderr, "Tavrola: %s\n", text.c_str());
}

InstallableHook<MessageHandler>& Handler() {
    static InstallableHook<MessageHandler> handler(WriteToStandardError);
    return handler;
}

}  // namespace

void ShowMessage(const std::string& text) {
    Handler().Get()(text);
}

MessageHandler SetMessageHandler(MessageHandler handler) {
    return Handler().Install(std::move(handler));
}

}  // namespace tavrola
