// The game's sound effects (see sounds.hpp): tones built from sine partials with envelopes, then levelled.
// Depends only on the C++ library. Every cue is 44100 Hz mono 16-bit PCM with the "fmt " chunk first, the plainest
// form of WAV, which every reader accepts.
#include "sounds.hpp"

#include <algorithm>  // std::max, std::min
#include <cmath>      // sin, exp, pow
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace artgen {

namespace {

constexpr int kRate = 44100;
constexpr double kTau = 6.28318530717958647692;

using Buffer = std::vector<double>;

// A buffer of `seconds` of silence.
Buffer silence(double seconds) { return Buffer(size_t(seconds * kRate), 0.0); }

// One struck note: partials at multiples `ratios` of freq, each decaying at its own rate (per second), with a
// short linear attack. `bend` glides the pitch by that factor over the note (1 = steady).
struct Note {
  double start, freq, amp, attack, decay;
  std::vector<double> ratios, levels;
  double bend = 1.0;
  double length = 10.0;  // seconds before a 20 ms release; longer than the buffer means none
};

void addNote(Buffer& b, const Note& n) {
  const size_t first = size_t(n.start * kRate);
  for (size_t k = 0; k < n.ratios.size(); ++k) {
    double phase = 0.0;
    const double decay = n.decay * (1.0 + 0.6 * k);  // upper partials die first, as in a struck bar
    for (size_t i = first; i < b.size(); ++i) {
      const double t = double(i - first) / kRate;
      const double f = n.freq * n.ratios[k] * std::pow(n.bend, std::min(1.0, t / std::max(n.length, 1e-3)));
      phase += kTau * f / kRate;
      double env = std::exp(-decay * t) * std::min(1.0, t / n.attack);
      if (t > n.length) env *= std::max(0.0, 1.0 - (t - n.length) / 0.02);
      b[i] += n.amp * n.levels[k] * env * std::sin(phase);
    }
  }
}

// Scales the cue so its loudest 50 ms have the same mean power as every other cue, keeping peaks below full
// scale, then fades the very ends so playback starts and stops without a click.
void level(Buffer& b, double targetRms) {
  const size_t win = kRate / 20;
  double loudest = 0.0, peak = 0.0, sum = 0.0;
  for (size_t i = 0; i < b.size(); ++i) {
    sum += b[i] * b[i];
    if (i >= win) sum -= b[i - win] * b[i - win];
    loudest = std::max(loudest, sum / double(std::min(i + 1, win)));
    peak = std::max(peak, std::abs(b[i]));
  }
  double gain = targetRms / std::sqrt(std::max(loudest, 1e-12));
  gain = std::min(gain, 0.89 / std::max(peak, 1e-12));
  const size_t fadeIn = kRate / 1000, fadeOut = kRate / 100;
  for (size_t i = 0; i < b.size(); ++i) {
    double g = gain;
    if (i < fadeIn) g *= double(i) / fadeIn;
    if (i + fadeOut >= b.size()) g *= double(b.size() - 1 - i) / fadeOut;
    b[i] *= g;
  }
}

void put16(std::ofstream& f, int v) {
  f.put(char(v & 0xff));
  f.put(char((v >> 8) & 0xff));
}
void put32(std::ofstream& f, uint32_t v) {
  put16(f, int(v & 0xffff));
  put16(f, int(v >> 16));
}

// Writes 16-bit mono PCM: "RIFF", "WAVE", the 16-byte "fmt " chunk, then "data".
bool writeWav(const std::filesystem::path& file, const Buffer& b) {
  std::ofstream f(file, std::ios::binary);
  const uint32_t bytes = uint32_t(b.size() * 2);
  f.write("RIFF", 4);
  put32(f, 36 + bytes);
  f.write("WAVEfmt ", 8);
  put32(f, 16);
  put16(f, 1);  // integer PCM
  put16(f, 1);  // mono
  put32(f, kRate);
  put32(f, kRate * 2);
  put16(f, 2);
  put16(f, 16);
  f.write("data", 4);
  put32(f, bytes);
  for (double s : b) put16(f, int(std::lround(std::clamp(s, -1.0, 1.0) * 32767.0)));
  f.close();
  if (!f) std::fprintf(stderr, "artgen: cannot write %s\n", file.c_str());
  return bool(f);
}

// Partials of a bright bell and of a soft marimba bar.
const std::vector<double> kBell{1.0, 2.0, 3.01, 4.17}, kBellLv{1.0, 0.45, 0.22, 0.12};
const std::vector<double> kBar{1.0, 3.93, 9.8}, kBarLv{1.0, 0.3, 0.06};

// Found: two bright bell strokes a fifth apart.
Buffer found() {
  Buffer b = silence(0.75);
  addNote(b, {0.00, 1318.5, 0.8, 0.002, 6.0, kBell, kBellLv});
  addNote(b, {0.07, 1975.5, 0.7, 0.002, 5.0, kBell, kBellLv});
  addNote(b, {0.07, 3951.0, 0.12, 0.002, 9.0, {1.0}, {1.0}});
  return b;
}

// Soft tick: a tiny woody knock.
Buffer tick() {
  Buffer b = silence(0.05);
  addNote(b, {0.0, 1750.0, 1.0, 0.0008, 140.0, {1.0, 2.3}, {1.0, 0.25}});
  return b;
}

// Spare: a soft rising pop.
Buffer pop() {
  Buffer b = silence(0.12);
  Note n{0.0, 420.0, 1.0, 0.003, 35.0, {1.0, 2.0}, {1.0, 0.15}};
  n.bend = 2.2;
  n.length = 0.08;
  addNote(b, n);
  return b;
}

// Wrong: a short low buzz of two close, slightly falling tones, rich in odd harmonics.
Buffer buzz() {
  Buffer b = silence(0.26);
  std::vector<double> ratios, levels;
  for (int h = 1; h <= 11; h += 2) {
    ratios.push_back(h);
    levels.push_back(1.0 / std::pow(h, 1.2));
  }
  for (double f : {146.8, 155.6}) {
    Note n{0.0, f, 0.6, 0.006, 2.5, ratios, levels};
    n.bend = 0.94;
    n.length = 0.22;
    addNote(b, n);
  }
  return b;
}

// Rising blip: one quick upward sweep.
Buffer blip() {
  Buffer b = silence(0.09);
  Note n{0.0, 700.0, 1.0, 0.003, 18.0, {1.0, 2.0}, {1.0, 0.2}};
  n.bend = 2.0;
  n.length = 0.06;
  addNote(b, n);
  return b;
}

// Spare: a soft two-note falling call on marimba bars.
Buffer call() {
  Buffer b = silence(0.6);
  addNote(b, {0.00, 1046.5, 0.8, 0.003, 7.0, kBar, kBarLv});
  addNote(b, {0.12, 784.0, 0.8, 0.003, 6.0, kBar, kBarLv});
  return b;
}

// Start jingle: a rising C major arpeggio on bars ending in a bell chord, over a soft pad, about 1.5 s.
Buffer jingle() {
  Buffer b = silence(1.55);
  const double arp[4] = {523.3, 659.3, 784.0, 1046.5};
  for (int i = 0; i < 4; ++i) addNote(b, {0.11 * i, arp[i], 0.7, 0.003, 5.0, kBar, kBarLv});
  for (double f : {1046.5, 1318.5, 1568.0}) addNote(b, {0.48, f, 0.35, 0.004, 3.0, kBell, kBellLv});
  for (double f : {261.6, 329.6, 392.0}) {
    Note pad{0.0, f, 0.16, 0.25, 1.2, {1.0, 2.0}, {1.0, 0.2}};
    pad.length = 1.3;
    addNote(b, pad);
  }
  return b;
}

// Confirm: two quick bright strokes, low then high.
Buffer confirm() {
  Buffer b = silence(0.14);
  addNote(b, {0.000, 880.0, 0.8, 0.001, 45.0, {1.0, 2.0}, {1.0, 0.3}});
  addNote(b, {0.035, 1318.5, 0.8, 0.001, 40.0, {1.0, 2.0}, {1.0, 0.3}});
  return b;
}

// Move: a short light click.
Buffer move() {
  Buffer b = silence(0.05);
  addNote(b, {0.0, 1100.0, 1.0, 0.0008, 90.0, {1.0, 2.7}, {1.0, 0.3}});
  return b;
}

}  // namespace

bool writeSounds(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  struct Cue {
    const char* file;
    Buffer (*make)();
  };
  const Cue cues[] = {{"001.wav", found}, {"002.wav", tick},  {"003.wav", pop},     {"004.wav", buzz},
                      {"005.wav", blip},  {"095.wav", call},  {"096.wav", jingle}, {"098.wav", confirm},
                      {"099.wav", move}};
  bool ok = true;
  for (const auto& c : cues) {
    Buffer b = c.make();
    level(b, 0.2);
    ok = writeWav(folder / c.file, b) && ok;
  }
  return ok;
}

}  // namespace artgen
