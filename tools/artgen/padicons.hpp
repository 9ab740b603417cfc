// The controller and keyboard icons that live in frames 96..127 of every game font.
// Depends on cairo and the glyph outlines (for the keycap letters).
#pragma once

#include <cairo.h>

namespace artgen {

// First font frame that holds an icon instead of a glyph.
constexpr int kFirstIconFrame = 96;

// Fills, in the current source, the icon of font frame `frame` (96..127) in a 16 x 16 cell. Parts that must show
// the background through the icon (the letter on a button) are cleared, so the caller should draw into a group.
void fillPadIcon(cairo_t* cr, int frame, int level);

}  // namespace artgen
