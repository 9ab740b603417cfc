// Contact sheets (see contact.hpp). Above the sheets sit previews of what players see most: grid letters at the
// grid's cell size on the light and the dark play backgrounds, interface text on the menu colour and the main
// menu, scaled from the level's own files with bilinear filtering as the game's textures are.
#include "contact.hpp"

#include "art.hpp"
#include "glyphs.hpp"
#include "preview.hpp"

#include <cairo.h>

#include <algorithm>  // std::max
#include <cstdio>
#include <map>

namespace artgen {

namespace {

namespace fs = std::filesystem;

constexpr double kGridCell = 34.0;  // grid cell size in virtual units on the 640 x 480 screen

// Reads a written sheet back; null when it cannot be read.
cairo_surface_t* readPng(const fs::path& file) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(file.c_str());
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "artgen: cannot read back %s\n", file.c_str());
    cairo_surface_destroy(s);
    return nullptr;
  }
  return s;
}

// Writes a label in dark grey.
void label(cairo_t* cr, const std::string& text, double x, double y, double size) {
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.12);
  const double w = textWidth(Face::SansBold, text, size);
  addText(cr, Face::SansBold, text, size, x + w / 2, y);
  cairo_fill(cr);
}

}  // namespace

bool writeContactSheet(const std::vector<ContactEntry>& entries, int level, const fs::path& out) {
  Pictures pics;
  bool ok = true;
  for (const auto& e : entries) {
    pics[e.name] = readPng(e.file);
    ok = ok && pics[e.name];
  }
  if (!ok) {
    for (auto& [n, s] : pics) if (s) cairo_surface_destroy(s);
    return false;
  }
  const double L = level, pad = 12.0 * L, labelH = 14.0 * L;
  const double previewCell = kGridCell * L;
  const int width = int(std::max(13 * previewCell * 2 + 3 * pad, 1340.0 * L));

  // Shelf layout of the sheets below the previews.
  struct Place { std::string name; double x, y; };
  std::vector<Place> places;
  const double menuY = 2 * previewCell + 3 * 12 * L + 4 * pad + 30 * L;
  const double previewH = menuY + 480 * L + pad;
  double x = pad, y = previewH + pad, shelfH = 0;
  for (const auto& e : entries) {
    const double w = cairo_image_surface_get_width(pics[e.name]);
    const double h = cairo_image_surface_get_height(pics[e.name]) + labelH;
    if (x + w + pad > width && x > pad) {
      x = pad;
      y += shelfH + pad;
      shelfH = 0;
    }
    places.push_back({e.name, x, y});
    x += std::max(w, 200.0 * L) + pad;
    shelfH = std::max(shelfH, h);
  }
  const int height = int(y + shelfH + pad);

  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(sheet);
  cairo_set_source_rgb(cr, 0.72, 0.72, 0.74);
  cairo_paint(cr);

  // Grid previews: 26 letters in two rows of 13, light scheme left, dark scheme right.
  const char* letters = "QUORLIXABCDEFGHJKMNPSTVWYZ";
  const Rgb light = rgb255(230, 230, 230), dark = rgb255(60, 60, 60);
  for (int scheme = 0; scheme < 2; ++scheme) {
    const double ox = pad + scheme * (13 * previewCell + pad), oy = pad;
    cairo_rectangle(cr, ox, oy, 13 * previewCell, 2 * previewCell);
    setColour(cr, scheme ? dark : light);
    cairo_fill(cr);
    cairo_surface_t* font = pics[scheme ? "fonts/Mira_White" : "fonts/Mira_Black"];
    for (int i = 0; i < 26; ++i) {
      // As in play, each letter's image sits a quarter cell right of the cell's middle, where its ink lands.
      const double cx = ox + (i % 13 + 0.75) * previewCell, cy = oy + (i / 13 + 0.5) * previewCell;
      drawFontFrame(cr, font, level, letters[i] - 32, cx, cy, kGridCell / 16.0);
    }
  }
  // Interface text at scale 1 and 2 on the menu colour and on black.
  const double ty = pad * 2 + 2 * previewCell;
  cairo_rectangle(cr, pad, ty, width - 2 * pad, 3 * 12 * L + 30 * L);
  setColour(cr, rgb255(160, 80, 20));
  cairo_fill(cr);
  cairo_surface_t* ui = pics["fonts/shadow_editundo"];
  drawGameText(cr, ui, level, "Sound : [-  - Normal-]  Quorlix! Find the word, gain the medal. 0123456789 ?", pad + 8 * L,
               ty + 10 * L, L);
  drawGameText(cr, ui, level, std::string("Resume \x82  Menu \x90 Back \x8e Move \x89\x8a\x8b\x8c Keys \x99\x9a"),
               pad + 8 * L, ty + 28 * L, L);
  drawGameText(cr, ui, level, "Wordy Wilderness: jumping fox, quick mice", pad + 8 * L, ty + 54 * L, 2 * L);

  drawMenuMockup(cr, pics, level, pad, menuY);
  drawLoadingMockup(cr, pics, level, 2 * pad + 640 * L, menuY);

  for (const auto& p : places) {
    cairo_surface_t* s = pics[p.name];
    label(cr, p.name, p.x, p.y + labelH * 0.45, 7.0 * L);
    const double w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    // A checkerboard behind each sheet shows its transparency.
    const double sq = 8 * L;
    for (int j = 0; j * sq < h; ++j)
      for (int i = 0; i * sq < w; ++i) {
        cairo_rectangle(cr, p.x + i * sq, p.y + labelH + j * sq, std::min(sq, w - i * sq), std::min(sq, h - j * sq));
        const double v = ((i + j) % 2) ? 0.36 : 0.30;
        cairo_set_source_rgb(cr, v, v, v + 0.02);
        cairo_fill(cr);
      }
    cairo_set_source_surface(cr, s, p.x, p.y + labelH);
    cairo_paint(cr);
  }
  cairo_destroy(cr);
  for (auto& [n, s] : pics) cairo_surface_destroy(s);
  ok = cairo_surface_write_to_png(sheet, out.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(sheet);
  if (!ok) std::fprintf(stderr, "artgen: cannot write %s\n", out.c_str());
  return ok;
}

}  // namespace artgen
