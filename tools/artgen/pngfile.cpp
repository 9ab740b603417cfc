// The PNG writer of the art generator (see pngfile.hpp).
// NOTE: the game decodes every sheet of an art level while its loading screen turns, and its decoder's time
// goes mostly into undoing the row filters and writing out the pixels. So the writer keeps the pixels cairo
// would write but
//   - stores grey sheets (the fonts in one ink, the glows) as grey and alpha, half the bytes of RGBA, and leaves
//     the alpha channel out of a sheet that is opaque everywhere: the game's textures of those formats show the
//     same colours;
//   - stores rows unfiltered, which the decoder copies instead of reconstructing byte by byte. On this art (flat
//     colours, transparent runs) deflate finds as long matches in the raw rows, so the files come out no larger
//     at the highest compression level, which costs only the generator's time.
#include "pngfile.hpp"

#include <png.h>

#include <csetjmp>  // libpng reports errors by longjmp
#include <cstdint>
#include <cstdio>
#include <cstring>  // memcpy
#include <vector>

namespace artgen {

namespace {

// Straight red, green, blue and alpha of one cairo pixel, exactly as cairo's own PNG writer works them out.
void unpremultiply(uint32_t argb, unsigned char out[4]) {
  const uint32_t alpha = argb >> 24;
  if (alpha == 0) {
    out[0] = out[1] = out[2] = out[3] = 0;
    return;
  }
  for (int c = 0; c < 3; ++c) {
    const uint32_t value = (argb >> (16 - 8 * c)) & 0xffu;
    out[c] = static_cast<unsigned char>((value * 255 + alpha / 2) / alpha);
  }
  out[3] = static_cast<unsigned char>(alpha);
}

// Writes w x h pixels of the given channel count (1 grey, 2 grey and alpha, 3 RGB, 4 RGBA) to an open file;
// false when libpng reports an error.
bool encode(FILE* out, const unsigned char* pixels, int w, int h, int channels) {
  static const int kColourType[5] = {0, PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                                     PNG_COLOR_TYPE_RGB_ALPHA};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, out);
  png_set_IHDR(png, info, w, h, 8, kColourType[channels], PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  for (int y = 0; y < h; ++y) png_write_row(png, pixels + size_t(y) * w * channels);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool writePng(cairo_surface_t* surface, const std::filesystem::path& file) {
  cairo_surface_flush(surface);
  const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  if (!data || cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) return false;

  std::vector<unsigned char> rgba(size_t(w) * h * 4);
  bool grey = true, opaque = true;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint32_t argb;
      std::memcpy(&argb, data + size_t(y) * stride + size_t(x) * 4, 4);
      unsigned char* p = &rgba[(size_t(y) * w + x) * 4];
      unpremultiply(argb, p);
      grey = grey && p[0] == p[1] && p[0] == p[2];
      opaque = opaque && p[3] == 255;
    }
  }
  const int channels = (grey ? 1 : 3) + (opaque ? 0 : 1);
  std::vector<unsigned char> pixels(size_t(w) * h * channels);
  for (size_t i = 0; i < size_t(w) * h; ++i) {
    unsigned char* out = &pixels[i * channels];
    const unsigned char* in = &rgba[i * 4];
    if (grey) {
      out[0] = in[0];
    } else {
      out[0] = in[0], out[1] = in[1], out[2] = in[2];
    }
    if (!opaque) out[channels - 1] = in[3];
  }

  FILE* out = std::fopen(file.c_str(), "wb");
  if (!out) return false;
  const bool written = encode(out, pixels.data(), w, h, channels);
  return std::fclose(out) == 0 && written;
}

}  // namespace artgen
