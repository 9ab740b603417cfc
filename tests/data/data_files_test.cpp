// Tests of the generated data folder: the files the game loads by name, checked the way the game reads them, and
// the desktop icon generated beside it.
// Depends on GoogleTest and Debian's stb_image (the decoder the game itself uses). QUORLIX_DATA_DIR names the
// folder the build generated, QUORLIX_SHEETS_DIR its contact sheets, QUORLIX_ICON_DIR the icon's sizes;
// QUORLIX_ARTGEN names the generator, which is run again to prove it deterministic.
#include <gtest/gtest.h>
#include <stb_image.h>  // stbi_load, as the game's image loader

#include <algorithm>   // std::max, std::min
#include <cmath>       // std::sqrt, std::abs
#include <cstdint>
#include <cstdlib>     // std::system
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>    // getpid, for a private scratch folder
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kData = QUORLIX_DATA_DIR;
const fs::path kIcons = QUORLIX_ICON_DIR;
const int kIconSizes[] = {48, 64, 128, 192, 256, 512};

// One image the game loads: name below data/, virtual cell size and frame count.
struct Expected {
  const char* name;
  int cellW, cellH, frames;
};

// Every image slot the loading screen fills, with the sizes it passes to the loader.
const Expected kImages[] = {
    {"fonts/Mira_White", 16, 16, 128}, {"fonts/Mira_Black", 16, 16, 128}, {"fonts/shadow_editundo", 16, 16, 128},
    {"common/icons", 32, 32, 16},      {"common/Buttons", 64, 64, 16},    {"common/circle", 256, 256, 4},
    {"common/dpad", 32, 32, 16},       {"common/light", 32, 32, 4},       {"BadgesA", 64, 64, 64},
    {"menu", 256, 256, 4},             {"parts", 8, 8, 256},              {"logo", 256, 128, 1},
    {"common/PLOVLogo", 256, 256, 1},
};
const int kLevels[] = {1, 2, 4};

std::string fileFor(const char* name, int level) {
  return std::string(name) + (level == 4 ? "-hd2" : level == 2 ? "-hd" : "") + ".png";
}

// A decoded RGBA picture.
struct Picture {
  int w = 0, h = 0;
  std::unique_ptr<unsigned char, void (*)(void*)> px{nullptr, stbi_image_free};
  const unsigned char* at(int x, int y) const { return px.get() + (size_t(y) * w + x) * 4; }
  unsigned char alpha(int x, int y) const { return at(x, y)[3]; }
};

Picture load(const fs::path& file) {
  Picture p;
  int channels = 0;
  p.px.reset(stbi_load(file.c_str(), &p.w, &p.h, &channels, 4));
  return p;
}

// Walks the frames as the image loader does; returns their top-left corners, or an empty list where the loader
// would stop with "Image frame outside surface".
std::vector<std::pair<int, int>> walkFrames(int sheetW, int sheetH, int w, int h, int frames) {
  std::vector<std::pair<int, int>> out;
  int x = 0, y = 0;
  for (int i = 0; i < frames; ++i) {
    if (x + w > sheetW) {
      y += h;
      if (w > sheetW) return {};
      x = 0;
    }
    if (y + h > sheetH) return {};
    out.emplace_back(x, y);
    x += w;
  }
  return out;
}

// Sum of alpha over a rectangle.
long inkIn(const Picture& p, int x0, int y0, int w, int h) {
  long sum = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) sum += p.alpha(x, y);
  return sum;
}

// The box of the solid pixels (alpha 220 and up) of a cell; soft shadows and glows stay out of it.
struct Box {
  int left, top, right, bottom;  // inclusive; right < 0 when the cell has no solid pixel
  double midX() const { return (left + right + 1) / 2.0; }
  double midY() const { return (top + bottom + 1) / 2.0; }
};

Box solidBox(const Picture& p, int x0, int y0, int w, int h) {
  Box b{w, h, -1, -1};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (p.alpha(x0 + x, y0 + y) >= 220) {
        b.left = std::min(b.left, x), b.right = std::max(b.right, x);
        b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
      }
  return b;
}

TEST(DataImages, EveryFileAtEveryLevelHoldsEveryFrameWithInk) {
  for (const auto& e : kImages)
    for (int level : kLevels) {
      const fs::path file = kData / fileFor(e.name, level);
      SCOPED_TRACE(file.string());
      const Picture p = load(file);
      ASSERT_TRUE(p.px) << "missing or undecodable: " << stbi_failure_reason();
      const int w = e.cellW * level, h = e.cellH * level;
      const auto frames = walkFrames(p.w, p.h, w, h, e.frames);
      ASSERT_EQ(int(frames.size()), e.frames) << "sheet " << p.w << "x" << p.h << " cannot hold the frames";
      EXPECT_EQ(p.w % w, 0) << "a partial column of cells is wasted space";
      // A font's frame 0 is the space; every other frame must show something.
      const bool font = std::string(e.name).rfind("fonts/", 0) == 0;
      for (int f = font ? 1 : 0; f < e.frames; ++f)
        EXPECT_GT(inkIn(p, frames[f].first, frames[f].second, w, h), 0) << "frame " << f << " is empty";
    }
}

TEST(DataImages, HigherLevelsAreTheSamePicturesAtTwiceAndFourTimesTheSize) {
  for (const auto& e : kImages) {
    const Picture one = load(kData / fileFor(e.name, 1));
    ASSERT_TRUE(one.px) << e.name;
    for (int level : {2, 4}) {
      const Picture p = load(kData / fileFor(e.name, level));
      ASSERT_TRUE(p.px) << e.name;
      EXPECT_EQ(p.w, one.w * level) << e.name;
      EXPECT_EQ(p.h, one.h * level) << e.name;
    }
  }
}

TEST(DataImages, FontCapitalsSitWhereTextAndTheGridExpectTheirInk) {
  // Text places each frame by its centre, so the interface font's capitals are centred. The grid draws each letter a
  // quarter cell right of its marker, so the grid fonts' capitals are centred a quarter cell left of the middle.
  // The space stays empty.
  for (const char* name : {"fonts/Mira_White", "fonts/Mira_Black", "fonts/shadow_editundo"})
    for (int level : kLevels) {
      const Picture p = load(kData / fileFor(name, level));
      ASSERT_TRUE(p.px) << name;
      const int cell = 16 * level;
      EXPECT_EQ(inkIn(p, 0, 0, cell, cell), 0) << name << ": the space shows ink";
      for (char c : std::string("HOXIT")) {
        // The shadow never reaches full opacity, so only the letter itself is in the solid box.
        const int f = c - 32;
        const Box box = solidBox(p, (f % 16) * cell, (f / 16) * cell, cell, cell);
        ASSERT_GE(box.right, 0) << name << " '" << c << "'";
        const double slack = 0.75 * level + 0.5;
        const bool grid = std::string(name).find("Mira") != std::string::npos;
        EXPECT_NEAR(box.midX(), grid ? cell / 4.0 : cell / 2.0, slack) << name << " '" << c << "' at level " << level;
        EXPECT_NEAR(box.midY(), cell / 2.0, slack) << name << " '" << c << "' at level " << level;
      }
    }
}

TEST(DataImages, PlainFontIsOneRowOf96GlyphsWithEmptyBorderColumns) {
  const Picture p = load(kData / "dravo_font.png");
  ASSERT_TRUE(p.px) << stbi_failure_reason();
  ASSERT_EQ(p.w % 96, 0) << "the loader divides the width by 96";
  const int w = p.w / 96;
  ASSERT_GE(w, 3) << "the pad flag takes a column from each side";
  for (int f = 0; f < 96; ++f) {
    EXPECT_EQ(inkIn(p, f * w, 0, 1, p.h), 0) << "left border of frame " << f;
    EXPECT_EQ(inkIn(p, f * w + w - 1, 0, 1, p.h), 0) << "right border of frame " << f;
    if (f > 0) {
      EXPECT_GT(inkIn(p, f * w + 1, 0, w - 2, p.h), 0) << "frame " << f << " is empty";
    }
  }
  EXPECT_FALSE(fs::exists(kData / "dravo_font-hd.png")) << "the plain font exists at one level only";
}

TEST(DataImages, StarSpritesAreAllDifferent) {
  for (int level : kLevels) {
    const Picture p = load(kData / fileFor("parts", level));
    ASSERT_TRUE(p.px);
    const int cell = 8 * level;
    std::vector<std::string> seen;
    for (int f = 0; f < 256; ++f) {
      std::string bytes;
      for (int y = 0; y < cell; ++y) {
        const unsigned char* row = p.px.get() + ((size_t((f / 16) * cell + y) * p.w) + (f % 16) * cell) * 4;
        bytes.append(reinterpret_cast<const char*>(row), cell * 4);
      }
      for (size_t g = 0; g < seen.size(); ++g) EXPECT_NE(seen[g], bytes) << "frames " << g << " and " << f;
      seen.push_back(bytes);
    }
  }
}

TEST(DataImages, GridFontsAreTheSameLettersInWhiteAndInBlack) {
  // The grid swaps these two fonts with the colour scheme: the letters must not change shape, and each font
  // must be the colour that reads on its background.
  for (int level : kLevels) {
    const Picture white = load(kData / fileFor("fonts/Mira_White", level));
    const Picture black = load(kData / fileFor("fonts/Mira_Black", level));
    ASSERT_TRUE(white.px && black.px);
    ASSERT_EQ(white.w, black.w);
    ASSERT_EQ(white.h, black.h);
    long shapeDiffs = 0, wrongColour = 0;
    for (int y = 0; y < white.h; ++y)
      for (int x = 0; x < white.w; ++x) {
        shapeDiffs += white.alpha(x, y) != black.alpha(x, y);
        if (white.alpha(x, y) < 128) continue;
        for (int c = 0; c < 3; ++c) wrongColour += white.at(x, y)[c] < 235 || black.at(x, y)[c] > 30;
      }
    EXPECT_EQ(shapeDiffs, 0) << "level " << level;
    EXPECT_EQ(wrongColour, 0) << "level " << level;
  }
}

TEST(DataImages, ButtonSheetCogLayersMedalsAndRingFitHowTheMenuDrawsThem) {
  for (int level : kLevels) {
    SCOPED_TRACE("level " + std::to_string(level));
    const Picture buttons = load(kData / fileFor("common/Buttons", level));
    ASSERT_TRUE(buttons.px);
    const int cell = 64 * level, columns = buttons.w / cell;
    // The cog layers turn about the cell centre at different speeds: off-centre, the stacked cog would wobble.
    for (int f = 8; f <= 10; ++f) {
      const Box b = solidBox(buttons, (f % columns) * cell, (f / columns) * cell, cell, cell);
      ASSERT_GE(b.right, 0) << "cog layer " << f;
      EXPECT_NEAR(b.midX(), cell / 2.0, 0.5 * level + 0.5) << "cog layer " << f;
      EXPECT_NEAR(b.midY(), cell / 2.0, 0.5 * level + 0.5) << "cog layer " << f;
    }
    // A group name is written over the middle of each medal in white: the middle must be dark and even.
    for (int f = 0; f <= 6; ++f) {
      const int cx = (f % columns) * cell + cell / 2, cy = (f / columns) * cell + cell / 2, r = 12 * level;
      double sum = 0, sumSq = 0, n = 0;
      for (int y = -r; y <= r; ++y)
        for (int x = -r; x <= r; ++x) {
          if (x * x + y * y > r * r) continue;
          const unsigned char* px = buttons.at(cx + x, cy + y);
          ASSERT_EQ(px[3], 255) << "medal " << f << " has a see-through middle";
          const double lum = 0.3 * px[0] + 0.59 * px[1] + 0.11 * px[2];
          sum += lum, sumSq += lum * lum, n += 1;
        }
      const double mean = sum / n, spread = std::sqrt(std::max(0.0, sumSq / n - mean * mean));
      EXPECT_LT(mean, 110) << "medal " << f << " is too light under white text";
      EXPECT_LT(spread, 20) << "medal " << f << " is busy under its text";
    }
    // The highlight ring is tinted yellow by the game, so it must be near white, with a clear middle.
    const Picture icons = load(kData / fileFor("common/icons", level));
    ASSERT_TRUE(icons.px);
    const int icell = 32 * level, x0 = (6 % (icons.w / icell)) * icell, y0 = (6 / (icons.w / icell)) * icell;
    EXPECT_EQ(icons.alpha(x0 + icell / 2, y0 + icell / 2), 0);
    for (int y = 0; y < icell; ++y)
      for (int x = 0; x < icell; ++x)
        if (icons.alpha(x0 + x, y0 + y) >= 128) {
          ASSERT_GE(icons.at(x0 + x, y0 + y)[2], 230) << "the ring is not white-ish at " << x << "," << y;
        }
  }
}

TEST(DataImages, ContactSheetsAreWrittenForEveryLevel) {
  for (int level : kLevels) {
    const fs::path file = fs::path(QUORLIX_SHEETS_DIR) / ("contact-" + std::to_string(level) + ".png");
    EXPECT_TRUE(load(file).px) << file;
  }
}

// A WAV file read the way the game's reader does: "RIFF", "WAVE", then "fmt " first, then chunks to "data".
struct Wav {
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;
  std::string error;
};

Wav readWav(const fs::path& file) {
  Wav w;
  std::ifstream in(file, std::ios::binary);
  std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto u32 = [&](size_t at) { return uint32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24); };
  auto u16 = [&](size_t at) { return int(b[at] | b[at + 1] << 8); };
  auto tag = [&](size_t at) { return std::string(reinterpret_cast<const char*>(&b[at]), 4); };
  if (b.size() < 44 || tag(0) != "RIFF" || tag(8) != "WAVE") return w.error = "not RIFF/WAVE", w;
  if (u32(4) != b.size() - 8) return w.error = "RIFF size does not match the file", w;
  if (tag(12) != "fmt ") return w.error = "\"fmt \" is not the first chunk", w;
  const uint32_t fmtLen = u32(16);
  w.format = u16(20);
  w.channels = u16(22);
  w.rate = int(u32(24));
  w.bits = u16(34);
  for (size_t at = 20 + fmtLen; at + 8 <= b.size(); at += 8 + u32(at + 4)) {
    if (tag(at) != "data") continue;
    const uint32_t len = u32(at + 4);
    if (at + 8 + len > b.size()) return w.error = "data chunk cut short", w;
    for (size_t i = 0; i + 1 < len; i += 2) w.samples.push_back(int16_t(u16(at + 8 + i)));
    return w;
  }
  return w.error = "no data chunk", w;
}

TEST(DataSounds, EveryCueIsShortCleanLevelledMonoPcm) {
  const char* cues[] = {"001", "002", "003", "004", "005", "095", "096", "098", "099"};
  double quietest = 1e9, loudest = 0;
  for (const char* cue : cues) {
    const fs::path file = kData / "sfx" / (std::string(cue) + ".wav");
    SCOPED_TRACE(file.string());
    const Wav w = readWav(file);
    ASSERT_EQ(w.error, "");
    EXPECT_EQ(w.format, 1) << "integer PCM";
    EXPECT_EQ(w.bits, 16);
    EXPECT_EQ(w.channels, 1);
    EXPECT_TRUE(w.rate == 44100 || w.rate == 22050) << w.rate;
    ASSERT_GT(w.samples.size(), size_t(w.rate / 100)) << "shorter than 10 ms";
    const double seconds = double(w.samples.size()) / w.rate;
    if (std::string(cue) == "096")
      EXPECT_TRUE(seconds > 1.2 && seconds < 1.8) << "the start jingle lasts about 1.5 s, not " << seconds;
    else
      EXPECT_LT(seconds, 1.0);
    // Silent ends: a cue that starts or stops away from zero clicks.
    EXPECT_LT(std::abs(w.samples.front()), 64);
    EXPECT_LT(std::abs(w.samples.back()), 64);
    int peak = 0;
    for (int16_t s : w.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_LT(peak, 32000) << "clipped";
    // Loudness of the loudest 50 ms, which is what a player hears of a short cue.
    const size_t win = size_t(w.rate / 20);
    double sum = 0, best = 0;
    for (size_t i = 0; i < w.samples.size(); ++i) {
      sum += double(w.samples[i]) * w.samples[i];
      if (i >= win) sum -= double(w.samples[i - win]) * w.samples[i - win];
      best = std::max(best, sum / double(std::min(i + 1, win)));
    }
    quietest = std::min(quietest, std::sqrt(best));
    loudest = std::max(loudest, std::sqrt(best));
  }
  EXPECT_LT(loudest / quietest, 2.0) << "cues are not levelled";
}

// The icon at each size: a rounded tile (clear corners, solid middle) with the big letter on it, which shows as
// both light fill and dark ink along the tile's middle row.
TEST(DesktopIcon, EverySizeIsATileWithTheLetter) {
  for (int size : kIconSizes) {
    const fs::path file = kIcons / (std::to_string(size) + "x" + std::to_string(size) + ".png");
    SCOPED_TRACE(file.string());
    const Picture p = load(file);
    ASSERT_TRUE(p.px) << "missing or undecodable: " << stbi_failure_reason();
    ASSERT_EQ(p.w, size);
    ASSERT_EQ(p.h, size);
    for (int x : {0, size - 1})
      for (int y : {0, size - 1}) EXPECT_EQ(p.alpha(x, y), 0) << "corner " << x << "," << y;
    int light = 0, dark = 0;
    for (int x = size / 8; x < size * 7 / 8; ++x) {
      const unsigned char* px = p.at(x, size / 2);
      EXPECT_EQ(px[3], 255) << "the tile is not solid at " << x;
      const int luma = (px[0] * 3 + px[1] * 6 + px[2]) / 10;
      light += luma > 200;
      dark += luma < 60;
    }
    EXPECT_GE(light, size / 16) << "no letter fill";
    EXPECT_GE(dark, size / 32) << "no letter outline";
  }
}

// Reads a whole file's bytes.
std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Compares every file below `made` with its namesake below `again`; returns how many there were.
size_t expectSameFiles(const fs::path& made, const fs::path& again) {
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(made)) {
    if (!entry.is_regular_file()) continue;
    const fs::path rel = fs::relative(entry.path(), made);
    EXPECT_TRUE(bytesOf(entry.path()) == bytesOf(again / rel)) << rel << " differs between runs";
    ++files;
  }
  size_t filesAgain = 0;
  for (const auto& entry : fs::recursive_directory_iterator(again)) filesAgain += entry.is_regular_file();
  EXPECT_EQ(files, filesAgain) << again;
  return files;
}

TEST(DataGenerator, SameSourceGivesTheSameBytes) {
  const fs::path again = fs::temp_directory_path() / ("quorlix-artgen-" + std::to_string(::getpid()));
  fs::remove_all(again);
  const std::string cmd = std::string("\"") + QUORLIX_ARTGEN + "\" \"" + (again / "data").string() + "\" \"" +
                          (again / "sheets").string() + "\" \"" + (again / "icons").string() + "\"";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_EQ(expectSameFiles(kData, again / "data"), std::size(kImages) * 3 + 1 + 9)
      << "every image at three levels, the plain font, nine cues";
  EXPECT_EQ(expectSameFiles(kIcons, again / "icons"), std::size(kIconSizes));
  fs::remove_all(again);
}

}  // namespace
