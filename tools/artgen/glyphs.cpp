// Letter outlines from the DejaVu font files (see glyphs.hpp).
// Depends on FreeType for opening the files and cairo-ft for turning glyphs into cairo paths.
#include "glyphs.hpp"

#include <cairo-ft.h>  // cairo_ft_font_face_create_for_ft_face
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>      // std::round
#include <cstdio>     // error text
#include <cstdlib>    // std::exit
#include <string>
#include <vector>

namespace artgen {

namespace {

// Ratio of capital height to em size, read from the outline of "H".
struct LoadedFace {
  cairo_font_face_t* plain = nullptr;   // exact outlines
  cairo_font_face_t* hinted = nullptr;  // outlines fitted to the pixel grid by FreeType's auto-hinter
  double capPerEm = 0.73;
};

// Opens a font file once; the face lives as long as the process, which is the length of one generator run.
LoadedFace load(const char* file) {
  static FT_Library library = nullptr;
  if (!library && FT_Init_FreeType(&library) != 0) {
    std::fprintf(stderr, "artgen: FreeType would not start\n");
    std::exit(1);
  }
  const std::string path = std::string(QUORLIX_FONT_DIR) + "/" + file;
  FT_Face ftFace = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &ftFace) != 0) {
    std::fprintf(stderr, "artgen: cannot open font %s\n", path.c_str());
    std::exit(1);
  }
  LoadedFace f;
  f.plain = cairo_ft_font_face_create_for_ft_face(ftFace, 0);
  // NOTE: the auto-hinter is forced because it snaps stems in both directions, where the font's own hints under
  // FreeType's current interpreter only act vertically; upright stems would otherwise straddle two pixels.
  f.hinted = cairo_ft_font_face_create_for_ft_face(ftFace, FT_LOAD_FORCE_AUTOHINT);
  if (FT_Load_Char(ftFace, 'H', FT_LOAD_NO_SCALE) == 0)
    f.capPerEm = double(ftFace->glyph->metrics.height) / ftFace->units_per_EM;
  return f;
}

const LoadedFace& faceFor(Face face) {
  static const LoadedFace bold = load("DejaVuSans-Bold.ttf");
  static const LoadedFace mono = load("DejaVuSansMono.ttf");
  return face == Face::SansBold ? bold : mono;
}

// Selects the face at the size that gives the wanted capital height, squeezed by xScale, with fixed options.
void selectFont(cairo_t* cr, Face face, double capHeight, double xScale, bool hinted = false) {
  const LoadedFace& f = faceFor(face);
  cairo_set_font_face(cr, hinted ? f.hinted : f.plain);
  const double em = capHeight / f.capPerEm;
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, em * xScale, em);
  cairo_set_font_matrix(cr, &m);
  // NOTE: options are set explicitly so that no setting of the machine can reach the outlines.
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(o, hinted ? CAIRO_HINT_STYLE_FULL : CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, o);
  cairo_font_options_destroy(o);
}

// The glyphs of a UTF-8-free ASCII line, laid out with the font's advances plus tracking.
std::vector<cairo_glyph_t> layout(cairo_t* cr, const std::string& text, double tracking) {
  cairo_scaled_font_t* sf = cairo_get_scaled_font(cr);
  FT_Face ft = cairo_ft_scaled_font_lock_face(sf);
  std::vector<cairo_glyph_t> glyphs;
  double x = 0;
  for (unsigned char c : text) {
    cairo_glyph_t g{FT_Get_Char_Index(ft, c), x, 0};
    glyphs.push_back(g);
    cairo_text_extents_t e;
    cairo_glyph_extents(cr, &glyphs.back(), 1, &e);
    x += e.x_advance + tracking;
  }
  cairo_ft_scaled_font_unlock_face(sf);
  return glyphs;
}

}  // namespace

void addGlyph(cairo_t* cr, Face face, char32_t ch, const GlyphFit& fit, double cx, double cy, int snapLevel) {
  const bool hinted = snapLevel == 1 || snapLevel == 2;
  selectFont(cr, face, fit.capHeight, fit.xScale, hinted);
  cairo_scaled_font_t* sf = cairo_get_scaled_font(cr);
  FT_Face ft = cairo_ft_scaled_font_lock_face(sf);
  cairo_glyph_t g{FT_Get_Char_Index(ft, FT_ULong(ch)), 0, 0};
  cairo_ft_scaled_font_unlock_face(sf);
  // NOTE: the ink is measured from the outline itself: cairo's glyph extents describe the unhinted glyph, and a
  // hinted stem can sit a pixel away from it.
  cairo_path_t* before = cairo_copy_path(cr);
  auto inkAtOrigin = [&](double& x1, double& x2) {
    double y1, y2;
    cairo_new_path(cr);
    cairo_glyph_path(cr, &g, 1);
    cairo_path_extents(cr, &x1, &y1, &x2, &y2);
  };
  double x1, x2;
  inkAtOrigin(x1, x2);
  if (x2 - x1 > fit.maxWidth) {
    selectFont(cr, face, fit.capHeight, fit.xScale * fit.maxWidth / (x2 - x1), hinted);
    inkAtOrigin(x1, x2);
  }
  cairo_new_path(cr);
  cairo_append_path(cr, before);
  cairo_path_destroy(before);
  g.x = cx - (x1 + x2) / 2;
  g.y = cy + fit.capHeight / 2;
  if (snapLevel > 0) {
    // The origin goes on a whole pixel so the grid-fitted stems and the baseline stay on pixel edges.
    g.x = std::round(g.x * snapLevel) / snapLevel;
    g.y = std::round(g.y * snapLevel) / snapLevel;
  }
  cairo_glyph_path(cr, &g, 1);
}

void addText(cairo_t* cr, Face face, const std::string& text, double capHeight, double cx, double cy,
             double tracking) {
  selectFont(cr, face, capHeight, 1.0);
  std::vector<cairo_glyph_t> glyphs = layout(cr, text, tracking);
  cairo_text_extents_t e;
  cairo_glyph_extents(cr, glyphs.data(), int(glyphs.size()), &e);
  const double dx = cx - (e.x_bearing + e.width / 2);
  for (auto& g : glyphs) {
    g.x += dx;
    g.y = cy + capHeight / 2;
  }
  cairo_glyph_path(cr, glyphs.data(), int(glyphs.size()));
}

double textWidth(Face face, const std::string& text, double capHeight, double tracking) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* cr = cairo_create(s);
  selectFont(cr, face, capHeight, 1.0);
  std::vector<cairo_glyph_t> glyphs = layout(cr, text, tracking);
  cairo_text_extents_t e;
  cairo_glyph_extents(cr, glyphs.data(), int(glyphs.size()), &e);
  cairo_destroy(cr);
  cairo_surface_destroy(s);
  return e.width;
}

}  // namespace artgen
