// The desktop icon, drawn in a 256 x 256 unit square and scaled to each pixel size.
// Depends on the shared helpers (art.hpp) and the DejaVu outlines (glyphs.hpp). It takes the title logo's look:
// a cream-to-gold letter with a dark ink outline and a gloss, on the warm brown the logo is shown on, with one
// of the logo's sparkles. A faint grid of letters behind it says "word search" where there are pixels enough.
#include "icon.hpp"

#include "art.hpp"
#include "glyphs.hpp"

#include <cstdio>
#include <string>

namespace artgen {

namespace {

const Rgb kInk = rgb255(52, 26, 14);
const Rgb kCream = rgb255(255, 250, 226);
const Rgb kGold = rgb255(255, 170, 40);

// The tile's corners and extent, in units.
constexpr double kTileX = 16, kTileY = 12, kTileSide = 224, kTileRadius = 46;

// Adds the outline of the big letter, its ink centred on (cx, cy).
void addLetter(cairo_t* cr, double cap, double cx, double cy) {
  cairo_new_path(cr);
  addText(cr, Face::SansBold, "Q", cap, 0, 0);
  double x1, y1, x2, y2;
  cairo_path_extents(cr, &x1, &y1, &x2, &y2);
  cairo_new_path(cr);
  addText(cr, Face::SansBold, "Q", cap, cx - (x1 + x2) / 2, cy - (y1 + y2) / 2);
}

void drawIcon(cairo_t* cr, int size) {
  // The tile, over a soft shadow just below it.
  addRoundedRect(cr, kTileX, kTileY + 6, kTileSide, kTileSide, kTileRadius);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
  cairo_fill(cr);
  addRoundedRect(cr, kTileX, kTileY, kTileSide, kTileSide, kTileRadius);
  fillVertical(cr, kTileY, rgb255(150, 92, 50), rgb255(66, 38, 22), kTileY + kTileSide);
  addRoundedRect(cr, kTileX + 5, kTileY + 5, kTileSide - 10, kTileSide - 10, kTileRadius - 5);
  setColour(cr, rgb255(255, 210, 120), 0.35);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);

  // NOTE: at 48 and 64 pixels a grid letter would be three pixels tall, only noise behind the big letter.
  if (size >= 128) {
    const char* letters = "QUORLIXWORDSEARCHQUORLIXWO";
    cairo_save(cr);
    addRoundedRect(cr, kTileX + 8, kTileY + 8, kTileSide - 16, kTileSide - 16, kTileRadius - 8);
    cairo_clip(cr);
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 5; ++col) {
        const std::string letter(1, letters[row * 5 + col]);
        addText(cr, Face::Mono, letter, 20, kTileX + 24 + col * 44, kTileY + 24 + row * 44);
      }
    setColour(cr, kCream, 0.13);
    cairo_fill(cr);
    cairo_restore(cr);
  }

  // The letter: shadow, ink outline, gradient fill, then a gloss over its top half, as in the title logo.
  const double cap = 136, cx = 124, cy = 120;
  addLetter(cr, cap, cx + 5, cy + 8);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
  cairo_set_line_width(cr, 16);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  cairo_fill(cr);
  addLetter(cr, cap, cx, cy);
  setColour(cr, kInk);
  cairo_set_line_width(cr, 14);
  cairo_stroke_preserve(cr);
  fillVertical(cr, cy - cap / 2 - 10, kCream, kGold, cy + cap / 2 + 20);
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, 256, cy - 6);
  cairo_clip(cr);
  addLetter(cr, cap, cx, cy);
  setColour(cr, rgb255(255, 255, 255), 0.3);
  cairo_fill(cr);
  cairo_restore(cr);

  // One of the logo's sparkles, by the letter's top right.
  addStar(cr, 206, 50, 4, 20, 4.5, 0);
  setColour(cr, rgb255(255, 246, 210));
  cairo_fill(cr);
}

}  // namespace

bool writeIcons(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  bool ok = true;
  for (int size : kIconSizes) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, size / 256.0, size / 256.0);
    drawIcon(cr, size);
    cairo_destroy(cr);
    const std::string name = std::to_string(size) + "x" + std::to_string(size) + ".png";
    const std::filesystem::path file = folder / name;
    const bool written = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!written) std::fprintf(stderr, "artgen: cannot write %s\n", file.c_str());
    ok = written && ok;
  }
  return ok;
}

}  // namespace artgen
