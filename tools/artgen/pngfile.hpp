// Writing a drawn sheet as the PNG file the game loads.
// Depends on cairo (the drawn pixels) and libpng (the file).
#pragma once

#include <cairo.h>

#include <filesystem>

namespace artgen {

// Writes an ARGB32 image surface as a PNG of straight (not premultiplied) 8-bit channels, as cairo would, but
// with only the channels the picture needs and rows stored unfiltered; false when the file cannot be written.
bool writePng(cairo_surface_t* surface, const std::filesystem::path& file);

}  // namespace artgen
