// Interface sheets: the icon sheet, the d-pad pieces and the soft glows.
// Depends on the shared helpers (art.hpp). Most of these are tinted by the game's draw colour, so they are drawn
// in white and light greys, with a soft dark shadow to stand out on any background.
#include "art.hpp"

#include <cmath>  // sin, cos

namespace artgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
const Rgb kWhite{1, 1, 1};

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
      cutPath(cr);
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
      cutPath(cr);
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
      cutPath(cr);
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
        cutPath(c);
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
        dimPath(c, 0.3);
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
      Sheet{"common/dpad", 32, 32, 16, 4, true, drawDpad},
      Sheet{"common/light", 32, 32, 4, 2, true, drawLight},
  };
}

}  // namespace artgen
