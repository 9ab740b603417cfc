// Test support for everything that touches real OpenAL Soft: a configuration of the test's own (the wave
// file writer, the null driver, a source limit), a host that decodes files from a temporary folder, and a
// reader for what the wave writer recorded.
// Depends on gtest, the host (KpZindleGame for decoding) and wav_bytes.h.
// NOTE: OpenAL Soft reads ALSOFT_CONF once, at its first use in a process. ctest runs every case in a process
// of its own; a case that finds OpenAL already configured by another case of the same run skips itself.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <AL/al.h>

#include "backend.h"  // KpZindleGame
#include "runtime/object.h"
#include "tests/audio/wav_bytes.h"

namespace altest {

// What OpenAL says a source is doing.
inline ALint SourceState(ALuint source) {
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

// Interleaved frames as the wave writer recorded them, scaled to -1..1.
struct Recording {
    int channels = 0, rate = 0;
    std::vector<float> samples;
    bool complete = false;  // the RIFF and data sizes match the file

    int Frames() const { return channels ? static_cast<int>(samples.size()) / channels : 0; }
    // Loudest sample of any channel in [from, to) seconds.
    float Peak(double from, double to) const {
        float peak = 0;
        const int a = std::max(0, static_cast<int>(from * rate)), b = std::min(Frames(), static_cast<int>(to * rate));
        for (int f = a; f < b; ++f)
            for (int c = 0; c < channels; ++c) peak = std::max(peak, std::abs(samples[f * channels + c]));
        return peak;
    }
    // Start times (seconds) of stretches louder than threshold, each after at least gap seconds of quiet.
    std::vector<double> Onsets(float threshold, double gap = 0.05) const {
        std::vector<double> out;
        int quiet = static_cast<int>(gap * rate);
        for (int f = 0; f < Frames(); ++f) {
            float level = 0;
            for (int c = 0; c < channels; ++c) level = std::max(level, std::abs(samples[f * channels + c]));
            if (level > threshold) {
                if (quiet >= static_cast<int>(gap * rate)) out.push_back(static_cast<double>(f) / rate);
                quiet = 0;
            } else {
                ++quiet;
            }
        }
        return out;
    }
};

inline uint32_t U32(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8) | (static_cast<uint8_t>(b[at + 2]) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24);
}
inline int U16(const std::string& b, size_t at) { return static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8); }

// Reads the wave writer's file: 16-bit integer or 32-bit float samples, plain or extensible format chunk.
inline Recording ReadRecording(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Recording r;
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return r;
    int tag = 0, bits = 0;
    for (size_t at = 12; at + 8 <= b.size();) {
        const std::string id = b.substr(at, 4);
        const uint32_t size = U32(b, at + 4);
        const size_t body = at + 8;
        if (id == "fmt ") {
            tag = U16(b, body);
            r.channels = U16(b, body + 2);
            r.rate = static_cast<int>(U32(b, body + 4));
            bits = U16(b, body + 14);
            if (tag == 0xFFFE) tag = U16(b, body + 24);  // the sub-format of an extensible chunk
        } else if (id == "data") {
            r.complete = U32(b, 4) == b.size() - 8 && size == b.size() - body;
            const size_t end = std::min(b.size(), body + size);
            for (size_t i = body; i + bits / 8 <= end; i += bits / 8) {
                if (tag == 3 && bits == 32) {
                    const uint32_t u = U32(b, i);
                    float f;
                    std::memcpy(&f, &u, sizeof f);
                    r.samples.push_back(f);
                } else if (tag == 1 && bits == 16) {
                    r.samples.push_back(static_cast<int16_t>(U16(b, i)) / 32768.0f);
                }
            }
            break;
        }
        at = body + size + (size & 1);
    }
    return r;
}

inline void Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

class OpenALTest : public testing::Test {
protected:
    // Runs the collector step the host would run after each callback, so released samples go.
    void TearDown() override { gc_collect(); }

    // Writes this case's OpenAL configuration and points ALSOFT_CONF at it. general holds extra lines of the
    // [general] section; with wave true the device is the wave writer recording to WavePath().
    bool Configure(const std::string& driver, const std::string& general = "", const std::string& waveFile = "") {
        static bool configured = false;
        if (configured) return false;
        configured = true;
        std::string text = "[general]\ndrivers=" + driver + "\nchannels=stereo\nfrequency=44100\n"
                           "sample-type=float32\nhrtf=false\noutput-limiter=false\n" + general + "\n";
        if (driver == "wave") text += "[wave]\nfile=" + (waveFile.empty() ? WavePath() : waveFile) + "\n";
        setenv("ALSOFT_CONF", dir.Write("alsoft.conf", text).c_str(), 1);
        return true;
    }
    std::string WavePath() const { return dir.Path() + "/out.wav"; }
    // A 16-bit mono tone file of the given length and peak; returns its path.
    std::string ToneFile(const std::string& name, double seconds, double peak = 0.5, int rate = 22050) const {
        const int frames = static_cast<int>(seconds * rate);
        return dir.Write(name, wavtest::Wav(1, 16, rate, wavtest::Sine16(frames, 1, rate, peak, 441)));
    }

    wavtest::TempDir dir;
    KpZindleGame host;  // decodes the files the device loads
};

}  // namespace altest

// Skips the case when OpenAL was configured earlier in this process (see the note at the top).
#define QUORLIX_CONFIGURE_OPENAL(...)                                                                  \
    do {                                                                                              \
        if (!Configure(__VA_ARGS__)) GTEST_SKIP() << "OpenAL is already configured in this process; " \
                                                     "run each case on its own (ctest does)";          \
    } while (0)
