// The sheet table of the art generator and the drawing helpers every sheet shares.
// Depends on cairo. A sheet is a grid of cells drawn in virtual units; the generator scales the cairo context by
// the art level before each cell, so every level is drawn from the same vectors rather than scaled from a bitmap.
#pragma once

#include <cairo.h>   // cairo_t, paths, patterns

#include <functional>  // the per-cell draw routine
#include <string>
#include <vector>

namespace artgen {

// Draws frame `frame` into a cell whose top-left is (0, 0), in virtual units; `level` is 1, 2 or 4 pixels per unit.
using DrawCell = std::function<void(cairo_t* cr, int frame, int level)>;

// One image file of the data folder, at every art level it exists in.
struct Sheet {
  std::string name;  // path below data/, without level suffix and ".png"
  int cellW;         // virtual cell size
  int cellH;
  int frames;
  int columns;       // cells per row; the image loader wraps exactly here
  bool allLevels;    // false: only the level-1 file, with no suffix
  DrawCell draw;
};

// A colour with components 0..1.
struct Rgb {
  double r, g, b;
};

// Builds a colour from 0..255 components.
constexpr Rgb rgb255(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

// Mixes two colours: t = 0 gives a, t = 1 gives b.
Rgb mix(Rgb a, Rgb b, double t);

// Sets a solid source colour.
void setColour(cairo_t* cr, Rgb c, double alpha = 1.0);

// Path helpers: each adds a closed sub-path to the current path.
void addCircle(cairo_t* cr, double cx, double cy, double r);
void addRoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void addStar(cairo_t* cr, double cx, double cy, int points, double rOuter, double rInner, double rotDeg);
void addPolygon(cairo_t* cr, double cx, double cy, int sides, double r, double rotDeg);
void addGear(cairo_t* cr, double cx, double cy, int teeth, double rRoot, double rTip, double rotDeg);

// Fills the current path with a vertical gradient from top colour to bottom colour between y0 and y1.
void fillVertical(cairo_t* cr, double y0, Rgb top, Rgb bottom, double y1, double alpha = 1.0);
// Fills the current path with a radial gradient from the inner colour at the centre to the outer one at r.
void fillRadial(cairo_t* cr, double cx, double cy, double r, Rgb inner, double aIn, Rgb outer, double aOut);

// Cuts the current path out of what is drawn so far (the current group, when building a shape).
void cutPath(cairo_t* cr);
// Fades what is drawn so far under the current path by amount (0..1), as a dimmed middle of a disc.
void dimPath(cairo_t* cr, double amount);
// Strokes the current path with round caps and joins at the given width.
void strokeRound(cairo_t* cr, double width);

// Builds a shape with `shape` (which fills in the current source; a source alpha below 1 makes parts faint and
// the CLEAR operator cuts holes), then paints it in `ink` over a soft dark shadow offset by (dx, dy). A shadow
// of strength 0 paints the shape alone.
void paintShape(cairo_t* cr, const std::function<void(cairo_t*)>& shape, Rgb ink, double inkAlpha = 1.0,
                double strength = 0.0, double dx = 0.0, double dy = 0.0, double spread = 0.0);

// The sheets of each group, defined in their own files.
std::vector<Sheet> fontSheets();
std::vector<Sheet> interfaceSheets();  // icons, d-pad pieces, glows
std::vector<Sheet> buttonSheets();     // medals, cog layers, credits
std::vector<Sheet> menuSheets();    // the wheel's circles and the menu pictures
std::vector<Sheet> spriteSheets();  // the star sprites and the badges
std::vector<Sheet> brandSheets();   // the title logo and the maker's logo

}  // namespace artgen
