// Audio costs: decoding the game's sound files, loading them into OpenAL buffers (all nine cue slots, as the
// loading screen does), and firing one cue. OpenAL runs on its null driver, so only our side and OpenAL
// Soft's own bookkeeping are measured, never a sound card.
#include <benchmark/benchmark.h>

#include <sys/stat.h>  // mkdir
#include <unistd.h>    // mkdtemp

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/audio/audio.h"
#include "game/myapp.h"
#include "backend.h"  // KpZindleGame

namespace {

// A data folder of its own holding sfx/ files of the lengths the game's cues have, and a silent OpenAL.
struct AudioBench {
    std::string root;
    AudioBench() {
        char pattern[] = "/tmp/quorlix-bench-audio-XXXXXX";
        root = mkdtemp(pattern);
        Write("alsoft.conf", "[general]\ndrivers=null\n");
        setenv("ALSOFT_CONF", (root + "/alsoft.conf").c_str(), 1);
        mkdir((root + "/sfx").c_str(), 0755);
        // Seconds of each cue: found chime, tick, spare, buzz, blip, spare, jingle, confirm, move.
        const struct { int cue; double seconds; } cues[] = {{1, 0.6}, {2, 0.05}, {3, 0.3}, {4, 0.35}, {5, 0.1},
                                                           {95, 0.3}, {96, 1.5}, {98, 0.15}, {99, 0.08}};
        for (const auto& c : cues) Write("sfx/" + Name(c.cue), Tone(c.seconds));
    }
    ~AudioBench() { std::system(("rm -rf '" + root + "'").c_str()); }

    static std::string Name(int cue) {
        char name[16];
        std::snprintf(name, sizeof name, "%03d.wav", cue);
        return name;
    }
    // A 16-bit mono WAV at 44100 Hz.
    static std::string Tone(double seconds) {
        const int frames = static_cast<int>(seconds * 44100);
        std::string data;
        for (int i = 0; i < frames; ++i) {
            const int v = static_cast<int>(12000 * std::sin(i * 0.06));
            data.push_back(static_cast<char>(v & 0xFF));
            data.push_back(static_cast<char>((v >> 8) & 0xFF));
        }
        auto le32 = [](uint32_t n) { return std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)}; };
        const std::string fmt = std::string("\x01\x00\x01\x00", 4) + le32(44100) + le32(88200) + std::string("\x02\x00\x10\x00", 4);
        return "RIFF" + le32(static_cast<uint32_t>(36 + data.size())) + "WAVEfmt " + le32(16) + fmt + "data" +
               le32(static_cast<uint32_t>(data.size())) + data;
    }
    void Write(const std::string& name, const std::string& bytes) const {
        FILE* f = std::fopen((root + "/" + name).c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
};

class DataHost : public KpZindleGame {
public:
    explicit DataHost(const std::string& root) : root_(root.c_str()) {}
    String PathToFilePath(const String& path) override {
        const String prefix("zindle://data/");
        return path.StartsWith(prefix) ? root_ + String("/") + path.Slice(prefix.Length()) : path;
    }

private:
    String root_;
};

AudioBench& Files() {
    static AudioBench files;
    return files;
}

hwAudio& Device() {
    Files();
    static DataHost host(Files().root);
    static hwAudio* device = [] {
        auto* d = new hwAudio();
        kp_audio_SetAudioDevice(d);
        return d;
    }();
    return *device;
}

void BM_DecodeJingleWav(benchmark::State& state) {
    static DataHost host(Files().root);
    const String path((Files().root + "/sfx/096.wav").c_str());
    for (auto _ : state) {
        int length, channels, format, hertz;
        unsigned char* pcm = host.LoadAudioData(path, &length, &channels, &format, &hertz);
        benchmark::DoNotOptimize(pcm);
        std::free(pcm);
    }
}
BENCHMARK(BM_DecodeJingleWav)->Unit(benchmark::kMicrosecond);

void BM_LoadAllCueSlots(benchmark::State& state) {
    Device();
    auto app = MakeRef<c_MyApp>();
    for (auto _ : state) {
        for (int cue : {96, 1, 98, 99, 95, 2, 3, 4, 5}) app->p_LoadSFX(cue);
        gc_collect();  // the replaced samples go, as after each update
    }
}
BENCHMARK(BM_LoadAllCueSlots)->Unit(benchmark::kMicrosecond);

void BM_PlaySfx(benchmark::State& state) {
    Device();
    auto app = MakeRef<c_MyApp>();
    app->m_settings[5] = 1;
    app->p_InitSfxChannels();
    app->p_LoadSFX(2);
    for (auto _ : state) app->p_PlaySFX(2, 1.1f, 1, 0);
}
BENCHMARK(BM_PlaySfx)->Unit(benchmark::kMicrosecond);

}  // namespace
