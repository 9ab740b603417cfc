// hwAudio: the OpenAL audio device, its 33 numbered channels (0..31 for effects, 32 for music), c_Sound and
// the kp_audio_* functions that game code calls.
// Depends on OpenAL (ALC for the device and context), the host (decoding sound files, kpPrint, the player's
// notices) and hwSample.
// Each channel owns an OpenAL source, made the first time the channel needs one; when the driver runs out
// of sources, a finished effect channel lends its own (the music channel never does). A channel keeps the
// sample it plays alive while it may still be heard.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <utility>  // std::move

#include "framework/audio/sample.h"
#include "runtime/object.h"
#include "runtime/string.h"

// One channel: its source and what was last started on it.
struct hwChannel {
    // The channel's source, made (or borrowed from a finished channel) on first use; 0 when none can be had.
    ALuint AL_Source();

    ALuint source = 0;            // 0: none yet
    StrongRef<hwSample> sample;   // held only while the sound may still be heard
    int flags = 0;                // bit 0: loop
    int state = 0;                // 0 stopped, 1 playing, 2 paused: the device's view, refreshed lazily
};

class hwAudio : public Object {
public:
    static constexpr int kChannelCount = 33;
    static constexpr int kMusicChannel = 32;
    // The one device (the last one made).
    static hwAudio* audio;

    // Opens the default OpenAL device (with two named fallbacks) and makes its context current. Failures
    // are printed, told to the player once on standard error, and otherwise ignored: the game runs on silently.
    hwAudio();
    // Closes the device. The game never destroys its device (it is closed at process exit instead); tests do.
    ~hwAudio() override;

    // Pauses every sound that is audible now / restarts exactly those; channel states are left as they are.
    virtual void Suspend();
    virtual void Resume();
    // Decodes a sound file into a new sample; null when the file is missing or refused.
    virtual StrongRef<hwSample> LoadSample(const String& path);
    virtual bool LoadSample__UNSAFE__(hwSample* sample, const String& path);
    // Starts sample on channel from its beginning (flags bit 0 loops): 0, or -1 when no source could be had.
    virtual int PlaySample(hwSample* sample, int channel, int flags);
    virtual void StopChannel(int channel);
    virtual void PauseChannel(int channel);
    virtual void ResumeChannel(int channel);
    // 0 stopped, 1 playing, 2 paused; a sound that ended by itself reads 0 from then on.
    virtual int ChannelState(int channel);
    virtual void SetVolume(int channel, float volume);
    // Turns the sound about the listener by pan radians: 0 straight ahead, positive to the right.
    virtual void SetPan(int channel, float pan);
    // Playback speed and pitch: 1 is normal.
    virtual void SetRate(int channel, float rate);
    // Stops the music, then loads the whole file and plays it on the music channel: 0, or -1 when the file
    // did not load.
    virtual int PlayMusic(const String& path, int flags);
    virtual void StopMusic();
    virtual void PauseMusic();
    virtual void ResumeMusic();
    virtual int MusicState();
    virtual void SetMusicVolume(float volume);

    ALCdevice* alcDevice = nullptr;
    ALCcontext* alcContext = nullptr;
    hwChannel channels[kChannelCount];

private:
    // The channel record, or null for a number outside 0..32.
    hwChannel* Channel(int channel);
    // Lets go of the samples of channels whose sound has ended, so nothing keeps an unheard sample alive.
    void ReleaseEndedSamples();
    // Releases the context and closes the device, once.
    void Close();
    static void CloseAtExit();
};

// A loaded sound effect as game code holds it.
class c_Sound : public Object {
public:
    explicit c_Sound(StrongRef<hwSample> sample) : sample(std::move(sample)) {}
    StrongRef<hwSample> sample;
};

extern hwAudio* kp_audio_device;

void kp_audio_SetAudioDevice(hwAudio* device);
// Loads a sound from an asset name (mapped into the data folder); null when it cannot be loaded.
StrongRef<c_Sound> kp_audio_LoadSound(const String& path);
// Plays sound on channel (flags bit 0 loops); does nothing for a missing sound or one without a sample.
int kp_audio_PlaySound(c_Sound* sound, int channel, int flags);
void kp_audio_StopChannel(int channel);
void kp_audio_SetChannelVolume(int channel, float volume);
void kp_audio_SetChannelPan(int channel, float pan);
void kp_audio_SetChannelRate(int channel, float rate);
int kp_audio_PlayMusic(const String& path, int flags);
void kp_audio_StopMusic();
void kp_audio_PauseMusic();
void kp_audio_ResumeMusic();
void kp_audio_SetMusicVolume(float volume);
