// The audio device in the game's life: the delegate creates it at start, pauses it after the application's
// suspend hook and resumes it before the resume hook, and what was played is complete on disk when the game
// ends the way it always does, through exit(0).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/app/app.h"
#include "framework/audio/audio.h"
#include "tests/audio/openal_fixture.h"
#include "tests/support/fake_glfw.h"

using namespace altest;

namespace {

// An application that notes each hook and whether channel 3 was audible when it ran.
class HookApp : public c_App {
public:
    int p_OnCreate() override { return Note("create"); }
    int p_OnSuspend() override { return Note("suspend"); }
    int p_OnResume() override { return Note("resume"); }
    std::vector<std::string> notes;

private:
    int Note(const std::string& hook) {
        const bool audible = kp_audio_device && SourceState(kp_audio_device->channels[3].source) == AL_PLAYING;
        notes.push_back(hook + (audible ? " (audible)" : ""));
        return 0;
    }
};

class GameAudio : public OpenALTest {
protected:
    // Registers the application and starts the game on a scripted window.
    HookApp* StartGame() {
        kp_app_Init(&host);
        auto* app = new HookApp();
        app->m_new();
        host.StartGame();
        return app;
    }
    ScopedFakeGlfw glfw;
};

}  // namespace

TEST_F(GameAudio, TheDelegateOwnsTheDeviceAndPausesItWithTheGame) {
    QUORLIX_CONFIGURE_OPENAL("null");
    testing::internal::CaptureStdout();
    HookApp* app = StartGame();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "opening openal device\n");
    ASSERT_NE(kp_audio_device, nullptr);
    EXPECT_EQ(kp_app__delegate->m_audio, kp_audio_device);
    EXPECT_EQ(hwAudio::audio, kp_audio_device);

    auto tone = kp_audio_device->LoadSample(String(ToneFile("tone.wav", 3.0).c_str()));
    ASSERT_EQ(kp_audio_device->PlaySample(tone.Get(), 3, 0), 0);
    host.SuspendGame();
    EXPECT_EQ(SourceState(kp_audio_device->channels[3].source), AL_PAUSED);
    host.ResumeGame();
    EXPECT_EQ(SourceState(kp_audio_device->channels[3].source), AL_PLAYING);
    // The application saves and pauses while the sound still plays, and finds it playing again on resume.
    EXPECT_EQ(app->notes, (std::vector<std::string>{"create", "suspend (audible)", "resume (audible)"}));
}

TEST_F(GameAudio, WhatThePlayerHeardIsCompleteWhenTheGameQuits) {
    QUORLIX_CONFIGURE_OPENAL("wave");
    testing::FLAGS_gtest_death_test_style = "fast";
    EXPECT_EXIT(
        {
            StartGame();
            auto tone = kp_audio_device->LoadSample(String(ToneFile("tone.wav", 0.2).c_str()));
            kp_audio_device->PlaySample(tone.Get(), 3, 0);
            Sleep(0.4);
            kp_app_EndApp();
        },
        testing::ExitedWithCode(0), "");
    const Recording heard = ReadRecording(WavePath());
    EXPECT_TRUE(heard.complete);
    EXPECT_EQ(heard.Onsets(0.05f).size(), 1u);
    EXPECT_GT(heard.Peak(0, 10), 0.2f);
}
