#include "audio/tone_player.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/headless_pulse.h"

namespace tavrola {
namespace {

// PulseAudio pointed at a socket nobody listens on: no audio output at all.
class NoSoundServer : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* previous = std::getenv("PULSE_SERVER")) {
            previous_ = previous;
        }
        ::setenv("PULSE_SERVER", "unix:/nonexistent/tavrola/native", 1);
    }
    void TearDown() override {
        if (previous_.empty()) {
            ::unsetenv("PULSE_SERVER");
        } else {
            ::setenv("PULSE_SERVER", previous_.c_str(), 1);
        }
    }

  private:
    std::string previous_;
};

TEST_F(NoSoundServer, TheToneReportsAtOnceThatItCannotSound) {
    TonePlayer player;
    EXPECT_FALSE(player.Play(ToneSpec{}));
    EXPECT_EQ(player.PlayingCount(), 0);
    EXPECT_FALSE(PlayRefusalTone()) << "the caller rings the bell instead";
}

// A tone that still sounds when the program ends must neither crash nor hold the exit up.
TEST(TonePlayerExit, ATonePlayingAtExitEndsCleanly) {
    if (!testing::HeadlessPulse::IsInstalled()) {
        GTEST_SKIP() << "SKIPPED LOUDLY: pulseaudio is not installed (tools/packages.txt lists it)";
    }
    testing::HeadlessPulse server;
    ASSERT_TRUE(server.running()) << server.Log();
    testing::MonitorRecording recording(server);  // also brings the fresh sink up to pace
    ASSERT_TRUE(recording.live()) << server.Log();

    // The process-wide player is destroyed by the exit with the tone still sounding.
    EXPECT_EQ(testing::RunProgram({TAVROLA_TONE_AT_EXIT}, server.environment(),
                                  server.folder() / "tone_at_exit.log"),
              0)
        << "exit status 3: the tone did not start; anything else: the exit went wrong";

    TonePlayer player;
    ASSERT_TRUE(player.Play(ToneSpec{.seconds = 30.0}));
    player.Stop();  // a thirty-second tone, cut short: Stop returns once it is silent
    EXPECT_EQ(player.PlayingCount(), 0);
    ASSERT_TRUE(player.Play(ToneSpec{.seconds = 30.0}));
    // ...and the player's end cuts it short too, when it goes out of scope here.
}

}  // namespace
}  // namespace tavrola
