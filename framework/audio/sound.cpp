// c_Sound and the kp_audio_* functions: thin forwards from game code to the audio device.
#include "framework/audio/audio.h"

#include "host/files.h"  // kp_data_FixDataPath

hwAudio* kp_audio_device = nullptr;

void kp_audio_SetAudioDevice(hwAudio* device) { kp_audio_device = device; }

StrongRef<c_Sound> kp_audio_LoadSound(const String& path) {
    StrongRef<hwSample> sample = kp_audio_device->LoadSample(kp_data_FixDataPath(path));
    if (!sample) return nullptr;
    return MakeRef<c_Sound>(sample);
}

int kp_audio_PlaySound(c_Sound* sound, int channel, int flags) {
    if (!sound || !sound->sample) return 0;
    return kp_audio_device->PlaySample(sound->sample.Get(), channel, flags);
}

void kp_audio_StopChannel(int channel) { kp_audio_device->StopChannel(channel); }
void kp_audio_SetChannelVolume(int channel, float volume) { kp_audio_device->SetVolume(channel, volume); }
void kp_audio_SetChannelPan(int channel, float pan) { kp_audio_device->SetPan(channel, pan); }
void kp_audio_SetChannelRate(int channel, float rate) { kp_audio_device->SetRate(channel, rate); }
int kp_audio_PlayMusic(const String& path, int flags) { return kp_audio_device->PlayMusic(kp_data_FixDataPath(path), flags); }
void kp_audio_StopMusic() { kp_audio_device->StopMusic(); }
void kp_audio_PauseMusic() { kp_audio_device->PauseMusic(); }
void kp_audio_ResumeMusic() { kp_audio_device->ResumeMusic(); }
void kp_audio_SetMusicVolume(float volume) { kp_audio_device->SetMusicVolume(volume); }
