// quorlix_artgen: draws every image and synthesises every sound of the game's data folder, and the desktop icon.
// Usage: quorlix_artgen <data folder> <contact sheet folder> <icon folder>
// Depends on the art levels (game/art_levels.h), the sheet table (art.hpp), the sound table (sounds.hpp), the
// contact sheets (contact.hpp), the icon (icon.hpp) and the PNG writer (pngfile.hpp).
// NOTE: nothing here reads the clock, the environment or a random source, so one source gives one set of bytes.
#include "art.hpp"
#include "contact.hpp"
#include "icon.hpp"
#include "pngfile.hpp"
#include "sounds.hpp"

#include "game/art_levels.h"  // the levels and their file suffixes

#include <cstdio>
#include <filesystem>  // create_directories
#include <ranges>      // views::reverse
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// File name suffix of an art level (game/art_levels.h).
std::string levelSuffix(int level) { return std::string(art::LevelOf(level).suffix); }

// Draws one sheet at one level and writes it; returns false when the file cannot be written.
bool writeSheet(const artgen::Sheet& s, int level, const fs::path& file) {
  const int rows = (s.frames + s.columns - 1) / s.columns;
  const int cw = s.cellW * level, ch = s.cellH * level;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cw * s.columns, ch * rows);
  cairo_t* cr = cairo_create(surface);
  for (int f = 0; f < s.frames; ++f) {
    cairo_save(cr);
    cairo_translate(cr, (f % s.columns) * cw, (f / s.columns) * ch);
    // NOTE: each frame is clipped to its own cell so no stroke or glow bleeds into a neighbour's frame.
    cairo_rectangle(cr, 0, 0, cw, ch);
    cairo_clip(cr);
    cairo_scale(cr, level, level);
    s.draw(cr, f, level);
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  fs::create_directories(file.parent_path());
  const bool ok = artgen::writePng(surface, file);
  cairo_surface_destroy(surface);
  if (!ok) std::fprintf(stderr, "artgen: cannot write %s\n", file.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s <data folder> <contact sheet folder> <icon folder>\n", argv[0]);
    return 2;
  }
  const fs::path data = argv[1], sheets = argv[2], icons = argv[3];
  std::vector<artgen::Sheet> all;
  for (auto group : {artgen::fontSheets, artgen::interfaceSheets, artgen::buttonSheets, artgen::menuSheets,
                     artgen::spriteSheets, artgen::brandSheets})
    for (auto& s : group()) all.push_back(std::move(s));

  bool ok = true;
  for (const art::Level& entry : art::kLevels | std::views::reverse) {
    const int level = entry.level;
    std::vector<artgen::ContactEntry> entries;
    for (const auto& s : all) {
      if (!s.allLevels && level != 1) continue;
      const fs::path file = data / (s.name + (s.allLevels ? levelSuffix(level) : "") + ".png");
      ok = writeSheet(s, level, file) && ok;
      entries.push_back({s.name, file});
    }
    fs::create_directories(sheets);
    ok = artgen::writeContactSheet(entries, level, sheets / ("contact-" + std::to_string(level) + ".png")) && ok;
  }
  ok = artgen::writeSounds(data / "sfx") && ok;
  ok = artgen::writeIcons(icons) && ok;
  return ok ? 0 : 1;
}
