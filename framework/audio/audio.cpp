// hwAudio: opening OpenAL, the channels and their sources, suspend and resume, and music on channel 32.
#include "framework/audio/audio.h"

#include <cmath>    // sinf, cosf for panning
#include <cstdlib>  // atexit
#include <string>

#include "host/errors.h"
#include "host/kpgame.h"
#include "host/notices.h"

hwAudio* hwAudio::audio = nullptr;

namespace {

ALint SourceState(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

}  // namespace

hwAudio::hwAudio() {
    audio = this;
    alcDevice = alcOpenDevice(nullptr);
    if (!alcDevice) alcDevice = alcOpenDevice("Generic Hardware");
    if (!alcDevice) alcDevice = alcOpenDevice("Generic Software");
    kpPrint(String("opening openal device"));
    const char* failure = nullptr;
    if (!alcDevice) {
        kpPrint(String("OpenAl error: alcOpenDevice failed"));
        failure = "no sound device could be opened";
    } else if (!(alcContext = alcCreateContext(alcDevice, nullptr))) {
        kpPrint(String("OpenAl error: alcCreateContext failed"));
        failure = "the sound device could not be set up";
    } else if (!alcMakeContextCurrent(alcContext)) {
        kpPrint(String("OpenAl error: alcMakeContextCurrent failed"));
        failure = "the sound device could not be set up";
    }
    if (failure) kpTellPlayer("audio", std::string(failure) + "; the game runs without sound.");
    // Distance never attenuates: positions only pan.
    alDistanceModel(AL_NONE);
    channels[kMusicChannel].AL_Source();
    // WARNING: the game ends through exit() with the device still open. OpenAL's writers (the wave file
    // writer in particular) complete their output only when the device is closed, so close it on the way out.
    static const bool registered = std::atexit(CloseAtExit) == 0;
    (void)registered;
}

hwAudio::~hwAudio() {
    Close();
    // The buffers went with the device: their names mean nothing now.
    hwSample::discarded.clear();
    if (audio == this) audio = nullptr;
}

void hwAudio::Close() {
    if (alcContext) {
        if (alcGetCurrentContext() == alcContext) alcMakeContextCurrent(nullptr);
        alcDestroyContext(alcContext);
        alcContext = nullptr;
    }
    if (alcDevice) {
        alcCloseDevice(alcDevice);
        alcDevice = nullptr;
    }
}

void hwAudio::CloseAtExit() {
    if (audio) audio->Close();
}

hwChannel* hwAudio::Channel(int channel) {
    return channel >= 0 && channel < kChannelCount ? &channels[channel] : nullptr;
}

ALuint hwChannel::AL_Source() {
    if (source != 0) return source;
    alGetError();
    alGenSources(1, &source);
    if (alGetError() == AL_NO_ERROR) return source;
    source = 0;
    // Out of sources: take the source of the first finished effect channel. The music channel keeps its own.
    hwAudio* device = hwAudio::audio;
    if (!device) return 0;
    for (int i = 0; i < hwAudio::kMusicChannel; ++i) {
        hwChannel& other = device->channels[i];
        if (other.source == 0 || device->ChannelState(i) != 0) continue;
        source = other.source;
        other.source = 0;
        return source;
    }
    return 0;
}

void hwAudio::ReleaseEndedSamples() {
    for (hwChannel& channel : channels) {
        if (channel.state != 0 && channel.sample && SourceState(channel.source) == AL_STOPPED) channel.sample = nullptr;
    }
}

int hwAudio::PlaySample(hwSample* sample, int channel, int flags) {
    ReleaseEndedSamples();
    FlushDiscarded();
    hwChannel* ch = Channel(channel);
    if (!ch) return -1;
    // NOTE: a browser holds sound back until its page has had a key, click or touch; a sound started before would
    // wait and then sound at that first press with every other that waited. It is not started at all.
    if (KpGame::_game && !KpGame::_game->AudioRunning()) return -1;
    const ALuint source = ch->AL_Source();
    if (source == 0) return -1;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, sample ? static_cast<ALint>(sample->buffer) : 0);
    alSourcei(source, AL_LOOPING, flags != 0 ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    ch->sample = sample;
    ch->flags = flags;
    ch->state = 1;
    return 0;
}

void hwAudio::StopChannel(int channel) {
    hwChannel* ch = Channel(channel);
    if (!ch || ch->state == 0) return;
    alSourceStop(ch->source);
    ch->state = 0;
    ch->sample = nullptr;
}

void hwAudio::PauseChannel(int channel) {
    hwChannel* ch = Channel(channel);
    if (!ch || ch->state != 1) return;
    if (SourceState(ch->source) == AL_STOPPED) {
        ch->state = 0;
        ch->sample = nullptr;
        return;
    }
    alSourcePause(ch->source);
    ch->state = 2;
}

void hwAudio::ResumeChannel(int channel) {
    hwChannel* ch = Channel(channel);
    if (!ch || ch->state != 2) return;
    alSourcePlay(ch->source);
    ch->state = 1;
}

int hwAudio::ChannelState(int channel) {
    hwChannel* ch = Channel(channel);
    if (!ch) return 0;
    if (ch->state == 1 && SourceState(ch->source) == AL_STOPPED) {
        ch->state = 0;
        ch->sample = nullptr;
    }
    return ch->state;
}

void hwAudio::SetVolume(int channel, float volume) {
    if (hwChannel* ch = Channel(channel)) alSourcef(ch->AL_Source(), AL_GAIN, volume);
}

void hwAudio::SetPan(int channel, float pan) {
    if (hwChannel* ch = Channel(channel)) alSource3f(ch->AL_Source(), AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
}

void hwAudio::SetRate(int channel, float rate) {
    if (hwChannel* ch = Channel(channel)) alSourcef(ch->AL_Source(), AL_PITCH, rate);
}

void hwAudio::Suspend() {
    for (hwChannel& channel : channels) {
        if (channel.state == 1 && SourceState(channel.source) == AL_PLAYING) alSourcePause(channel.source);
    }
}

void hwAudio::Resume() {
    for (hwChannel& channel : channels) {
        if (channel.state == 1 && SourceState(channel.source) == AL_PAUSED) alSourcePlay(channel.source);
    }
}

int hwAudio::PlayMusic(const String& path, int flags) {
    StopMusic();
    StrongRef<hwSample> sample = LoadSample(path);
    if (!sample) return -1;
    PlaySample(sample.Get(), kMusicChannel, flags);
    return 0;
}

void hwAudio::StopMusic() { StopChannel(kMusicChannel); }
void hwAudio::PauseMusic() { PauseChannel(kMusicChannel); }
void hwAudio::ResumeMusic() { ResumeChannel(kMusicChannel); }
int hwAudio::MusicState() { return ChannelState(kMusicChannel); }
void hwAudio::SetMusicVolume(float volume) { SetVolume(kMusicChannel, volume); }
