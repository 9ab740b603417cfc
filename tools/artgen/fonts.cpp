// The game fonts: the two grid letter fonts, the interface font with its drop shadow, and the built-in plain font.
// Depends on the glyph outlines (glyphs.hpp) and the pad icons (padicons.hpp).
// Frame f of a game font is the character f + 32 in a 16 x 16 cell. Text places every frame by its middle, so the
// interface font's glyphs are centred; the pen moves 7 units per character and 10 per line, so glyphs are about 6..8
// units wide. The grid places its letters a quarter cell right of where it draws their markers, so the grid fonts'
// ink is centred a quarter cell left of the middle (4 units from the left edge).
#include "art.hpp"
#include "glyphs.hpp"
#include "padicons.hpp"

#include <algorithm>  // std::max

namespace artgen {

namespace {

enum class Look { White, Black, Shadowed };

// Where the grid fonts centre their ink across the cell.
constexpr double kGridInkX = 4.0;

// Extra pen advance that text layout gives a character; a glyph may be this much wider than the rest.
double kerningOf(char c) {
  switch (c) {
    case 'w': case 'm': return 2;
    case 'W': case 'M': return 1;
    case 'i': case 'f': case 'l': return -3;
    case 'j': case 's': case 'k': case 'r': case 'z': case 't': case 'n': return -1;
    default: return 0;
  }
}

// Adds the shape of one font frame to the current group, filled in the current source. With `spaced` set the
// glyph sits half its extra advance off centre, midway between its neighbours' pen positions, so narrow and
// wide letters get even gaps in running text; grid letters stand alone, centred on their markers.
void fillFrame(cairo_t* cr, int frame, int level, const GlyphFit& base, bool spaced) {
  if (frame >= kFirstIconFrame) {
    fillPadIcon(cr, frame, level);
    return;
  }
  const int code = frame + 32;
  if (code == 32) return;
  if (code == 127) {  // the delete code: a solid block, useful as a text cursor
    cairo_rectangle(cr, 5, 3, 6, 10);
    cairo_fill(cr);
    return;
  }
  GlyphFit fit = base;
  const double kern = kerningOf(char(code));
  fit.maxWidth = base.maxWidth + std::max(0.0, kern);
  addGlyph(cr, Face::SansBold, char32_t(code), fit, spaced ? 8 + kern / 2 : kGridInkX, 8, level);
  cairo_fill(cr);
}

// Draws a frame in one of the three looks. The interface font is white on a dark rim with a shadow falling down
// and to the right: it is drawn over the pale play background as well as the dark ones, so the rim is dense
// enough to outline every stroke.
void drawFontFrame(cairo_t* cr, int frame, int level, Look look, const GlyphFit& fit) {
  auto shape = [&](cairo_t* c) { fillFrame(c, frame, level, fit, look == Look::Shadowed); };
  if (look == Look::Shadowed)
    paintShape(cr, shape, Rgb{1, 1, 1}, 1.0, 2.6, 0.45, 0.6, 0.6);
  else
    paintShape(cr, shape, look == Look::Black ? Rgb{0.04, 0.04, 0.05} : Rgb{1, 1, 1});
}

// Grid letters: bold and large, squeezed a little so the wide capitals stay inside the cell's left half and
// a bit (their ink is centred 4 units from the left edge).
constexpr GlyphFit kGridFit{10.0, 0.86, 8.0};
// Interface text: smaller capitals on the 7-unit pen advance.
constexpr GlyphFit kTextFit{8.0, 0.92, 7.4};

// The built-in plain font: one row of 96 cells, 10 x 16, each with an empty pixel column on either side.
void drawPlainGlyph(cairo_t* cr, int frame, int level) {
  const int code = frame + 32;
  if (code == 32) return;
  cairo_rectangle(cr, 1, 0, 8, 16);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  if (code == 127) {
    cairo_rectangle(cr, 2, 3, 6, 10);
  } else {
    addGlyph(cr, Face::Mono, char32_t(code), {7.0, 1.0, 7.6}, 5, 8, level);
  }
  cairo_fill(cr);
}

}  // namespace

std::vector<Sheet> fontSheets() {
  auto font = [](const char* name, Look look, GlyphFit fit) {
    return Sheet{name, 16, 16, 128, 16, true,
                 [look, fit](cairo_t* cr, int f, int level) { drawFontFrame(cr, f, level, look, fit); }};
  };
  return {
      font("fonts/Mira_White", Look::White, kGridFit),
      font("fonts/Mira_Black", Look::Black, kGridFit),
      font("fonts/shadow_editundo", Look::Shadowed, kTextFit),
      Sheet{"dravo_font", 10, 16, 96, 96, false, drawPlainGlyph},
  };
}

}  // namespace artgen
