#pragma once

#include <functional>
#include <string>

namespace tavrola {

// How the program tells the user of a failure: one modal box titled "Tavrola" with the text,
// an exclamation icon and only OK. The core calls ShowMessage; the window installs the box,
// tests install a recorder. Until something is installed the text goes to standard error.
using MessageHandler = std::function<void(const std::string& text)>;

void ShowMessage(const std::string& text);

// Returns the handler that was installed before.
MessageHandler SetMessageHandler(MessageHandler handler);

}  // namespace tavrola
