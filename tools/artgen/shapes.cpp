// Small path and fill helpers shared by every sheet.
// Depends on cairo only; angles are in degrees, measured clockwise from straight up, as the game turns its images.
#include "art.hpp"

#include <cmath>  // sin, cos

namespace artgen {

namespace {
constexpr double kPi = 3.14159265358979323846;

// Point on a circle at an angle measured clockwise from straight up.
void polar(double cx, double cy, double r, double deg, double& x, double& y) {
  const double a = deg * kPi / 180.0;
  x = cx + std::sin(a) * r;
  y = cy - std::cos(a) * r;
}
}  // namespace

Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

void setColour(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void addCircle(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
  cairo_close_path(cr);
}

void addRoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

void addStar(cairo_t* cr, double cx, double cy, int points, double rOuter, double rInner, double rotDeg) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < points * 2; ++i) {
    double x, y;
    polar(cx, cy, (i % 2) ? rInner : rOuter, rotDeg + i * 180.0 / points, x, y);
    cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
}

void addPolygon(cairo_t* cr, double cx, double cy, int sides, double r, double rotDeg) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < sides; ++i) {
    double x, y;
    polar(cx, cy, r, rotDeg + i * 360.0 / sides, x, y);
    cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
}

void addGear(cairo_t* cr, double cx, double cy, int teeth, double rRoot, double rTip, double rotDeg) {
  // NOTE: each tooth is a trapezoid, narrower at the tip, so the outline reads as a cog even at 16 pixels.
  const double step = 360.0 / teeth;
  cairo_new_sub_path(cr);
  for (int i = 0; i < teeth; ++i) {
    const double a = rotDeg + i * step;
    const double pts[4][2] = {{rRoot, a - step * 0.30}, {rTip, a - step * 0.17},
                              {rTip, a + step * 0.17}, {rRoot, a + step * 0.30}};
    for (const auto& p : pts) {
      double x, y;
      polar(cx, cy, p[0], p[1], x, y);
      cairo_line_to(cr, x, y);
    }
    // The valley between two teeth follows the root circle.
    const double from = (a + step * 0.30 - 90.0) * kPi / 180.0;
    const double to = (a + step * 0.70 - 90.0) * kPi / 180.0;
    cairo_arc(cr, cx, cy, rRoot, from, to);
  }
  cairo_close_path(cr);
}

void cutPath(cairo_t* cr) {
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_fill(cr);
  cairo_restore(cr);
}

void dimPath(cairo_t* cr, double amount) {
  cairo_save(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, amount);
  cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
  cairo_fill(cr);
  cairo_restore(cr);
}

void strokeRound(cairo_t* cr, double width) {
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

void fillVertical(cairo_t* cr, double y0, Rgb top, Rgb bottom, double y1, double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void fillRadial(cairo_t* cr, double cx, double cy, double r, Rgb inner, double aIn, Rgb outer, double aOut) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  cairo_pattern_add_color_stop_rgba(p, 0, inner.r, inner.g, inner.b, aIn);
  cairo_pattern_add_color_stop_rgba(p, 1, outer.r, outer.g, outer.b, aOut);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void paintShape(cairo_t* cr, const std::function<void(cairo_t*)>& shape, Rgb ink, double inkAlpha,
                double strength, double dx, double dy, double spread) {
  cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  shape(cr);
  cairo_pattern_t* mask = cairo_pop_group(cr);
  if (strength > 0) {
    // NOTE: nine offset copies make a soft shadow while the art stays pure vector, with no bitmap blur pass.
    for (int i = 0; i < 9; ++i) {
      const double a = i * 2 * kPi / 8, r = i == 0 ? 0.0 : spread;
      cairo_save(cr);
      cairo_translate(cr, dx + r * std::cos(a), dy + r * std::sin(a));
      cairo_set_source_rgba(cr, 0.05, 0.03, 0.02, strength * (i == 0 ? 0.35 : 0.14));
      cairo_mask(cr, mask);
      cairo_restore(cr);
    }
  }
  setColour(cr, ink, inkAlpha);
  cairo_mask(cr, mask);
  cairo_pattern_destroy(mask);
}

}  // namespace artgen
