// libFuzzer target for Ogg Vorbis sounds: any bytes as a sound file, decoded by the host (LoadAudioData, which
// picks the decoder by the ".ogg" name) and handed to OpenAL by the audio device's sample loader, exactly as
// the game loads a sound (OpenAL runs on its null driver). Checks on the way that a decoded block is 1 or 2
// channels of 16-bit samples and that all of its bytes are readable.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "framework/audio/audio.h"
#include "framework/audio/sample.h"
#include "runtime/object.h"
#include "tests/fuzz/memory_host.h"

namespace {

class CheckingHost : public MemoryHost {
public:
    unsigned char* LoadAudioData(const String& path, int* length, int* channels, int* format, int* hertz) override {
        unsigned char* pcm = MemoryHost::LoadAudioData(path, length, channels, format, hertz);
        if (!pcm) return nullptr;
        if (*length < 0 || (*channels != 1 && *channels != 2) || *format != 2 || *hertz <= 0) std::abort();
        const size_t bytes = static_cast<size_t>(*length) * static_cast<size_t>(*channels) * 2;
        volatile unsigned sum = 0;
        for (size_t i = 0; i < bytes; ++i) sum = sum + pcm[i];
        return pcm;
    }
};

CheckingHost host;
hwAudio* audio = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The device prints as it opens; the fuzzer's own report is on standard error.
    if (!std::freopen("/dev/null", "w", stdout)) return 1;
    audio = new hwAudio();
    audio->Retain();  // the one device, for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    host.Serve(data, size);
    audio->LoadSample(String("any.ogg"));
    gc_collect();
    return 0;
}
