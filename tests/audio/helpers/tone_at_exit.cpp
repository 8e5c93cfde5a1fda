// Starts the refusal tone and ends the program while it still sounds: exit status 0 when the
// exit was clean, 3 when the tone could not start.
#include "audio/tone_player.h"

int main() {
    return tavrola::PlayRefusalTone() ? 0 : 3;
}
