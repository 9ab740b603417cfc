// Sample loading: decoded PCM into an OpenAL buffer, and the discard list with its deferred deletion.
#include "framework/audio/sample.h"

#include <cstdlib>  // free for the decoded PCM
#include <string>

#include "framework/audio/audio.h"
#include "host/kpgame.h"

std::vector<ALuint> hwSample::discarded;

void hwSample::SetBuffer(ALuint newBuffer) {
    if (newBuffer != buffer) Discard();
    buffer = newBuffer;
}

void hwSample::Discard() {
    if (buffer == 0) return;
    discarded.push_back(buffer);
    buffer = 0;
}

void FlushDiscarded() {
    std::vector<ALuint>& list = hwSample::discarded;
    if (list.empty()) return;
    if (hwAudio* device = hwAudio::audio) {
        for (hwChannel& channel : device->channels) {
            if (channel.state == 0 || channel.source == 0) continue;
            ALint state = AL_STOPPED;
            alGetSourcei(channel.source, AL_SOURCE_STATE, &state);
            if (state == AL_STOPPED) alSourcei(channel.source, AL_BUFFER, 0);
        }
    }
    // NOTE: the buffers still held are kept in place, so the list keeps its storage and a flush never allocates.
    size_t kept = 0;
    for (ALuint buffer : list) {
        alGetError();
        alDeleteBuffers(1, &buffer);
        // NOTE: OpenAL reports an error while a source still holds the buffer; it is tried again next flush.
        if (alGetError() != AL_NO_ERROR) list[kept++] = buffer;
    }
    list.resize(kept);
}

StrongRef<hwSample> hwAudio::LoadSample(const String& path) {
    ReleaseEndedSamples();
    FlushDiscarded();
    StrongRef<hwSample> sample = MakeRef<hwSample>();
    if (!LoadSample__UNSAFE__(sample.Get(), path)) return nullptr;
    return sample;
}

bool hwAudio::LoadSample__UNSAFE__(hwSample* sample, const String& path) {
    int length = 0, channelCount = 0, format = 0, hertz = 0;
    unsigned char* pcm = KpGame::_game->LoadAudioData(path, &length, &channelCount, &format, &hertz);
    if (!pcm) return false;
    ALenum alFormat = 0;  // any other layout: OpenAL refuses the data and the sample stays silent
    if (format == 1 && channelCount == 1) alFormat = AL_FORMAT_MONO8;
    if (format == 1 && channelCount == 2) alFormat = AL_FORMAT_STEREO8;
    if (format == 2 && channelCount == 1) alFormat = AL_FORMAT_MONO16;
    if (format == 2 && channelCount == 2) alFormat = AL_FORMAT_STEREO16;
    if (alFormat == 0) {
        KpGame::_game->TellAssetDamaged(path, "holds " + std::to_string(channelCount) + "-channel, " +
                                                  std::to_string(format * 8) + "-bit sound, which the game cannot play",
                                        "the game runs without that sound");
    }
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, alFormat, pcm, length * channelCount * format, hertz);
    std::free(pcm);
    sample->SetBuffer(buffer);
    return true;
}
