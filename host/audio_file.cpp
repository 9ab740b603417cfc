// A host's LoadAudioData: opening a sound file and choosing its decoder by extension. A sound file that is
// missing or refused is told to the player (once per file) and gives no PCM.
// Depends on the decoders (host/audio_data.h), the host's files and notices, and the collector's counter.
#include <cerrno>
#include <cstdint>

#include "host/audio_data.h"
#include "host/kpgame.h"
#include "runtime/object.h"

unsigned char* LoadAudioFile(KpGame& host, const String& path, int* length, int* channels, int* format,
                             int* hertz) {
    errno = 0;
    FILE* file = host.OpenFile(path, String("rb"));
    if (!file) {
        host.TellAssetUnreadable(path, errno != 0 ? errno : ENOENT);
        return nullptr;
    }
    const String name = path.ToLower();
    const bool wav = name.EndsWith(String(".wav")), ogg = name.EndsWith(String(".ogg"));
    unsigned char* pcm = nullptr;
    if (wav) {
        pcm = LoadWAV(file, length, channels, format, hertz);
    } else if (ogg) {
        pcm = LoadOGG(file, length, channels, format, hertz);
    }
    std::fclose(file);
    if (!pcm) {
        host.TellAssetDamaged(path,
                              wav || ogg ? "is damaged or not a sound the game can play" : "is not a WAV or Ogg sound",
                              "the game runs without that sound");
        return nullptr;
    }
    gc_ext_new_bytes += static_cast<int64_t>(*length) * *channels * *format;
    return pcm;
}
