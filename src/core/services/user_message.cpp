#include "core/services/user_message.h"

#include <cstdio>
#include <utility>

namespace tavrola {

namespace {

void WriteToStandardError(const std::string& text) {
    std::fprintf(stderr, "Tavrola: %s\n", text.c_str());
}

MessageHandler& InstalledHandler() {
    static MessageHandler handler = WriteToStandardError;
    return handler;
}

}  // namespace

void ShowMessage(const std::string& text) {
    // Copied first, so a handler that replaces itself while its box is open stays alive.
    const MessageHandler handler = InstalledHandler();
    if (handler) {
        handler(text);
    }
}

MessageHandler SetMessageHandler(MessageHandler handler) {
    return std::exchange(InstalledHandler(), handler ? std::move(handler) : WriteToStandardError);
}

}  // namespace tavrola
