// Interface sheets: the icon sheet, the button sheet (result medals, the options cog layers, the credits icon),
// the d-pad pieces and the soft glows.
// Depends on the shared helpers (art.hpp). Most of these are tinted by the game's draw colour, so they are drawn
// in white and light greys, with a soft dark shadow to stand out on any background.
#include "art.hpp"

#include <cmath>  // sin, cos

namespace artgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
const Rgb kWhite{1, 1, 1};

// Cuts the current path out of the shape being built.
void cut(cairo_t* cr) {
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_fill(cr);
  cairo_restore(cr);
}

// Strokes the current path with round ends at the given width.
void strokeRound(cairo_t* cr, double width) {
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

// A loudspeaker body facing right, in a 32 cell.
void speaker(cairo_t* cr) {
  cairo_move_to(cr, 5, 12);
  cairo_line_to(cr, 10, 12);
  cairo_line_to(cr, 16, 6);
  cairo_line_to(cr, 16, 26);
  cairo_line_to(cr, 10, 20);
  cairo_line_to(cr, 5, 20);
  cairo_close_path(cr);
  cairo_fill(cr);
}

// Four corner brackets, pointing out (grow) or in.
void corners(cairo_t* cr, bool out) {
  for (int i = 0; i < 4; ++i) {
    const double sx = (i & 1) ? 1 : -1, sy = (i & 2) ? 1 : -1;
    const double cx = 16 + sx * (out ? 10 : 4), cy = 16 + sy * (out ? 10 : 4);
    const double d = out ? -6 : 6;
    cairo_move_to(cr, cx, cy + sy * d);
    cairo_line_to(cr, cx, cy);
    cairo_line_to(cr, cx + sx * d, cy);
  }
  strokeRound(cr, 3);
}

// The shape of icon `f` of the icon sheet, 32 x 32.
void iconShape(cairo_t* cr, int f) {
  switch (f) {
    case 0:  // pause
      addRoundedRect(cr, 8, 6, 6, 20, 1.5);
      addRoundedRect(cr, 18, 6, 6, 20, 1.5);
      cairo_fill(cr);
      break;
    case 1:  // back to the menu: a house
      cairo_move_to(cr, 16, 4);
      cairo_line_to(cr, 29, 16);
      cairo_line_to(cr, 25, 16);
      cairo_line_to(cr, 25, 28);
      cairo_line_to(cr, 7, 28);
      cairo_line_to(cr, 7, 16);
      cairo_line_to(cr, 3, 16);
      cairo_close_path(cr);
      cairo_fill(cr);
      addRoundedRect(cr, 13, 19, 6, 9, 1);
      cut(cr);
      break;
    case 2:  // restart: a circular arrow
      cairo_arc(cr, 16, 17, 9, -kPi * 0.35, kPi * 1.4);
      strokeRound(cr, 3.5);
      cairo_move_to(cr, 27, 4);
      cairo_line_to(cr, 27.5, 14.5);
      cairo_line_to(cr, 17.5, 11);
      cairo_close_path(cr);
      cairo_fill(cr);
      break;
    case 3:  // play / resume
      cairo_move_to(cr, 9, 5);
      cairo_line_to(cr, 27, 16);
      cairo_line_to(cr, 9, 27);
      cairo_close_path(cr);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      cairo_set_line_width(cr, 2.5);
      cairo_stroke_preserve(cr);
      cairo_fill(cr);
      break;
    case 4:  // options: a small cog
      addGear(cr, 16, 16, 8, 10, 14, 0);
      cairo_fill(cr);
      addCircle(cr, 16, 16, 4.5);
      cut(cr);
      break;
    case 5:  // close
      cairo_move_to(cr, 8, 8);
      cairo_line_to(cr, 24, 24);
      cairo_move_to(cr, 24, 8);
      cairo_line_to(cr, 8, 24);
      strokeRound(cr, 4.5);
      break;
    case 6:  // highlight ring: a bright band with a soft inner and outer glow
      for (int i = 0; i < 4; ++i) {
        addCircle(cr, 16, 16, 13);
        cairo_set_source_rgba(cr, 0, 0, 0, i == 3 ? 1.0 : 0.22);
        cairo_set_line_width(cr, i == 3 ? 2.2 : 2.2 + (3 - i) * 1.6);
        cairo_stroke(cr);
      }
      break;
    case 7:  // check mark
      cairo_move_to(cr, 6, 17);
      cairo_line_to(cr, 13, 24);
      cairo_line_to(cr, 26, 8);
      strokeRound(cr, 4.5);
      break;
    case 8:  // sound on
      speaker(cr);
      cairo_arc(cr, 16, 16, 6, -kPi / 4, kPi / 4);
      cairo_new_sub_path(cr);
      cairo_arc(cr, 16, 16, 11, -kPi / 4, kPi / 4);
      strokeRound(cr, 2.5);
      break;
    case 9:  // sound off
      speaker(cr);
      cairo_move_to(cr, 20, 12);
      cairo_line_to(cr, 28, 20);
      cairo_move_to(cr, 28, 12);
      cairo_line_to(cr, 20, 20);
      strokeRound(cr, 2.5);
      break;
    case 10: corners(cr, true); break;   // fullscreen
    case 11: corners(cr, false); break;  // windowed
    case 12:  // star
      addStar(cr, 16, 17, 5, 13, 5.5, 0);
      cairo_fill(cr);
      break;
    case 13:  // heart
      cairo_move_to(cr, 16, 27);
      cairo_curve_to(cr, 4, 19, 3, 11, 6, 8);
      cairo_curve_to(cr, 9, 4.5, 14, 5.5, 16, 10);
      cairo_curve_to(cr, 18, 5.5, 23, 4.5, 26, 8);
      cairo_curve_to(cr, 29, 11, 28, 19, 16, 27);
      cairo_close_path(cr);
      cairo_fill(cr);
      break;
    case 14:  // question
      cairo_arc(cr, 16, 11.5, 6, -kPi, kPi * 0.3);
      cairo_curve_to(cr, 19, 17.5, 16, 17.5, 16, 20.5);
      strokeRound(cr, 3.5);
      addCircle(cr, 16, 26, 2.2);
      cairo_fill(cr);
      break;
    default:  // information
      addCircle(cr, 16, 16, 13);
      cairo_fill(cr);
      addCircle(cr, 16, 9.5, 2.3);
      addRoundedRect(cr, 14, 13.5, 4, 11, 1);
      cut(cr);
      break;
  }
}

void drawIcon(cairo_t* cr, int f, int) {
  auto shape = [f](cairo_t* c) { iconShape(c, f); };
  if (f == 6)
    paintShape(cr, shape, Rgb{1, 1, 0.96});
  else
    paintShape(cr, shape, kWhite, 1.0, 1.0, 1.0, 1.3, 1.0);
}

// Result medal n (0 dull .. 6 gold). The face stays dark and even because a group name is written over it; the
// result shows as n bright pips on the rim, and the rim's metal warms from slate to gold.
void drawMedal(cairo_t* cr, int n) {
  static const Rgb metals[7] = {rgb255(112, 118, 128), rgb255(140, 104, 80),  rgb255(184, 118, 62),
                                rgb255(200, 150, 90),  rgb255(188, 194, 206), rgb255(222, 228, 240),
                                rgb255(246, 196, 64)};
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
  const Rgb face = mix(metal, Rgb{0.08, 0.07, 0.06}, 0.62);
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
    cut(c);
    for (int i = 0; i < 6; ++i) {
      const double a = i * kPi / 3;
      addCircle(c, 32 + std::sin(a) * 19, 32 - std::cos(a) * 19, 1.4);
    }
    cut(c);
  };
  auto middle = [](cairo_t* c) {
    addGear(c, 32, 32, 8, 11.5, 15.2, 22.5);
    cairo_fill(c);
    addCircle(c, 32, 32, 7.2);
    cut(c);
  };
  auto hub = [](cairo_t* c) {
    addCircle(c, 32, 32, 6.6);
    cairo_fill(c);
    for (int i = 0; i < 4; ++i) {
      const double a = i * kPi / 2;
      addCircle(c, 32 + std::sin(a) * 3.4, 32 - std::cos(a) * 3.4, 1.1);
    }
    cut(c);
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
  cut(c);
  addStar(c, 41, 44, 5, 6, 2.6, 0);
  cut(c);
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
        cut(c);
        break;
      case 11:  // add
        addCircle(c, 32, 32, 22);
        cairo_fill(c);
        addRoundedRect(c, 29, 18, 6, 28, 2);
        addRoundedRect(c, 18, 29, 28, 6, 2);
        cut(c);
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
        cairo_set_source_rgba(c, 0, 0, 0, 0.25);
        cairo_set_operator(c, CAIRO_OPERATOR_DEST_OUT);
        cairo_fill(c);
        cairo_set_operator(c, CAIRO_OPERATOR_OVER);
        break;
    }
  };
  paintShape(cr, shape, kWhite, 1.0, 1.0, 1.5, 2.0, 1.5);
}

// D-pad pieces for touch play: 0..3 arrow keys up, right, down, left; 4..7 the same pressed; 8 the whole pad;
// 9 its centre; 10 a stick well; 11 a stick knob; 12..15 four round buttons with their marks.
void drawDpad(cairo_t* cr, int f, int) {
  auto shape = [f](cairo_t* c) {
    if (f < 8) {
      const bool pressed = f >= 4;
      addRoundedRect(c, 3, 3, 26, 26, 6);
      cairo_set_source_rgba(c, 0, 0, 0, pressed ? 0.85 : 0.45);
      cairo_fill(c);
      cairo_save(c);
      cairo_translate(c, 16, 16);
      cairo_rotate(c, (f % 4) * kPi / 2);
      cairo_move_to(c, 0, -8);
      cairo_line_to(c, 8, 3);
      cairo_line_to(c, -8, 3);
      cairo_close_path(c);
      cairo_restore(c);
      cairo_set_source_rgba(c, 0, 0, 0, 1);
      if (pressed) {
        cairo_set_operator(c, CAIRO_OPERATOR_CLEAR);
        cairo_fill(c);
        cairo_set_operator(c, CAIRO_OPERATOR_OVER);
      } else {
        cairo_fill(c);
      }
      return;
    }
    switch (f) {
      case 8:
        addRoundedRect(c, 11, 2, 10, 28, 2.5);
        addRoundedRect(c, 2, 11, 28, 10, 2.5);
        cairo_set_fill_rule(c, CAIRO_FILL_RULE_WINDING);
        cairo_fill(c);
        addCircle(c, 16, 16, 3);
        cut(c);
        break;
      case 9:
        addCircle(c, 16, 16, 6);
        cairo_fill(c);
        break;
      case 10:
        addCircle(c, 16, 16, 14);
        cairo_set_source_rgba(c, 0, 0, 0, 0.35);
        cairo_fill(c);
        addCircle(c, 16, 16, 13);
        cairo_set_source_rgba(c, 0, 0, 0, 1);
        cairo_set_line_width(c, 1.5);
        cairo_stroke(c);
        break;
      case 11:
        addCircle(c, 16, 16, 9);
        cairo_fill(c);
        addCircle(c, 16, 16, 6);
        cairo_set_source_rgba(c, 0, 0, 0, 0.3);
        cairo_set_operator(c, CAIRO_OPERATOR_DEST_OUT);
        cairo_fill(c);
        cairo_set_operator(c, CAIRO_OPERATOR_OVER);
        break;
      default: {
        addCircle(c, 16, 16, 12);
        cairo_fill(c);
        cairo_set_operator(c, CAIRO_OPERATOR_CLEAR);
        if (f == 12) {  // ring
          addCircle(c, 16, 16, 5.5);
          cairo_set_line_width(c, 2.4);
          cairo_stroke(c);
        } else if (f == 13) {  // cross
          cairo_move_to(c, 11, 11);
          cairo_line_to(c, 21, 21);
          cairo_move_to(c, 21, 11);
          cairo_line_to(c, 11, 21);
          strokeRound(c, 2.6);
        } else if (f == 14) {  // square
          cairo_rectangle(c, 11, 11, 10, 10);
          cairo_set_line_width(c, 2.4);
          cairo_stroke(c);
        } else {  // triangle
          addPolygon(c, 16, 17, 3, 6.5, 0);
          cairo_set_line_width(c, 2.4);
          cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
          cairo_stroke(c);
        }
        cairo_set_operator(c, CAIRO_OPERATOR_OVER);
        break;
      }
    }
  };
  paintShape(cr, shape, kWhite, 0.9, 0.8, 0.8, 1.1, 0.8);
}

// Soft glows, white so the game can tint them: a wide halo, a hot point, a four-ray flare, a ring.
void drawLight(cairo_t* cr, int f, int) {
  const double c = 16;
  auto glow = [&](double r, double core, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_radial(c, c, 0, c, c, r);
    // NOTE: a falloff close to a Gaussian: stops at fixed fractions of the radius.
    for (int i = 0; i <= 8; ++i) {
      const double t = i / 8.0;
      const double v = std::exp(-t * t * core) * (1 - t);
      cairo_pattern_add_color_stop_rgba(p, t, 1, 1, 1, alpha * v);
    }
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
  };
  switch (f) {
    case 0: glow(16, 3.0, 1.0); break;
    case 1:
      glow(16, 9.0, 1.0);
      glow(6, 1.0, 1.0);
      break;
    case 2:
      glow(12, 6.0, 1.0);
      for (int i = 0; i < 4; ++i) {
        cairo_save(cr);
        cairo_translate(cr, c, c);
        cairo_rotate(cr, i * kPi / 2);
        cairo_move_to(cr, 0, -15.5);
        cairo_curve_to(cr, 1.2, -4, 1.2, -1, 0, 0);
        cairo_curve_to(cr, -1.2, -1, -1.2, -4, 0, -15.5);
        cairo_restore(cr);
        fillRadial(cr, c, c, 15.5, kWhite, 1.0, kWhite, 0.0);
      }
      break;
    default: {
      cairo_pattern_t* p = cairo_pattern_create_radial(c, c, 4, c, c, 16);
      for (int i = 0; i <= 8; ++i) {
        const double t = i / 8.0, d = (t - 0.5) * 3.2;
        cairo_pattern_add_color_stop_rgba(p, t, 1, 1, 1, std::exp(-d * d) * (1 - t));
      }
      cairo_set_source(cr, p);
      cairo_paint(cr);
      cairo_pattern_destroy(p);
      break;
    }
  }
}

}  // namespace

std::vector<Sheet> interfaceSheets() {
  return {
      Sheet{"common/icons", 32, 32, 16, 4, true, drawIcon},
      Sheet{"common/Buttons", 64, 64, 16, 4, true, drawButton},
      Sheet{"common/dpad", 32, 32, 16, 4, true, drawDpad},
      Sheet{"common/light", 32, 32, 4, 2, true, drawLight},
  };
}

}  // namespace artgen
