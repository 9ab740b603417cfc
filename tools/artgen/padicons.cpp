// The controller and keyboard icons of the game fonts (see padicons.hpp).
// Frames 96..108 name the controls J K L I (face buttons: left, down, right, up), U O (left and right shoulder),
// Q E (left and right trigger), F (the whole pad, pressed) and W S A D (pad up, down, left, right); 109 and 110 are
// the pressed face button and shoulder; 112..124 are the same thirteen as keyboard keycaps. The rest are spares.
#include "padicons.hpp"

#include "art.hpp"
#include "glyphs.hpp"

namespace artgen {

namespace {

constexpr char kLetters[] = "JKLIUOQEFWSAD";

// Outlines the current path and fills it faintly: a control that is shown but not meant.
void outlineFaint(cairo_t* cr) {
  cairo_save(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  cairo_set_line_width(cr, 1.0);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// Four face buttons in a diamond; `lit` (0 left, 1 down, 2 right, 3 up) is solid, -1 draws all four pressed.
// NOTE: the icons are drawn into an alpha mask, so a source alpha below 1 makes a part faint in every look.
void faceButtons(cairo_t* cr, int lit) {
  const double pos[4][2] = {{3.3, 8}, {8, 12.7}, {12.7, 8}, {8, 3.3}};
  for (int i = 0; i < 4; ++i) {
    if (lit < 0) {
      addCircle(cr, pos[i][0], pos[i][1] + 0.4, 2.2);
      cairo_fill(cr);
    } else if (i == lit) {
      addCircle(cr, pos[i][0], pos[i][1], 3.1);
      cairo_fill(cr);
    } else {
      addCircle(cr, pos[i][0], pos[i][1], 2.1);
      outlineFaint(cr);
    }
  }
}

// Cuts the side letter, L or R, out of a shoulder or trigger shape.
void cutSideLetter(cairo_t* cr, bool left, double cx, double cy, double cap, int level) {
  addGlyph(cr, Face::SansBold, left ? U'L' : U'R', {cap, 1.0, cap}, cx, cy, level);
  cutPath(cr);
}

// A shoulder bumper: a wide bar rounded towards its own side of the pad.
void bumper(cairo_t* cr, bool left, int level) {
  cairo_save(cr);
  if (!left) {
    cairo_translate(cr, 16, 0);
    cairo_scale(cr, -1, 1);
  }
  cairo_move_to(cr, 0.5, 12.5);
  cairo_curve_to(cr, 0.5, 6.0, 3.0, 3.5, 7.0, 3.5);
  cairo_line_to(cr, 15.5, 4.5);
  cairo_line_to(cr, 15.5, 12.5);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_restore(cr);
  cutSideLetter(cr, left, left ? 8.8 : 7.2, 8.4, 5.0, level);
}

// A trigger: a tall paddle whose outer top corner is rounded, its side letter cut into it.
void trigger(cairo_t* cr, bool left, int level) {
  cairo_save(cr);
  if (!left) {
    cairo_translate(cr, 16, 0);
    cairo_scale(cr, -1, 1);
  }
  cairo_move_to(cr, 2.5, 15.5);
  cairo_line_to(cr, 2.5, 8.0);
  cairo_curve_to(cr, 2.5, 3.0, 5.5, 0.5, 10.0, 0.5);
  cairo_curve_to(cr, 12.5, 0.5, 13.5, 1.5, 13.5, 4.0);
  cairo_line_to(cr, 13.5, 15.5);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_restore(cr);
  cutSideLetter(cr, left, 8.0, 9.5, 6.0, level);
}

// The d-pad cross, faint, with one arm solid: dir 0 up, 1 down, 2 left, 3 right; -1 the whole pad pressed.
void dpad(cairo_t* cr, int dir) {
  const double a = 5.3, b = 10.7;  // arm edges
  cairo_move_to(cr, a, 1);
  cairo_line_to(cr, b, 1);
  cairo_line_to(cr, b, a);
  cairo_line_to(cr, 15, a);
  cairo_line_to(cr, 15, b);
  cairo_line_to(cr, b, b);
  cairo_line_to(cr, b, 15);
  cairo_line_to(cr, a, 15);
  cairo_line_to(cr, a, b);
  cairo_line_to(cr, 1, b);
  cairo_line_to(cr, 1, a);
  cairo_line_to(cr, a, a);
  cairo_close_path(cr);
  if (dir < 0) {
    cairo_fill(cr);
    addCircle(cr, 8, 8, 1.6);
    cutPath(cr);
    return;
  }
  outlineFaint(cr);
  const double arm[4][4] = {{a, 1, b - a, a - 1}, {a, b, b - a, 15 - b}, {1, a, a - 1, b - a}, {b, a, 15 - b, b - a}};
  cairo_rectangle(cr, arm[dir][0], arm[dir][1], arm[dir][2], arm[dir][3]);
  cairo_fill(cr);
}

// A keyboard keycap with a letter; pressed caps sit lower with a thinner front edge.
void keycap(cairo_t* cr, char letter, bool pressed, int level) {
  const double top = pressed ? 2.2 : 1.0, front = pressed ? 0.8 : 2.2;
  addRoundedRect(cr, 1.0, top, 14.0, 15.0 - top, 2.6);
  cairo_fill(cr);
  addRoundedRect(cr, 2.3, top + 1.2, 11.4, 15.0 - top - 2.4 - front, 1.8);
  cutPath(cr);
  if (letter) {
    const double faceMid = top + 1.2 + (15.0 - top - 2.4 - front) / 2;
    addGlyph(cr, Face::SansBold, char32_t(letter), {6.0, 0.9, 8.0}, 8.0, faceMid, level);
    cairo_fill(cr);
  }
}

// A small mouse, the spare after the keycaps.
void mouse(cairo_t* cr) {
  addRoundedRect(cr, 4.0, 1.5, 8.0, 13.0, 4.0);
  cairo_fill(cr);
  cairo_rectangle(cr, 7.5, 2.0, 1.0, 4.5);
  cutPath(cr);
  cairo_rectangle(cr, 4.0, 6.0, 8.0, 0.9);
  cutPath(cr);
}

}  // namespace

void fillPadIcon(cairo_t* cr, int frame, int level) {
  const int i = frame - kFirstIconFrame;
  if (i >= 16 && i <= 28) {
    keycap(cr, kLetters[i - 16], false, level);
    return;
  }
  switch (i) {
    case 0: faceButtons(cr, 0); break;   // J
    case 1: faceButtons(cr, 1); break;   // K
    case 2: faceButtons(cr, 2); break;   // L
    case 3: faceButtons(cr, 3); break;   // I
    case 4: bumper(cr, true, level); break;   // U
    case 5: bumper(cr, false, level); break;  // O
    case 6: trigger(cr, true, level); break;    // Q
    case 7: trigger(cr, false, level); break;   // E
    case 8: dpad(cr, -1); break;         // F
    case 9: dpad(cr, 0); break;          // W
    case 10: dpad(cr, 1); break;         // S
    case 11: dpad(cr, 2); break;         // A
    case 12: dpad(cr, 3); break;         // D
    case 13: faceButtons(cr, -1); break;  // pressed face button
    case 14:  // pressed shoulder: a flat bar pushed down, the same for either side
      addRoundedRect(cr, 1.0, 7.5, 14.0, 5.5, 2.5);
      cairo_fill(cr);
      break;
    case 15:  // a plain round button
      addCircle(cr, 8, 8, 5.5);
      cairo_fill(cr);
      addCircle(cr, 8, 8, 3.8);
      cutPath(cr);
      break;
    case 29: keycap(cr, 0, true, level); break;  // a pressed blank key
    case 30: keycap(cr, 0, false, level); break;  // a blank key
    default: mouse(cr); break;
  }
}

}  // namespace artgen
