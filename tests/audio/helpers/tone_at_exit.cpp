// Starts the refusal tone and ends the program while it still sounds: exit status 0 when the
// exit was clean, 3 when the tone could not start.
#include <atomic>
#include <chrono>
#include <thread>

#include "audio/tone_player.h"

namespace {
std::atomic<bool> g_no_output{false};
}  // namespace

int main() {
    tavrola::PlayRefusalTone([] { g_no_output = true; });
    // The tone's own thread connects; by now it sounds, and the exit cuts it short.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return g_no_output ? 3 : 0;
}
