// The audio device against real OpenAL Soft: channel states, suspend and resume, sources lent under
// shortage, music, the discard list, a missing device, and a complete wave file at process exit.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "framework/audio/audio.h"
#include "tests/audio/openal_fixture.h"

using namespace altest;

namespace {

ALint BoundBuffer(ALuint source) {
    ALint buffer = -1;
    alGetSourcei(source, AL_BUFFER, &buffer);
    return buffer;
}

class AudioDevice : public OpenALTest {};

}  // namespace

TEST_F(AudioDevice, ChannelsFollowPlayPauseResumeStopAndTheEndOfASound) {
    QUORLIX_CONFIGURE_OPENAL("null");
    auto device = std::make_unique<hwAudio>();
    auto shortTone = device->LoadSample(String(ToneFile("short.wav", 0.1).c_str()));
    auto longTone = device->LoadSample(String(ToneFile("long.wav", 3.0).c_str()));
    ASSERT_TRUE(shortTone && longTone);

    ASSERT_EQ(device->PlaySample(longTone.Get(), 5, 0), 0);
    EXPECT_EQ(device->ChannelState(5), 1);
    device->PauseChannel(5);
    EXPECT_EQ(device->ChannelState(5), 2);
    EXPECT_EQ(SourceState(device->channels[5].source), AL_PAUSED);
    device->ResumeChannel(5);
    EXPECT_EQ(device->ChannelState(5), 1);
    EXPECT_EQ(SourceState(device->channels[5].source), AL_PLAYING);
    // Playing on a busy channel restarts it with the new sample.
    ASSERT_EQ(device->PlaySample(shortTone.Get(), 5, 0), 0);
    EXPECT_EQ(BoundBuffer(device->channels[5].source), static_cast<ALint>(shortTone->buffer));
    device->StopChannel(5);
    EXPECT_EQ(device->ChannelState(5), 0);
    EXPECT_EQ(SourceState(device->channels[5].source), AL_STOPPED);

    // A one-shot sound that ended reads stopped, and pausing it (even unasked) leaves it stopped.
    device->PlaySample(shortTone.Get(), 6, 0);
    device->PlaySample(shortTone.Get(), 7, 0);
    Sleep(0.4);
    device->PauseChannel(6);
    EXPECT_EQ(device->ChannelState(6), 0);
    EXPECT_EQ(device->ChannelState(7), 0);
    device->ResumeChannel(7);
    EXPECT_EQ(device->ChannelState(7), 0);
    // A looping sound does not end.
    device->PlaySample(shortTone.Get(), 8, 1);
    Sleep(0.4);
    EXPECT_EQ(device->ChannelState(8), 1);
}

TEST_F(AudioDevice, SuspendAndResumeRestartExactlyWhatWasAudible) {
    QUORLIX_CONFIGURE_OPENAL("wave");
    auto device = std::make_unique<hwAudio>();
    auto shortTone = device->LoadSample(String(ToneFile("short.wav", 0.05).c_str()));
    auto longTone = device->LoadSample(String(ToneFile("long.wav", 3.0).c_str()));
    ASSERT_EQ(device->PlayMusic(String(ToneFile("music.wav", 3.0).c_str()), 1), 0);
    device->PlaySample(longTone.Get(), 1, 0);
    device->PlaySample(longTone.Get(), 2, 0);
    device->PauseChannel(2);
    device->PlaySample(shortTone.Get(), 3, 0);
    const auto started = std::chrono::steady_clock::now();
    Sleep(0.3);
    // The short tone has ended, unnoticed by the device (asked of OpenAL directly: a busy machine mixes late).
    for (int i = 0; i < 500 && SourceState(device->channels[3].source) != AL_STOPPED; ++i) Sleep(0.01);
    const double played = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    device->Suspend();
    EXPECT_EQ(SourceState(device->channels[1].source), AL_PAUSED);
    EXPECT_EQ(SourceState(device->channels[32].source), AL_PAUSED);
    EXPECT_EQ(SourceState(device->channels[3].source), AL_STOPPED);
    const auto suspended = std::chrono::steady_clock::now();
    Sleep(0.5);
    device->Resume();
    const double silent = std::chrono::duration<double>(std::chrono::steady_clock::now() - suspended).count();
    EXPECT_EQ(SourceState(device->channels[1].source), AL_PLAYING);
    EXPECT_EQ(SourceState(device->channels[32].source), AL_PLAYING);
    EXPECT_EQ(SourceState(device->channels[2].source), AL_PAUSED);  // paused by the game: stays paused
    EXPECT_EQ(SourceState(device->channels[3].source), AL_STOPPED); // ended meanwhile: not restarted
    EXPECT_EQ(device->ChannelState(1), 1);
    EXPECT_EQ(device->ChannelState(2), 2);
    EXPECT_EQ(device->ChannelState(3), 0);
    Sleep(0.3);
    device.reset();  // closing completes the recording

    // Heard: sound, then a silence of about the suspension, then sound again.
    const Recording heard = ReadRecording(WavePath());
    ASSERT_TRUE(heard.complete);
    const auto onsets = heard.Onsets(0.05f, 0.3);
    ASSERT_EQ(onsets.size(), 2u);
    EXPECT_NEAR(onsets[1] - onsets[0], played + silent, 0.15);
}

TEST_F(AudioDevice, FinishedChannelsLendTheirSourcesButTheMusicChannelNever) {
    QUORLIX_CONFIGURE_OPENAL("null", "sources=4");
    auto device = std::make_unique<hwAudio>();
    auto shortTone = device->LoadSample(String(ToneFile("short.wav", 0.15).c_str()));
    auto longTone = device->LoadSample(String(ToneFile("long.wav", 3.0).c_str()));
    const ALuint music = device->channels[32].source;
    ASSERT_NE(music, 0u);  // made at start

    ASSERT_EQ(device->PlaySample(shortTone.Get(), 0, 0), 0);
    ASSERT_EQ(device->PlaySample(longTone.Get(), 1, 0), 0);
    ASSERT_EQ(device->PlaySample(longTone.Get(), 2, 0), 0);
    const ALuint first = device->channels[0].source;
    // Four sources in use (the music channel's is idle but never lent): nothing for channel 3.
    EXPECT_EQ(device->PlaySample(longTone.Get(), 3, 0), -1);
    EXPECT_EQ(device->channels[3].source, 0u);
    EXPECT_EQ(device->ChannelState(3), 0);

    Sleep(0.4);  // channel 0's sound has ended: its source goes to channel 3
    ASSERT_EQ(device->PlaySample(longTone.Get(), 3, 0), 0);
    EXPECT_EQ(device->channels[3].source, first);
    EXPECT_EQ(device->channels[0].source, 0u);
    EXPECT_EQ(device->channels[32].source, music);
    EXPECT_EQ(SourceState(first), AL_PLAYING);
    // Channel 0 now has to borrow in turn, and every other channel is busy.
    EXPECT_EQ(device->PlaySample(shortTone.Get(), 0, 0), -1);
    // Music keeps its source even when every effect channel wants one.
    device->StopChannel(1);
    ASSERT_EQ(device->PlaySample(shortTone.Get(), 0, 0), 0);
    EXPECT_EQ(device->PlayMusic(String(ToneFile("music.wav", 1.0).c_str()), 1), 0);
    EXPECT_EQ(device->channels[32].source, music);
    EXPECT_EQ(device->MusicState(), 1);
}

TEST_F(AudioDevice, ADiscardedBufferIsDeletedOnlyOnceNoSourceHoldsIt) {
    QUORLIX_CONFIGURE_OPENAL("null");
    auto device = std::make_unique<hwAudio>();
    hwSample::discarded.clear();
    const String shortPath(ToneFile("short.wav", 0.15).c_str());

    // Discarded while it plays: the buffer waits in the list.
    auto a = device->LoadSample(shortPath);
    const ALuint bufferA = a->buffer;
    device->PlaySample(a.Get(), 4, 0);
    a->Discard();
    EXPECT_EQ(a->buffer, 0u);
    auto b = device->LoadSample(shortPath);  // flushes
    EXPECT_EQ(hwSample::discarded, std::vector<ALuint>{bufferA});
    EXPECT_TRUE(alIsBuffer(bufferA));
    // Once the sound has stopped, the next play deletes it.
    Sleep(0.4);
    device->PlaySample(b.Get(), 6, 0);
    EXPECT_TRUE(hwSample::discarded.empty());
    EXPECT_FALSE(alIsBuffer(bufferA));

    // A sample the game lets go of lives while it can be heard, and its buffer goes once it is over.
    auto c = device->LoadSample(shortPath);
    const ALuint bufferC = c->buffer;
    device->PlaySample(c.Get(), 7, 0);
    c = nullptr;
    gc_collect();
    EXPECT_TRUE(hwSample::discarded.empty());
    EXPECT_EQ(device->channels[7].sample->buffer, bufferC);
    Sleep(0.4);
    device->PlaySample(b.Get(), 8, 0);  // notices that channel 7 went quiet and lets its sample go
    gc_collect();
    EXPECT_EQ(hwSample::discarded, std::vector<ALuint>{bufferC});
    device->PlaySample(b.Get(), 9, 0);
    EXPECT_TRUE(hwSample::discarded.empty());
    EXPECT_FALSE(alIsBuffer(bufferC));
}

TEST_F(AudioDevice, AMissingDeviceIsReportedAndTheGameRunsOnSilently) {
    // The wave writer cannot create its file: no device opens, by any name.
    QUORLIX_CONFIGURE_OPENAL("wave", "", "/nonexistent-folder/out.wav");
    testing::internal::CaptureStdout();
    auto device = std::make_unique<hwAudio>();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "opening openal device\nOpenAl error: alcOpenDevice failed\n");
    EXPECT_EQ(device->alcDevice, nullptr);
    auto tone = device->LoadSample(String(ToneFile("tone.wav", 0.1).c_str()));
    ASSERT_TRUE(tone);  // decoded, with no buffer to hold it
    EXPECT_EQ(device->PlaySample(tone.Get(), 1, 0), -1);
    device->SetVolume(1, 0.5f);
    device->SetPan(1, 0.5f);
    device->SetRate(1, 1.5f);
    device->Suspend();
    device->Resume();
    EXPECT_EQ(device->ChannelState(1), 0);
    device->PlayMusic(String(ToneFile("music.wav", 0.1).c_str()), 1);
    EXPECT_EQ(device->MusicState(), 0);
}

TEST_F(AudioDevice, AMissingMusicFileStopsThePreviousMusicAndAnswersMinusOne) {
    QUORLIX_CONFIGURE_OPENAL("null");
    auto device = std::make_unique<hwAudio>();
    ASSERT_EQ(device->PlayMusic(String(ToneFile("music.wav", 2.0).c_str()), 1), 0);
    ALint looping = 0;
    alGetSourcei(device->channels[32].source, AL_LOOPING, &looping);
    EXPECT_EQ(looping, AL_TRUE);
    EXPECT_EQ(device->MusicState(), 1);
    EXPECT_EQ(device->PlayMusic(String((dir.Path() + "/missing.ogg").c_str()), 1), -1);
    EXPECT_EQ(device->MusicState(), 0);
    EXPECT_EQ(SourceState(device->channels[32].source), AL_STOPPED);
}

TEST_F(AudioDevice, TheWaveFileIsCompleteWhenTheProcessEndsThroughExit) {
    QUORLIX_CONFIGURE_OPENAL("wave");
    testing::FLAGS_gtest_death_test_style = "fast";
    // The game ends with exit(0) and never closes its device itself.
    EXPECT_EXIT(
        {
            auto* device = new hwAudio();
            device->PlaySample(device->LoadSample(String(ToneFile("tone.wav", 0.2).c_str())).Get(), 1, 0);
            Sleep(0.4);
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
    const Recording heard = ReadRecording(WavePath());
    EXPECT_TRUE(heard.complete);
    EXPECT_EQ(heard.rate, 44100);
    EXPECT_GT(heard.Frames(), 44100 * 3 / 10);
    EXPECT_EQ(heard.Onsets(0.05f).size(), 1u);
}
