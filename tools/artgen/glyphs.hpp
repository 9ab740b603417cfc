// Letter outlines from the DejaVu font files, placed and fitted in virtual units.
// Depends on FreeType and cairo-ft. The font files are opened by path, not through fontconfig, so the outlines do
// not change with the machine's font settings and the same source always gives the same pixels.
#pragma once

#include <cairo.h>

#include <string>

namespace artgen {

enum class Face { SansBold, Mono };

// How one character is fitted: the capital height in units, a horizontal squeeze, and the widest ink allowed.
struct GlyphFit {
  double capHeight;
  double xScale;
  double maxWidth;
};

// Adds the outline of `ch` to the current path: ink centred on cx, capitals centred on cy. When `snapLevel` is
// positive the glyph's origin lands on a whole pixel of that art level, and at levels 1 and 2, where a letter is
// only 10 to 20 pixels tall, the outline is also hinted so its stems fall on whole pixels and read crisply.
void addGlyph(cairo_t* cr, Face face, char32_t ch, const GlyphFit& fit, double cx, double cy, int snapLevel);

// Adds the outline of a line of text, its ink centred on (cx, cy) by capital height, at `capHeight` units.
void addText(cairo_t* cr, Face face, const std::string& text, double capHeight, double cx, double cy,
             double tracking = 0.0);

// Width of the ink of a line of text at the given capital height.
double textWidth(Face face, const std::string& text, double capHeight, double tracking = 0.0);

}  // namespace artgen
