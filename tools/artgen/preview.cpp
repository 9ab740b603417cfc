// Contact sheet previews (see preview.hpp). The menu mock-up places the hub, the three cog layers, the wheel ring,
// the result medals with their group names, the title and the maker's logo where the main menu draws them.
#include "preview.hpp"

#include <cmath>   // std::abs
#include <string>

namespace artgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Extra pen advance of a character in game text.
int kerningOf(unsigned char c) {
  if (c == 'w' || c == 'm') return 2;
  if (c == 'W' || c == 'M') return 1;
  if (c == 'i' || c == 'f' || c == 'l') return -3;
  if (std::string("jskrztn").find(char(c)) != std::string::npos) return -1;
  return 0;
}

// Draws frame `frame` of a sheet with `columns` cells of cw x ch virtual units, its centre at (x, y) in virtual
// units, turned clockwise by `deg` and scaled; optionally as a flat tint through its alpha.
void drawFrame(cairo_t* cr, cairo_surface_t* s, int level, int columns, double cw, double ch, int frame, double x,
               double y, double scale, double deg, double alpha, const double* tint = nullptr) {
  if (!s) return;
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, deg * kPi / 180);
  cairo_scale(cr, scale, scale);
  cairo_rectangle(cr, -cw / 2, -ch / 2, cw, ch);
  cairo_clip(cr);
  cairo_scale(cr, 1.0 / level, 1.0 / level);
  const double ox = -cw * level / 2 - (frame % columns) * cw * level;
  const double oy = -ch * level / 2 - (frame / columns) * ch * level;
  // The game multiplies the picture by its draw colour: the same is done here inside a group.
  cairo_push_group(cr);
  cairo_set_source_surface(cr, s, ox, oy);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
  cairo_paint(cr);
  if (tint) {
    cairo_set_operator(cr, CAIRO_OPERATOR_MULTIPLY);
    cairo_set_source_rgb(cr, tint[0], tint[1], tint[2]);
    cairo_mask_surface(cr, s, ox, oy);
  }
  cairo_pop_group_to_source(cr);
  cairo_paint_with_alpha(cr, alpha);
  cairo_restore(cr);
}

// The picture of a name, or null.
cairo_surface_t* pic(const Pictures& pics, const char* name) {
  auto it = pics.find(name);
  return it == pics.end() ? nullptr : it->second;
}

// Width of game text as the game measures it: the advances of " " + text, all but the last character's.
double measure(const std::string& text) {
  const std::string t = " " + text;
  double w = 0;
  for (size_t i = 0; i + 1 < t.size(); ++i) w += 7 + kerningOf(static_cast<unsigned char>(t[i]));
  return w;
}

}  // namespace

void drawFontFrame(cairo_t* cr, cairo_surface_t* font, int level, int frame, double x, double y, double scale) {
  const int cell = 16 * level;
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, scale, scale);
  cairo_rectangle(cr, -cell / 2.0, -cell / 2.0, cell, cell);
  cairo_clip(cr);
  cairo_set_source_surface(cr, font, -cell / 2.0 - (frame % 16) * cell, -cell / 2.0 - (frame / 16) * cell);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
  cairo_paint(cr);
  cairo_restore(cr);
}

void drawGameText(cairo_t* cr, cairo_surface_t* font, int level, const std::string& text, double x, double y,
                  double unit) {
  for (unsigned char c : text) {
    int frame = c - 32, adjust = kerningOf(c);
    if (c >= 0x80) {
      frame = 96 + (c - 0x80);
      adjust = 4;
    }
    if (frame > 0 && frame < 128) drawFontFrame(cr, font, level, frame, x, y, unit / level);
    x += (7 + adjust) * unit;
  }
}

void drawMenuMockup(cairo_t* cr, const Pictures& pics, int level, double x, double y) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, level, level);
  cairo_rectangle(cr, 0, 0, 640, 480);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 160 / 255.0, 80 / 255.0, 20 / 255.0);
  cairo_paint(cr);
  cairo_surface_t* circle = pic(pics, "common/circle");
  cairo_surface_t* buttons = pic(pics, "common/Buttons");
  cairo_surface_t* font = pic(pics, "fonts/shadow_editundo");
  // The side panel with the play button and the maker's logo.
  cairo_rectangle(cr, 500, 0, 140, 480);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
  cairo_fill(cr);
  const double green[3] = {100 / 255.0, 1.0, 100 / 255.0};
  drawFrame(cr, pic(pics, "common/icons"), level, 4, 32, 32, 3, 570, 432, 3, 0, 0.5, green);
  drawFrame(cr, pic(pics, "common/PLOVLogo"), level, 1, 256, 256, 0, 570, 32, 0.25, 0, 1);
  drawFrame(cr, pic(pics, "logo"), level, 1, 256, 128, 0, 250, 72, 1, 0, 1);
  // The wheel: hub, cog layers, ring, then four groups with their best results.
  const double wx = 38, wy = 416, a = 20;
  drawFrame(cr, circle, level, 2, 256, 256, 1, wx, wy, 0.5, 0, 0.8);
  for (int i = 0; i < 3; ++i)
    drawFrame(cr, buttons, level, 4, 64, 64, 8 + i, wx, wy, 1.5, a * (i == 0 ? 1 : i == 1 ? -2 : 4), 1);
  drawFrame(cr, circle, level, 2, 256, 256, 3, wx, wy, 1.5625, 0, 0.8);
  const char* names[4] = {"Tutorial", "Training", "Animals", "Colours"};
  for (int e = 3; e >= 0; --e) {
    const double A = e * 32 + 48, d = std::abs(A - 45);
    const double r = 116 + (d <= 45 ? (45 - d) * 1.5 : 0);
    const double gx = wx + std::sin(A * kPi / 180) * r, gy = wy - std::cos(A * kPi / 180) * r;
    const double scale = e == 0 ? 2.25 : 1.7;
    drawFrame(cr, buttons, level, 4, 64, 64, e * 2, gx, gy, scale, (A - 55) * 0.5, 1);
    if (font) {
      const double unit = scale / 2;
      drawGameText(cr, font, level, std::string(" ") + names[e], gx - measure(names[e]) * unit / 2, gy, unit);
    }
  }
  cairo_restore(cr);
}

void drawLoadingMockup(cairo_t* cr, const Pictures& pics, int level, double x, double y) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, level, level);
  cairo_rectangle(cr, 0, 0, 640, 480);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  // The spinner's three rings of fading dots, as the loading screen records them; the logo between the first two.
  struct Ring { double start, radius, dot, r, g, b; };
  const Ring rings[3] = {{0, 0.45, 16, 0, 125, 255}, {120, 0.40, 12, 255, 125, 0}, {240, 0.35, 8, 255, 125, 0}};
  for (int k = 0; k < 3; ++k) {
    for (int i = 0; i <= 10; ++i) {
      const double a = (30 + rings[k].start + 4 * i) * kPi / 180, R = rings[k].radius * 480;
      cairo_new_sub_path(cr);
      cairo_arc(cr, 320 + std::sin(a) * R, 240 - std::cos(a) * R, rings[k].dot, 0, 2 * kPi);
      cairo_set_source_rgba(cr, rings[k].r / 255, rings[k].g / 255, rings[k].b / 255, i / 10.0);
      cairo_fill(cr);
    }
    if (k == 0) drawFrame(cr, pic(pics, "common/PLOVLogo"), level, 1, 256, 256, 0, 320, 480 * 0.48, 2, 0, 1);
  }
  if (cairo_surface_t* font = pic(pics, "fonts/shadow_editundo"))
    drawGameText(cr, font, level, " Loading...", 320 - measure("Loading...") / 2, 448, 1);
  cairo_restore(cr);
}

}  // namespace artgen
