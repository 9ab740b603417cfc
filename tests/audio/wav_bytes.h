// Test helpers: RIFF/WAVE files built byte by byte (so a test can damage any field), temporary folders, and
// tones with a known shape. Depends on the C++ library only.
#pragma once

#include <unistd.h>  // mkdtemp

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace wavtest {

using Bytes = std::string;

inline Bytes Le16(int value) {
    return Bytes{static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

inline Bytes Le32(int64_t value) {
    const auto v = static_cast<uint32_t>(value);
    return Bytes{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
                 static_cast<char>((v >> 24) & 0xFF)};
}

// A chunk whose size field says size (which may lie about the body).
inline Bytes ChunkWithSize(const char* tag, int64_t size, const Bytes& body) {
    return Bytes(tag, 4) + Le32(size) + body;
}

inline Bytes Chunk(const char* tag, const Bytes& body) {
    return ChunkWithSize(tag, static_cast<int64_t>(body.size()), body);
}

// The body of a "fmt " chunk; extra bytes make it longer than the plain 16.
inline Bytes FmtBody(int channels, int bits, int rate, int audioFormat = 1, const Bytes& extra = Bytes()) {
    const int blockAlign = channels * bits / 8;
    return Le16(audioFormat) + Le16(channels) + Le32(rate) + Le32(int64_t{rate} * blockAlign) + Le16(blockAlign) +
           Le16(bits) + extra;
}

// "RIFF" size "WAVE" followed by the given chunks.
inline Bytes Riff(const Bytes& chunks) { return "RIFF" + Le32(static_cast<int64_t>(4 + chunks.size())) + "WAVE" + chunks; }

// A plain PCM file: format chunk then data chunk.
inline Bytes Wav(int channels, int bits, int rate, const Bytes& data) {
    return Riff(Chunk("fmt ", FmtBody(channels, bits, rate)) + Chunk("data", data));
}

// frames of 16-bit samples: a sine of the given peak (0..1) and frequency, the same in every channel.
inline Bytes Sine16(int frames, int channels, int rate, double peak, double hertz) {
    Bytes out;
    for (int i = 0; i < frames; ++i) {
        const int v = static_cast<int>(std::lround(peak * 32767.0 * std::sin(2.0 * M_PI * hertz * i / rate)));
        for (int c = 0; c < channels; ++c) out += Le16(v);
    }
    return out;
}

// Bytes 0, 1, 2, ... wrapping at 256: data whose every byte position can be checked after decoding.
inline Bytes Counting(int count) {
    Bytes out;
    for (int i = 0; i < count; ++i) out.push_back(static_cast<char>(i & 0xFF));
    return out;
}

// A fresh folder under /tmp, removed with its files when the object goes.
class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/quorlix-audio-XXXXXX";
        path_ = mkdtemp(pattern) ? pattern : "/tmp";
    }
    ~TempDir() {
        if (path_ != "/tmp") std::system(("rm -rf '" + path_ + "'").c_str());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Writes bytes to name inside the folder and returns the full path.
    std::string Write(const std::string& name, const Bytes& bytes) const {
        const std::string file = path_ + "/" + name;
        if (FILE* f = std::fopen(file.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return file;
    }

private:
    std::string path_;
};

}  // namespace wavtest
