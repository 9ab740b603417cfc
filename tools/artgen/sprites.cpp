// Sprite sheets: the 256 star and sparkle sprites that drift behind the letter grid, and the 64 badges.
// Depends on the shared helpers (art.hpp). Every sprite and every badge is a different combination of shape,
// colour and size (or emblem), so no two frames are alike.
#include "art.hpp"

namespace artgen {

namespace {

const Rgb kWhite{1, 1, 1};

// Pale tints for the stars; the game draws them at alpha 0.2..0.8 over both play backgrounds.
const Rgb kStarTints[8] = {rgb255(255, 255, 255), rgb255(255, 246, 200), rgb255(255, 220, 120),
                           rgb255(200, 225, 255), rgb255(170, 245, 255), rgb255(255, 200, 225),
                           rgb255(225, 205, 255), rgb255(200, 255, 215)};

// Sprite i of 256: kind = i / 32 (eight kinds), tint = i % 8, size = (i / 8) % 4, each turned a little further.
void drawPart(cairo_t* cr, int i, int) {
  const int kind = i / 32, size = (i / 8) % 4;
  const Rgb tint = kStarTints[i % 8];
  const double c = 4, r = 2.3 + size * 0.55, turn = (i % 32) * 11.25;
  // A faint halo under every sprite so it glows rather than sits flat.
  addCircle(cr, c, c, 4);
  fillRadial(cr, c, c, 4, tint, 0.35, tint, 0.0);
  switch (kind) {
    case 0: addStar(cr, c, c, 4, r + 0.2, r * 0.22, turn); break;       // thin sparkle
    case 1: addStar(cr, c, c, 5, r, r * 0.45, turn); break;             // five-point star
    case 2: addStar(cr, c, c, 6, r, r * 0.5, turn); break;              // six-point star
    case 3: addCircle(cr, c, c, r * 0.55); break;                       // round dot
    case 4:                                                             // long and short rays
      addStar(cr, c, c, 4, r + 0.3, r * 0.2, turn);
      addStar(cr, c, c, 4, r * 0.6, r * 0.18, turn + 45);
      break;
    case 5: addPolygon(cr, c, c, 4, r * 0.8, turn); break;              // diamond
    case 6:                                                             // ring
      addCircle(cr, c, c, r * 0.7);
      addCircle(cr, c, c, r * 0.7 - 0.9);
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
      break;
    default: addStar(cr, c, c, 8, r, r * 0.55, turn); break;            // eight-point burst
  }
  setColour(cr, tint);
  cairo_fill(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  addCircle(cr, c, c, 0.7);
  setColour(cr, kWhite, 0.9);
  cairo_fill(cr);
}

// Badge colour themes: base and light.
const Rgb kBadgeBase[8] = {rgb255(200, 60, 50),  rgb255(230, 140, 30), rgb255(220, 190, 40), rgb255(70, 160, 70),
                           rgb255(40, 150, 160), rgb255(50, 90, 190),  rgb255(130, 70, 180), rgb255(120, 120, 130)};

// The outline of badge shape s, about the cell centre.
void badgeOutline(cairo_t* cr, int s) {
  const double c = 32;
  switch (s) {
    case 0: addCircle(cr, c, c, 26); break;
    case 1:  // shield
      cairo_move_to(cr, 10, 10);
      cairo_line_to(cr, 54, 10);
      cairo_curve_to(cr, 54, 36, 46, 50, 32, 58);
      cairo_curve_to(cr, 18, 50, 10, 36, 10, 10);
      cairo_close_path(cr);
      break;
    case 2: addPolygon(cr, c, c, 6, 27, 0); break;
    case 3: addStar(cr, c, c, 12, 28, 23, 0); break;  // rosette edge
    case 4: addRoundedRect(cr, 8, 8, 48, 48, 11); break;
    case 5: addPolygon(cr, c, c, 4, 28, 0); break;
    case 6: addPolygon(cr, c, c, 8, 27, 22.5); break;
    default: addPolygon(cr, c, c, 5, 28, 0); break;
  }
}

// Emblem e in the badge centre, filled in the current source.
void emblem(cairo_t* cr, int e) {
  const double c = 32;
  switch (e) {
    case 0: addStar(cr, c, c + 1, 5, 12, 5, 0); cairo_fill(cr); break;
    case 1:  // heart
      cairo_move_to(cr, c, c + 11);
      cairo_curve_to(cr, c - 12, c + 3, c - 12, c - 9, c - 5, c - 9);
      cairo_curve_to(cr, c - 2, c - 9, c, c - 6, c, c - 4);
      cairo_curve_to(cr, c, c - 6, c + 2, c - 9, c + 5, c - 9);
      cairo_curve_to(cr, c + 12, c - 9, c + 12, c + 3, c, c + 11);
      cairo_fill(cr);
      break;
    case 2:  // bolt
      cairo_move_to(cr, c + 3, c - 13);
      cairo_line_to(cr, c - 7, c + 2);
      cairo_line_to(cr, c - 1, c + 2);
      cairo_line_to(cr, c - 4, c + 13);
      cairo_line_to(cr, c + 7, c - 3);
      cairo_line_to(cr, c + 1, c - 3);
      cairo_close_path(cr);
      cairo_fill(cr);
      break;
    case 3:  // crown
      cairo_move_to(cr, c - 12, c + 8);
      cairo_line_to(cr, c - 12, c - 6);
      cairo_line_to(cr, c - 6, c + 1);
      cairo_line_to(cr, c, c - 10);
      cairo_line_to(cr, c + 6, c + 1);
      cairo_line_to(cr, c + 12, c - 6);
      cairo_line_to(cr, c + 12, c + 8);
      cairo_close_path(cr);
      cairo_fill(cr);
      break;
    case 4:  // check
      cairo_move_to(cr, c - 10, c);
      cairo_line_to(cr, c - 3, c + 8);
      cairo_line_to(cr, c + 11, c - 8);
      cairo_set_line_width(cr, 4.5);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      cairo_stroke(cr);
      break;
    case 5:  // leaf
      cairo_move_to(cr, c - 10, c + 10);
      cairo_curve_to(cr, c - 12, c - 6, c - 2, c - 12, c + 12, c - 12);
      cairo_curve_to(cr, c + 12, c + 2, c + 6, c + 12, c - 10, c + 10);
      cairo_fill(cr);
      break;
    case 6:  // moon
      addCircle(cr, c, c, 11);
      addCircle(cr, c + 6, c - 4, 9);
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
      cairo_fill(cr);
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
      break;
    default:  // magnifier, the word-finder's badge
      addCircle(cr, c - 3, c - 3, 7.5);
      cairo_set_line_width(cr, 3.5);
      cairo_stroke(cr);
      cairo_move_to(cr, c + 3, c + 3);
      cairo_line_to(cr, c + 11, c + 11);
      cairo_set_line_width(cr, 5);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_stroke(cr);
      break;
  }
}

// Badge i of 64: shape i % 8, colour i / 8, emblem shifting with both so rows and columns differ.
void drawBadge(cairo_t* cr, int i, int) {
  const int shape = i % 8, colour = i / 8, mark = (i + i / 8) % 8;
  const Rgb base = kBadgeBase[colour];
  cairo_save(cr);
  cairo_translate(cr, 1, 2);
  badgeOutline(cr, shape);
  cairo_restore(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
  cairo_fill(cr);
  badgeOutline(cr, shape);
  fillVertical(cr, 4, mix(base, kWhite, 0.35), mix(base, Rgb{0, 0, 0}, 0.3), 60);
  cairo_save(cr);
  cairo_translate(cr, 32, 32);
  cairo_scale(cr, 0.8, 0.8);
  cairo_translate(cr, -32, -32);
  badgeOutline(cr, shape);
  cairo_restore(cr);
  setColour(cr, kWhite, 0.7);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  setColour(cr, mix(base, Rgb{0, 0, 0}, 0.55), 0.5);
  cairo_save(cr);
  cairo_translate(cr, 0.8, 1.2);
  emblem(cr, mark);
  cairo_restore(cr);
  setColour(cr, rgb255(255, 250, 235));
  emblem(cr, mark);
}

}  // namespace

std::vector<Sheet> spriteSheets() {
  return {
      Sheet{"parts", 8, 8, 256, 16, true, drawPart},
      Sheet{"BadgesA", 64, 64, 64, 8, true, drawBadge},
  };
}

}  // namespace artgen
