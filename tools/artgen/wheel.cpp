// Menu scenery: the circle sheet (glow disc, wheel hub, selection ring, wheel ring) and the four menu pictures.
// Depends on the shared helpers (art.hpp) and the glyph outlines for the letter tiles.
// The wheel ring is drawn at 1.56 times its cell about the wheel's centre while the groups ride on it 32 degrees
// apart, starting 48 degrees round; its ticks every 8 degrees therefore line up with every group as it turns.
#include "art.hpp"
#include "glyphs.hpp"

#include <cmath>  // sin, cos

namespace artgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
const Rgb kWhite{1, 1, 1};
const Rgb kCream = rgb255(255, 240, 210);

// The hub behind the options cog: a dark, quiet centre so the silver cog stands out, with a cream rim.
void hub(cairo_t* cr) {
  const double c = 128;
  addCircle(cr, c, c + 3, 124);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
  cairo_fill(cr);
  addCircle(cr, c, c, 122);
  fillVertical(cr, 6, kCream, rgb255(200, 150, 90), 250);
  addCircle(cr, c, c, 108);
  fillRadial(cr, c, c - 20, 130, rgb255(74, 58, 56), 1.0, rgb255(28, 22, 26), 1.0);
  cairo_set_line_width(cr, 1.6);
  for (double r : {96.0, 84.0}) {
    addCircle(cr, c, c, r);
    cairo_set_source_rgba(cr, 1, 0.9, 0.75, 0.12);
    cairo_stroke(cr);
  }
  for (int i = 0; i < 24; ++i) {
    const double a = i * kPi / 12;
    addCircle(cr, c + std::sin(a) * 115, c - std::cos(a) * 115, 2.2);
  }
  setColour(cr, rgb255(120, 80, 40), 0.8);
  cairo_fill(cr);
}

// The wheel ring: a light track where the groups ride, ticked every 8 degrees, with fine guide circles.
void ring(cairo_t* cr) {
  const double c = 128;
  addCircle(cr, c, c, 82);
  addCircle(cr, c, c, 66);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  setColour(cr, kWhite, 0.28);
  cairo_fill(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_set_line_width(cr, 1.5);
  for (double r : {66.0, 82.0}) {
    addCircle(cr, c, c, r);
    setColour(cr, kWhite, 0.85);
    cairo_stroke(cr);
  }
  for (int i = 0; i < 45; ++i) {
    const double a = i * 8 * kPi / 180, inner = (i % 4 == 2) ? 68.0 : 72.0, outer = (i % 4 == 2) ? 80.0 : 76.0;
    cairo_move_to(cr, c + std::sin(a) * inner, c - std::cos(a) * inner);
    cairo_line_to(cr, c + std::sin(a) * outer, c - std::cos(a) * outer);
  }
  setColour(cr, kWhite, 0.9);
  cairo_set_line_width(cr, 1.4);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  for (int i = 0; i < 90; ++i) {
    const double a = i * 4 * kPi / 180;
    addCircle(cr, c + std::sin(a) * 100, c - std::cos(a) * 100, i % 2 ? 0.9 : 1.5);
  }
  setColour(cr, kWhite, 0.6);
  cairo_fill(cr);
  addCircle(cr, c, c, 122);
  setColour(cr, kWhite, 0.35);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
}

void drawCircle(cairo_t* cr, int f, int) {
  const double c = 128;
  switch (f) {
    case 0:  // a soft disc of light
      addCircle(cr, c, c, 126);
      fillRadial(cr, c, c, 126, kWhite, 0.9, kWhite, 0.0);
      break;
    case 1: hub(cr); break;
    case 2:  // a selection ring with a soft glow
      for (int i = 0; i < 4; ++i) {
        addCircle(cr, c, c, 112);
        setColour(cr, kWhite, i == 3 ? 1.0 : 0.18);
        cairo_set_line_width(cr, i == 3 ? 5.0 : 5.0 + (3 - i) * 6.0);
        cairo_stroke(cr);
      }
      break;
    default: ring(cr); break;
  }
}

// A sunburst of soft warm rays.
void sunburst(cairo_t* cr) {
  const double c = 128;
  for (int i = 0; i < 24; ++i) {
    const double a0 = (i * 15 - 4) * kPi / 180, a1 = (i * 15 + 4) * kPi / 180;
    cairo_move_to(cr, c, c);
    cairo_line_to(cr, c + std::sin(a0) * 128, c - std::cos(a0) * 128);
    cairo_line_to(cr, c + std::sin(a1) * 128, c - std::cos(a1) * 128);
    cairo_close_path(cr);
  }
  fillRadial(cr, c, c, 128, rgb255(255, 230, 160), 0.7, rgb255(255, 170, 60), 0.0);
  addCircle(cr, c, c, 60);
  fillRadial(cr, c, c, 60, rgb255(255, 250, 220), 0.9, rgb255(255, 210, 120), 0.0);
}

// A framed panel: dark glass with a cream border, for boxes laid over the menu.
void panel(cairo_t* cr) {
  addRoundedRect(cr, 10, 14, 236, 236, 22);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
  cairo_fill(cr);
  addRoundedRect(cr, 8, 8, 240, 236, 22);
  fillVertical(cr, 8, rgb255(70, 44, 30), rgb255(34, 22, 18), 244, 0.92);
  addRoundedRect(cr, 14, 14, 228, 224, 17);
  setColour(cr, kCream, 0.9);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  addRoundedRect(cr, 20, 20, 216, 60, 12);
  fillVertical(cr, 20, kWhite, kWhite, 80, 0.08);
}

// Letter tiles, one word across them ringed as if found: the game in one picture.
void tiles(cairo_t* cr, int level) {
  const char* rows[4] = {"QWOR", "FOUN", "DZXA", "LIKE"};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const double tx = 20 + x * 56, ty = 20 + y * 56;
      addRoundedRect(cr, tx + 2, ty + 4, 48, 48, 8);
      cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
      cairo_fill(cr);
      addRoundedRect(cr, tx, ty, 48, 48, 8);
      fillVertical(cr, ty, rgb255(255, 248, 232), rgb255(226, 212, 188), ty + 48);
      addGlyph(cr, Face::SansBold, char32_t(rows[y][x]), {26, 0.95, 36}, tx + 24, ty + 24, level);
      setColour(cr, rgb255(60, 40, 30));
      cairo_fill(cr);
    }
  addRoundedRect(cr, 16, 72, 224, 56, 28);
  setColour(cr, rgb255(250, 160, 0), 0.9);
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
}

// A small night sky: a crescent moon among stars joined into a constellation.
void sky(cairo_t* cr) {
  addCircle(cr, 128, 128, 124);
  fillRadial(cr, 128, 100, 150, rgb255(40, 52, 100), 1.0, rgb255(12, 14, 34), 1.0);
  // The crescent: a full moon with an offset disc taken out of it, in a group so the sky stays whole.
  cairo_push_group(cr);
  addCircle(cr, 86, 84, 34);
  setColour(cr, rgb255(255, 240, 190));
  cairo_fill(cr);
  addCircle(cr, 104, 70, 30);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_fill(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_pop_group_to_source(cr);
  cairo_paint(cr);
  const double pts[6][2] = {{140, 60}, {178, 86}, {206, 70}, {196, 130}, {150, 168}, {176, 196}};
  for (int i = 0; i < 6; ++i) cairo_line_to(cr, pts[i][0], pts[i][1]);
  setColour(cr, kWhite, 0.35);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  for (int i = 0; i < 6; ++i) addStar(cr, pts[i][0], pts[i][1], 4, 7 - (i % 3), 1.8, i * 10.0);
  setColour(cr, kWhite);
  cairo_fill(cr);
  // Faint background stars at fixed, scattered places.
  for (int i = 0; i < 40; ++i) {
    const double x = 40 + std::fmod(i * 97.3, 176), y = 40 + std::fmod(i * 57.7 + i * i * 3.1, 176);
    addCircle(cr, x, y, 0.8 + (i % 3) * 0.4);
  }
  setColour(cr, kWhite, 0.6);
  cairo_fill(cr);
}

void drawMenu(cairo_t* cr, int f, int level) {
  switch (f) {
    case 0: sunburst(cr); break;
    case 1: panel(cr); break;
    case 2: tiles(cr, level); break;
    default: sky(cr); break;
  }
}

}  // namespace

std::vector<Sheet> menuSheets() {
  return {
      Sheet{"common/circle", 256, 256, 4, 2, true, drawCircle},
      Sheet{"menu", 256, 256, 4, 2, true, drawMenu},
  };
}

}  // namespace artgen
