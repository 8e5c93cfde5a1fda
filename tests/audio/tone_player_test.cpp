#include "audio/tone_player.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <thread>

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

// Nobody listening, or a stalled server that takes the connection and never answers (which held
// the tone back 30 s): either way the caller hears at once that the tone cannot sound.
TEST_F(NoSoundServer, TheToneSaysPromptlyFromItsOwnThreadThatItCannotSound) {
    const auto expect_told = [](const char* where) {
        TonePlayer player;
        std::promise<std::thread::id> told;
        player.Play(ToneSpec{}, [&told] { told.set_value(std::this_thread::get_id()); });
        std::future<std::thread::id> teller = told.get_future();
        ASSERT_EQ(teller.wait_for(std::chrono::seconds(5)), std::future_status::ready)
            << where << ": the caller is told, so it can ring the bell instead";
        EXPECT_NE(teller.get(), std::this_thread::get_id()) << where << ": the caller waited";
        player.Stop();
        EXPECT_EQ(player.PlayingCount(), 0) << where;
    };
    expect_told("no server");
    if (testing::HeadlessPulse::IsInstalled()) {
        testing::HeadlessPulse server;  // the process's sound goes to it while it lives
        ASSERT_TRUE(server.running()) << server.Log();
        server.Freeze();
        expect_told("a stalled server");
    }
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
    const auto no_output = [] { ADD_FAILURE() << "the server is here"; };
    player.Play(ToneSpec{.seconds = 30.0}, no_output);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    player.Stop();  // a thirty-second tone, cut short: Stop returns once it is silent
    EXPECT_EQ(player.PlayingCount(), 0);
    player.Play(ToneSpec{.seconds = 30.0}, no_output);
    // ...and the player's end cuts it short too, when it goes out of scope here.
}

}  // namespace
}  // namespace tavrola
