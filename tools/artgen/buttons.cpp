// The button sheet: result medals 0..6, the three layers of the options cog 8..10, the credits icon 12, and simple
// spares in the other frames (7 a padlock, 11 add, 13 a trophy, 14 next, 15 a plain round button).
// Depends on the shared helpers (art.hpp). Medals sit on the menu wheel at 1.7 times their cell with a group name
// written over them at half that, so their middles stay dark and quiet.
#include "art.hpp"

#include <cmath>  // sin, cos

namespace artgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
const Rgb kWhite{1, 1, 1};

// Result medal n (0 dull .. 6 gold). The face stays dark and even because a group name is written over it; the
// result shows as n bright pips on the rim, and the rim's metal warms from slate to gold.
void drawMedal(cairo_t* cr, int n) {
  static const Rgb metals[7] = {rgb255(112, 118, 128), rgb255(140, 104, 80),  rgb255(184, 118, 62),
                                rgb255(200, 150, 90),  rgb255(188, 194, 206), rgb255(222, 228, 240),
                                rgb255(246, 196, 64)};
  // Deep faces in each metal's own hue, dark enough under white names.
  static const Rgb faces[7] = {rgb255(40, 44, 50), rgb255(54, 40, 34), rgb255(62, 38, 24), rgb255(66, 48, 30),
                               rgb255(46, 50, 60), rgb255(54, 60, 74), rgb255(92, 56, 16)};
  const Rgb metal = metals[n];
  const double cx = 32, cy = 32;
  if (n == 6) {  // the gold medal alone gets a burst of rays
    addStar(cr, cx, cy, 16, 31, 24, 0);
    fillRadial(cr, cx, cy, 31, rgb255(255, 236, 150), 0.9, rgb255(255, 200, 60), 0.0);
  }
  // Soft shadow, rim, face.
  addCircle(cr, cx + 1, cy + 1.6, 25.5);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
  cairo_fill(cr);
  addCircle(cr, cx, cy, 25);
  cairo_pattern_t* rim = cairo_pattern_create_linear(cx - 18, cy - 25, cx + 18, cy + 25);
  const Rgb hi = mix(metal, kWhite, 0.45), lo = mix(metal, Rgb{0, 0, 0}, 0.35);
  cairo_pattern_add_color_stop_rgb(rim, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(rim, 0.5, metal.r, metal.g, metal.b);
  cairo_pattern_add_color_stop_rgb(rim, 1, lo.r, lo.g, lo.b);
  cairo_set_source(cr, rim);
  cairo_fill(cr);
  cairo_pattern_destroy(rim);
  addCircle(cr, cx, cy, 18.5);
  const Rgb face = faces[n];
  fillRadial(cr, cx, cy - 6, 24, mix(face, kWhite, 0.08), 1.0, face, 1.0);
  addCircle(cr, cx, cy, 18.5);
  setColour(cr, lo, 1.0);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  // Six pips on the rim, n of them lit.
  for (int i = 0; i < 6; ++i) {
    const double a = (i * 60.0 + 30.0) * kPi / 180.0;
    const double px = cx + std::sin(a) * 21.8, py = cy - std::cos(a) * 21.8;
    if (i < n) {
      addStar(cr, px, py, 5, 3.4, 1.5, i * 60.0 + 30.0);
      setColour(cr, mix(metal, kWhite, 0.85));
    } else {
      addCircle(cr, px, py, 1.5);
      setColour(cr, lo, 0.9);
    }
    cairo_fill(cr);
  }
}

// The three cog layers, drawn about the cell centre; stacked they make one options cog whose parts turn apart.
void drawCogLayer(cairo_t* cr, int layer) {
  auto outer = [](cairo_t* c) {
    addGear(c, 32, 32, 12, 22.5, 28.5, 0);
    cairo_fill(c);
    addCircle(c, 32, 32, 15.5);
    cutPath(c);
    for (int i = 0; i < 6; ++i) {
      const double a = i * kPi / 3;
      addCircle(c, 32 + std::sin(a) * 19, 32 - std::cos(a) * 19, 1.4);
    }
    cutPath(c);
  };
  auto middle = [](cairo_t* c) {
    addGear(c, 32, 32, 8, 11.5, 15.2, 22.5);
    cairo_fill(c);
    addCircle(c, 32, 32, 7.2);
    cutPath(c);
  };
  auto hub = [](cairo_t* c) {
    addCircle(c, 32, 32, 6.6);
    cairo_fill(c);
    for (int i = 0; i < 4; ++i) {
      const double a = i * kPi / 2;
      addCircle(c, 32 + std::sin(a) * 3.4, 32 - std::cos(a) * 3.4, 1.1);
    }
    cutPath(c);
  };
  if (layer == 0) paintShape(cr, outer, rgb255(226, 228, 234), 1.0, 1.0, 1.2, 1.8, 1.2);
  if (layer == 1) paintShape(cr, middle, rgb255(188, 194, 206), 1.0, 0.8, 0.8, 1.2, 0.8);
  if (layer == 2) paintShape(cr, hub, rgb255(246, 246, 250), 1.0, 0.8, 0.6, 0.9, 0.6);
}

// The credits icon: a scroll with lines of text and a star seal.
void credits(cairo_t* c) {
  addRoundedRect(c, 14, 10, 36, 44, 3);
  cairo_fill(c);
  addCircle(c, 14, 13, 5);
  addCircle(c, 50, 51, 5);
  cairo_fill(c);
  for (int i = 0; i < 4; ++i) addRoundedRect(c, 21, 18 + i * 7, i == 3 ? 14 : 22, 2.6, 1.3);
  cutPath(c);
  addStar(c, 41, 44, 5, 6, 2.6, 0);
  cutPath(c);
}

void drawButton(cairo_t* cr, int f, int) {
  if (f <= 6) {
    drawMedal(cr, f);
    return;
  }
  if (f >= 8 && f <= 10) {
    drawCogLayer(cr, f - 8);
    return;
  }
  auto shape = [f](cairo_t* c) {
    switch (f) {
      case 12: credits(c); break;
      case 7:  // a padlock, for a group not yet open
        cairo_arc(c, 32, 27, 10, kPi, 2 * kPi);
        cairo_line_to(c, 42, 30);
        cairo_move_to(c, 22, 30);
        cairo_line_to(c, 22, 27);
        strokeRound(c, 4.5);
        addRoundedRect(c, 16, 29, 32, 24, 4);
        cairo_fill(c);
        addCircle(c, 32, 39, 3.2);
        addRoundedRect(c, 30.6, 39, 2.8, 8, 1);
        cutPath(c);
        break;
      case 11:  // add
        addCircle(c, 32, 32, 22);
        cairo_fill(c);
        addRoundedRect(c, 29, 18, 6, 28, 2);
        addRoundedRect(c, 18, 29, 28, 6, 2);
        cutPath(c);
        break;
      case 13:  // a trophy
        cairo_move_to(c, 19, 12);
        cairo_line_to(c, 45, 12);
        cairo_curve_to(c, 45, 30, 40, 36, 32, 37);
        cairo_curve_to(c, 24, 36, 19, 30, 19, 12);
        cairo_close_path(c);
        cairo_fill(c);
        cairo_arc(c, 19, 20, 6, kPi * 0.5, kPi * 1.5);
        cairo_new_sub_path(c);
        cairo_arc(c, 45, 20, 6, -kPi * 0.5, kPi * 0.5);
        strokeRound(c, 3);
        addRoundedRect(c, 29, 36, 6, 8, 1);
        addRoundedRect(c, 21, 44, 22, 7, 2);
        cairo_fill(c);
        break;
      case 14:  // next: a double chevron
        cairo_move_to(c, 18, 16);
        cairo_line_to(c, 32, 32);
        cairo_line_to(c, 18, 48);
        cairo_move_to(c, 32, 16);
        cairo_line_to(c, 46, 32);
        cairo_line_to(c, 32, 48);
        strokeRound(c, 6);
        break;
      default:  // a plain round button
        addCircle(c, 32, 32, 24);
        cairo_fill(c);
        addCircle(c, 32, 32, 19);
        dimPath(c, 0.25);
        break;
    }
  };
  paintShape(cr, shape, kWhite, 1.0, 1.0, 1.5, 2.0, 1.5);
}

}  // namespace

std::vector<Sheet> buttonSheets() {
  return {Sheet{"common/Buttons", 64, 64, 16, 4, true, drawButton}};
}

}  // namespace artgen
