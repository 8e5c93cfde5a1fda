#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/services/user_message.h"

namespace tavrola::testing {

// Records every failure text instead of showing a box, for as long as it lives.
class RecordedMessages {
  public:
    RecordedMessages()
        : previous_(
              SetMessageHandler([this](const std::string& text) { texts_.push_back(text); })) {}
    ~RecordedMessages() { SetMessageHandler(std::move(previous_)); }
    RecordedMessages(const RecordedMessages&) = delete;
    RecordedMessages& operator=(const RecordedMessages&) = delete;

    const std::vector<std::string>& texts() const { return texts_; }

  private:
    std::vector<std::string> texts_;
    MessageHandler previous_;
};

}  // namespace tavrola::testing
