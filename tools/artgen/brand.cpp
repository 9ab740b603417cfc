// The title logo "Quorlix" and the maker's logo.
// Depends on the shared helpers (art.hpp) and the DejaVu outlines (glyphs.hpp). The title sits on the menu's warm
// brown, so it is a cream-to-gold word with a dark outline; the maker's mark is shown twice the size of its cell
// inside the loading spinner, so it keeps within a circle of 72 units about the centre.
#include "art.hpp"
#include "glyphs.hpp"

#include <algorithm>  // std::min

namespace artgen {

namespace {

const Rgb kWhite{1, 1, 1};
const Rgb kInk = rgb255(52, 26, 14);

// The title in a 256 x 128 cell: the word, a magnifying glass resting on its last letters, and a ribbon below.
void drawTitle(cairo_t* cr, int, int) {
  const char* word = "Quorlix";
  const double cap = std::min(46.0, 46.0 * 226.0 / textWidth(Face::SansBold, word, 46.0, -1.0));
  const double cy = 52;
  // Shadow, outline, gradient fill, then a gloss over the top half.
  cairo_save(cr);
  cairo_translate(cr, 2.5, 4);
  addText(cr, Face::SansBold, word, cap, 128, cy, -1.0);
  cairo_restore(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
  cairo_set_line_width(cr, 7);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  cairo_fill(cr);
  addText(cr, Face::SansBold, word, cap, 128, cy, -1.0);
  setColour(cr, kInk);
  cairo_set_line_width(cr, 6);
  cairo_stroke_preserve(cr);
  fillVertical(cr, cy - cap / 2 - 8, rgb255(255, 250, 226), rgb255(255, 170, 40), cy + cap / 2 + 10);
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, 256, cy - 2);
  cairo_clip(cr);
  addText(cr, Face::SansBold, word, cap, 128, cy, -1.0);
  setColour(cr, kWhite, 0.3);
  cairo_fill(cr);
  cairo_restore(cr);
  // The ribbon with the game's kind.
  addRoundedRect(cr, 58, 90, 140, 22, 11);
  setColour(cr, kInk, 0.9);
  cairo_fill_preserve(cr);
  setColour(cr, rgb255(255, 210, 120), 0.9);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  addText(cr, Face::SansBold, "WORD SEARCH", 9, 128, 101, 2.0);
  setColour(cr, rgb255(255, 236, 190));
  cairo_fill(cr);
  // Sparkles at the word's ends.
  for (int i = 0; i < 2; ++i) {
    addStar(cr, i ? 236 : 20, i ? 24 : 84, 4, 8, 1.8, 0);
    setColour(cr, rgb255(255, 246, 210));
    cairo_fill(cr);
  }
}

// The maker's mark: a plover, a small round shore bird, standing in a deep blue disc with the name below it.
void drawMaker(cairo_t* cr, int, int) {
  const double c = 128;
  addCircle(cr, c, c + 3, 72);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
  cairo_fill(cr);
  addCircle(cr, c, c, 71);
  setColour(cr, rgb255(250, 238, 214));
  cairo_fill(cr);
  addCircle(cr, c, c, 65);
  fillRadial(cr, c, c - 24, 96, rgb255(44, 96, 150), 1.0, rgb255(16, 34, 66), 1.0);
  // The shore line the bird stands on.
  cairo_move_to(cr, 76, 132);
  cairo_curve_to(cr, 110, 127, 150, 127, 182, 132);
  setColour(cr, rgb255(250, 238, 214), 0.5);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  // The bird: a round body, a tail to the left, the head to the right, a short beak, two thin legs.
  const Rgb bird = rgb255(250, 238, 214);
  cairo_move_to(cr, 86, 90);
  cairo_curve_to(cr, 100, 96, 108, 84, 126, 82);
  cairo_curve_to(cr, 134, 72, 146, 62, 158, 66);
  cairo_curve_to(cr, 166, 68, 169, 74, 168, 80);
  cairo_line_to(cr, 180, 84);
  cairo_line_to(cr, 167, 87);
  cairo_curve_to(cr, 166, 104, 152, 116, 130, 116);
  cairo_curve_to(cr, 112, 116, 100, 108, 86, 90);
  cairo_close_path(cr);
  setColour(cr, bird);
  cairo_fill(cr);
  // The wing and the eye are cut back to the disc colour.
  cairo_move_to(cr, 104, 94);
  cairo_curve_to(cr, 118, 88, 138, 88, 148, 98);
  cairo_curve_to(cr, 134, 102, 118, 102, 104, 94);
  setColour(cr, rgb255(30, 62, 104));
  cairo_fill(cr);
  addCircle(cr, 158, 76, 2.6);
  cairo_fill(cr);
  cairo_move_to(cr, 126, 114);
  cairo_line_to(cr, 122, 130);
  cairo_move_to(cr, 138, 114);
  cairo_line_to(cr, 140, 130);
  setColour(cr, bird);
  cairo_set_line_width(cr, 2.4);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  // The name.
  addText(cr, Face::SansBold, "WREN", 17, c, 156, 5.0);
  setColour(cr, bird);
  cairo_fill(cr);
  addText(cr, Face::SansBold, "STUDIO", 6, c, 176, 3.0);
  setColour(cr, bird, 0.75);
  cairo_fill(cr);
}

}  // namespace

std::vector<Sheet> brandSheets() {
  return {
      Sheet{"logo", 256, 128, 1, 1, true, drawTitle},
      Sheet{"common/PLOVLogo", 256, 256, 1, 1, true, drawMaker},
  };
}

}  // namespace artgen
