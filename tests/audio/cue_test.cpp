// The game's sound cues against real OpenAL Soft: slots loaded from the data folder, the rotation over
// 24 channels, the sound levels (read back from OpenAL and heard through the wave writer), silenced and
// empty cues, and the tune operations switched off.
#include <gtest/gtest.h>

#include <sys/stat.h>  // mkdir

#include <memory>
#include <vector>

#include "framework/audio/audio.h"
#include "game/myapp.h"
#include "game/search.h"
#include "tests/audio/openal_fixture.h"

using namespace altest;

namespace {

// A host whose data folder is the test's temporary folder; it remembers every path it was asked to open.
class DataHost : public KpZindleGame {
public:
    explicit DataHost(std::string root) : root_(std::move(root)) {}
    String PathToFilePath(const String& path) override {
        asked.push_back(path.ToUtf8());
        const String prefix("zindle://data/");
        return path.StartsWith(prefix) ? String(root_.c_str()) + String("/") + path.Slice(prefix.Length()) : path;
    }
    std::vector<std::string> asked;

private:
    std::string root_;
};

float SourceGain(ALuint source) {
    float gain = -1;
    alGetSourcef(source, AL_GAIN, &gain);
    return gain;
}

class SoundCues : public OpenALTest {
protected:
    // Opens the device under the driver given, puts tones in sfx/001.wav and sfx/002.wav and loads them.
    void Start(double toneSeconds = 3.0) {
        mkdir((dir.Path() + "/sfx").c_str(), 0755);
        ToneFile("sfx/001.wav", toneSeconds);
        ToneFile("sfx/002.wav", toneSeconds, 0.25);
        device = std::make_unique<hwAudio>();
        kp_audio_SetAudioDevice(device.get());
        app = MakeRef<c_MyApp>();
        app->m_settings[5] = 1;
        app->p_InitSfxChannels();
        app->p_LoadSFX(1);
        app->p_LoadSFX(2);
        ASSERT_TRUE(app->m_sounds[1] && app->m_sounds[2]);
    }
    void TearDown() override {
        app = nullptr;
        device.reset();
        kp_audio_SetAudioDevice(nullptr);
        OpenALTest::TearDown();
    }

    DataHost data{dir.Path()};
    std::unique_ptr<hwAudio> device;
    StrongRef<c_MyApp> app;
};

}  // namespace

TEST_F(SoundCues, SlotsLoadFromTheSfxFolderByCueNumber) {
    QUORLIX_CONFIGURE_OPENAL("null");
    Start();
    EXPECT_EQ(app->p_SfxFile(7).ToUtf8(), "sfx/007.wav");
    EXPECT_EQ(app->p_SfxFile(42).ToUtf8(), "sfx/042.wav");
    EXPECT_EQ(app->p_SfxFile(123).ToUtf8(), "sfx/123.wav");
    EXPECT_EQ(data.asked.front(), "zindle://data/sfx/001.wav");

    // A missing file leaves the slot empty, silently; reloading a slot first empties it.
    testing::internal::CaptureStdout();
    app->p_LoadSFX(42);
    EXPECT_FALSE(app->m_sounds[42]);
    std::remove((dir.Path() + "/sfx/001.wav").c_str());
    app->p_LoadSFX(1);
    EXPECT_FALSE(app->m_sounds[1]);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(data.asked.back(), "zindle://data/sfx/001.wav");

    // Cue numbers that name no slot read nothing and change nothing.
    const size_t asked = data.asked.size();
    app->p_LoadSFX(123);
    app->p_LoadSFX(-1);
    EXPECT_EQ(data.asked.size(), asked);
    EXPECT_TRUE(app->m_sounds[2]);
}

TEST_F(SoundCues, CuesRotateOverTwentyFourChannelsStartingAtOne) {
    QUORLIX_CONFIGURE_OPENAL("null");
    Start();
    c_Sound* first = app->m_sounds[1].Get();
    c_Sound* second = app->m_sounds[2].Get();
    app->p_PlaySFX(1, 1, 1, 0);
    EXPECT_EQ(device->channels[1].sample.Get(), first->sample.Get());
    EXPECT_EQ(device->ChannelState(1), 1);
    for (int cue = 2; cue <= 23; ++cue) app->p_PlaySFX(1, 1, 1, 0);
    EXPECT_EQ(device->ChannelState(0), 0);
    app->p_PlaySFX(1, 1, 1, 0);  // the 24th
    EXPECT_EQ(device->ChannelState(0), 1);
    for (int channel = 0; channel < 24; ++channel) EXPECT_EQ(device->ChannelState(channel), 1) << channel;
    for (int channel = 24; channel <= 32; ++channel) EXPECT_EQ(device->ChannelState(channel), 0) << channel;
    // The 25th cuts off whatever the first left sounding on channel 1.
    app->p_PlaySFX(2, 1, 1, 0);
    EXPECT_EQ(device->channels[1].sample.Get(), second->sample.Get());
    ALint bound = 0;
    alGetSourcei(device->channels[1].source, AL_BUFFER, &bound);
    EXPECT_EQ(bound, static_cast<ALint>(second->sample->buffer));
    EXPECT_EQ(app->m_sfxChannelIndex, 1);
}

TEST_F(SoundCues, LevelsScaleTheVolumeAndSilencedOrEmptyCuesChangeNothing) {
    QUORLIX_CONFIGURE_OPENAL("null");
    Start();
    struct Case { int level; float volume, gain; };
    int channel = 0;
    for (const Case c : {Case{0, 1.0f, 1.0f}, Case{1, 1.0f, 0.75f}, Case{2, 0.5f, 0.2f}, Case{9, 0.5f, 0.5f}}) {
        app->m_settings[6] = c.level;
        app->p_PlaySFX(1, 1.3f, c.volume, 0.5f);
        ++channel;
        EXPECT_FLOAT_EQ(SourceGain(device->channels[channel].source), c.gain) << "level " << c.level;
    }
    float pitch = 0, position[3] = {0, 0, 0};
    alGetSourcef(device->channels[channel].source, AL_PITCH, &pitch);
    alGetSourcefv(device->channels[channel].source, AL_POSITION, position);
    EXPECT_FLOAT_EQ(pitch, 1.3f);
    EXPECT_NEAR(position[0], std::sin(0.5f), 1e-6);
    EXPECT_NEAR(position[2], -std::cos(0.5f), 1e-6);

    // Level 3, the sound switch off or music only, an empty slot, a cue beyond the slots: nothing plays and
    // the rotation stands still.
    const int index = app->m_sfxChannelIndex;
    app->m_settings[6] = 3;
    app->p_PlaySFX(1, 1, 1, 0);
    app->m_settings[6] = 0;
    for (int mode : {0, 3}) {
        app->m_settings[5] = mode;
        app->p_PlaySFX(1, 1, 1, 0);
    }
    app->m_settings[5] = 2;
    app->p_PlaySFX(50, 1, 1, 0);
    app->p_PlaySFX(100, 1, 1, 0);
    app->p_PlaySFX(-1, 1, 1, 0);
    EXPECT_EQ(app->m_sfxChannelIndex, index);
    EXPECT_EQ(device->ChannelState(index + 1), 0);
    // Sound effects only (mode 2) still plays cues.
    app->p_PlaySFX(2, 1, 1, 0);
    EXPECT_EQ(device->ChannelState(index + 1), 1);
}

TEST_F(SoundCues, ACueIsHeardAtTheVolumeItsLevelGives) {
    QUORLIX_CONFIGURE_OPENAL("wave");
    Start(0.2);
    const struct { int level; float volume, heard; } plays[] = {{0, 1.0f, 1.0f}, {2, 0.5f, 0.2f}, {1, 1.0f, 0.75f}};
    for (const auto& play : plays) {
        app->m_settings[6] = play.level;
        app->p_PlaySFX(1, 1, play.volume, 0);
        Sleep(0.5);
    }
    device.reset();
    const Recording heard = ReadRecording(WavePath());
    ASSERT_TRUE(heard.complete);
    const auto onsets = heard.Onsets(0.02f, 0.2);
    ASSERT_EQ(onsets.size(), 3u);
    const float full = heard.Peak(onsets[0], onsets[0] + 0.25);
    EXPECT_GT(full, 0.2f);
    for (int i = 1; i < 3; ++i) {
        EXPECT_NEAR(heard.Peak(onsets[i], onsets[i] + 0.25) / full, plays[i].heard, 0.03) << "cue " << i;
    }
}

TEST_F(SoundCues, TuneOperationsDoNothingWhileMusicStreamsAreOff) {
    QUORLIX_CONFIGURE_OPENAL("null");
    Start();
    mkdir((dir.Path() + "/music").c_str(), 0755);
    ToneFile("music/fish.ogg", 0.5);  // present, so only the switch keeps it silent
    kp_Search_HasMusicStream = 0;
    const size_t asked = data.asked.size();
    app->p_PlayTune(String("fish"), 1);
    EXPECT_EQ(device->MusicState(), 0);
    EXPECT_EQ(app->m_musicOn, 0);
    EXPECT_TRUE(app->m_currentTune.Empty());
    EXPECT_EQ(data.asked.size(), asked);
    app->p_StopTune();
    EXPECT_EQ(app->m_musicOn, 0);
}
