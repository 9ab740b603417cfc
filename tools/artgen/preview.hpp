// Previews for the contact sheets: the game's text layout and a mock-up of the main menu, drawn from the written
// files so a person can judge the art where it will be seen rather than only cell by cell.
// Depends on cairo; the pictures are the decoded sheets keyed by their names below data/.
#pragma once

#include <cairo.h>

#include <map>
#include <string>

namespace artgen {

using Pictures = std::map<std::string, cairo_surface_t*>;

// Draws text as the game lays it out (pen advance 7 plus kerning, each frame centred on the pen) with a 16-per-row
// font sheet, starting at (x, y) in pixels, `unit` pixels per virtual unit. Bytes 0x80 + n draw icon frame 96 + n.
void drawGameText(cairo_t* cr, cairo_surface_t* font, int level, const std::string& text, double x, double y,
                  double unit);

// Draws frame `frame` of a 16-per-row font sheet centred on (x, y), `scale` pixels per art pixel.
void drawFontFrame(cairo_t* cr, cairo_surface_t* font, int level, int frame, double x, double y, double scale);

// Draws the main menu as the game composes it, 640 x 480 virtual units at `level` pixels per unit, from (x, y).
void drawMenuMockup(cairo_t* cr, const Pictures& pics, int level, double x, double y);

// Draws the loading screen: the maker's logo at twice its size inside the spinner's rings of dots.
void drawLoadingMockup(cairo_t* cr, const Pictures& pics, int level, double x, double y);

}  // namespace artgen
