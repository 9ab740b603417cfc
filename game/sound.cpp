// c_MyApp, sound cues: the cue slots loaded from the data folder's sfx/ folder, firing a cue on a rotation
// of 24 effect channels at the player's sound level, and the tune operations (off in this build).
// Depends on the audio module (kp_audio_*), the progress record's settings 5 (sound switch) and 6 (level).
#include "game/myapp.h"
#include "game/search.h"

namespace {

constexpr int kCueSlots = 100;
// Cues rotate over device channels 1, 2, ..., 23, 0; channels 24..31 stay free and 32 is the music's.
constexpr int kCueRotation = 24;

// The volume factor of sound level (setting 6), or a negative number when cues are switched off.
float LevelFactor(int level) {
    switch (level) {
        case 1: return 0.75f;
        case 2: return 0.4f;
        case 3: return -1.0f;
        default: return 1.0f;
    }
}

// The music volume of music level (setting 7).
float MusicLevelFactor(int level) {
    switch (level) {
        case 1: return 0.7f;
        case 2: return 0.4f;
        case 3: return 0.0f;
        default: return 1.0f;
    }
}

}  // namespace

void c_MyApp::p_InitSfxChannels() {
    for (int i = 0; i < m_sfxChannels.Length(); ++i) m_sfxChannels[i] = i;
}

String c_MyApp::p_SfxFile(int cue) {
    String prefix("sfx/");
    if (cue >= 0 && cue < 10) prefix = String("sfx/00");
    else if (cue >= 10 && cue < 100) prefix = String("sfx/0");
    return prefix + String(cue) + String(".wav");
}

int c_MyApp::p_LoadSFX(int cue) {
    // NOTE: only slots 0..99 exist; a cue number outside them names no slot and loads nothing.
    if (cue < 0 || cue >= kCueSlots) return 0;
    m_sounds[cue] = nullptr;
    m_sounds[cue] = kp_audio_LoadSound(p_SfxFile(cue));
    return 0;
}

int c_MyApp::p_PlaySFX(int cue, float rate, float volume, float pan) {
    if (m_settings[5] != 1 && m_settings[5] != 2) return 0;
    if (cue < 0 || cue >= kCueSlots || !m_sounds[cue]) return 0;
    const float factor = LevelFactor(m_settings[6]);
    if (factor < 0) return 0;
    m_sfxChannelIndex = (m_sfxChannelIndex + 1) % kCueRotation;
    if (m_sfxChannelIndex < 0 || m_sfxChannelIndex > 31) m_sfxChannelIndex = 0;
    const int channel = m_sfxChannels[m_sfxChannelIndex];
    kp_audio_StopChannel(channel);
    kp_audio_PlaySound(m_sounds[cue].Get(), channel, 0);
    kp_audio_SetChannelRate(channel, rate);
    kp_audio_SetChannelVolume(channel, factor * volume);
    kp_audio_SetChannelPan(channel, pan);
    return 0;
}

int c_MyApp::p_PlayTune(const String& name, int flags) {
    if (kp_Search_HasMusicStream == 0) return 0;
    m_currentTune = name;
    // Music plays for audio modes 1 (effects and music) and 3 (music only).
    if (m_settings[5] != 1 && m_settings[5] != 3) return 0;
    // NOTE: tunes would live beside the effects as music/<name>.ogg; this build ships none.
    m_musicOn = kp_audio_PlayMusic(String("music/") + name + String(".ogg"), flags) == 0 ? 1 : 0;
    kp_audio_SetMusicVolume(MusicLevelFactor(m_settings[7]));
    return 0;
}

int c_MyApp::p_StopTune() {
    if (kp_Search_HasMusicStream == 0) return 0;
    kp_audio_StopMusic();
    m_musicOn = 0;
    return 0;
}
