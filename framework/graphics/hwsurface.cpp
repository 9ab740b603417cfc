// hwSurface: premultiplying pixels once at load, making and re-making textures, sub-image updates; and the
// graphics device's operations that make surfaces.
// Depends on OpenGL 1.2, the host (LoadImageData, kpGraphicsSeq), texture pages and the graphics device.
#include "framework/graphics/hwsurface.h"

#include <GL/gl.h>

#include <algorithm>  // std::min, std::max
#include <bit>        // std::endian: pixels are read four bytes at a time
#include <cstdint>
#include <cstdlib>    // calloc, free
#include <cstring>    // memcpy

#include "framework/graphics/hwgraphics.h"
#include "host/graphics_generation.h"
#include "host/kpgame.h"

namespace {
int FormatForDepth(int depth) {
    switch (depth) {
        case 1: return GL_LUMINANCE;
        case 2: return GL_LUMINANCE_ALPHA;
        case 3: return GL_RGB;
        case 4: return GL_RGBA;
        default: return 0;
    }
}

static_assert(std::endian::native == std::endian::little,
              "an RGBA pixel read as a uint32 has red in its low byte and alpha in its high byte");

// value / 255 rounded down, for value = a byte times a byte, without dividing.
constexpr uint32_t Div255(uint32_t value) { return (value + 1 + (value >> 8)) >> 8; }

// An RGBA pixel (as a uint32) with red, green and blue times its alpha / 255, truncated.
// NOTE: red and blue are multiplied together in the two halves of one word (neither product reaches 16 bits)
// and divided by Div255 in both halves at once.
constexpr uint32_t Premultiplied(uint32_t pixel) {
    const uint32_t alpha = pixel >> 24;
    const uint32_t redBlue = (pixel & 0x00ff00ffu) * alpha;
    const uint32_t green = ((pixel >> 8) & 0xffu) * alpha;
    const uint32_t redBlueOut = ((redBlue + 0x00010001u + ((redBlue >> 8) & 0x00ff00ffu)) >> 8) & 0x00ff00ffu;
    return (pixel & 0xff000000u) | Div255(green) << 8 | redBlueOut;
}

// Premultiplies count RGBA pixels in place.
// NOTE: this runs over every pixel of every image at load, 4 million for one sheet of the largest art. The
// pixels go through in blocks of a fixed count, a loop with no branch and no division that the compiler turns
// into vector instructions: about a seventh of the time of dividing byte by byte.
void PremultiplyRgba(unsigned char* pixels, size_t count) {
    constexpr size_t kBlock = 16;
    size_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        uint32_t block[kBlock];
        std::memcpy(block, pixels + i * 4, sizeof block);
        for (uint32_t& pixel : block) pixel = Premultiplied(pixel);
        std::memcpy(pixels + i * 4, block, sizeof block);
    }
    for (; i < count; ++i) {
        uint32_t pixel;
        std::memcpy(&pixel, pixels + i * 4, 4);
        pixel = Premultiplied(pixel);
        std::memcpy(pixels + i * 4, &pixel, 4);
    }
}

// Grey of count grey-and-alpha pixels times their alpha / 255, truncated.
void PremultiplyGreyAlpha(unsigned char* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        unsigned char* p = &pixels[i * 2];
        p[0] = static_cast<unsigned char>(Div255(static_cast<uint32_t>(p[0]) * p[1]));
    }
}

}  // namespace

void SampleNearestClamped(unsigned target) {
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    if (target == GL_TEXTURE_3D) glTexParameteri(target, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
}

int PowerOfTwoAtLeast(int size) {
    int out = 1;
    while (out < size && out < (1 << 30)) out <<= 1;
    return out;
}

hwSurface::~hwSurface() { Discard(); }

int hwSurface::Discard() {
    if (page) {
        page->Leave(this);
        page = nullptr;
    }
    // NOTE: a texture of an older context died with its window; its name means nothing in the current one.
    if (seq != -1 && seq == kpGraphicsSeq) {
        glDeleteTextures(1, &texture);
        seq = -1;
    }
    if (pixels) {
        std::free(pixels);
        pixels = nullptr;
    }
    return 0;
}

int hwSurface::OnUnsafeLoadComplete() {
    Bind();
    return 0;
}

void hwSurface::SetData(unsigned char* data, int w, int h, int d) {
    pixels = data;
    width = w;
    height = h;
    depth = d;
    format = FormatForDepth(d);
    ++pixelsChanged;
    if (!pixels) return;
    const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
    if (d == 2) PremultiplyGreyAlpha(pixels, count);
    if (d == 4) PremultiplyRgba(pixels, count);
}

void hwSurface::InkBounds(int x, int y, int w, int h, int out[4]) const {
    out[0] = x, out[1] = y, out[2] = w, out[3] = h;
    if (!pixels || (depth != 2 && depth != 4) || x < 0 || y < 0 || w <= 0 || h <= 0 || x + w > width ||
        y + h > height) {
        return;
    }
    const size_t stride = static_cast<size_t>(width) * depth;
    const unsigned char* alpha = pixels + (depth - 1);  // premultiplied: a zero alpha is a zero texel
    int left = w, right = -1, top = h, bottom = -1;
    for (int row = 0; row < h; ++row) {
        const unsigned char* texel = alpha + static_cast<size_t>(y + row) * stride + static_cast<size_t>(x) * depth;
        int first = 0;
        while (first < w && texel[static_cast<size_t>(first) * depth] == 0) ++first;
        if (first == w) continue;
        int last = w - 1;
        while (texel[static_cast<size_t>(last) * depth] == 0) --last;
        left = std::min(left, first);
        right = std::max(right, last);
        if (top == h) top = row;
        bottom = row;
    }
    if (right < 0) {
        out[2] = out[3] = 0;
        return;
    }
    left = std::max(0, left - 1), top = std::max(0, top - 1);
    right = std::min(w - 1, right + 1), bottom = std::min(h - 1, bottom + 1);
    out[0] = x + left, out[1] = y + top, out[2] = right - left + 1, out[3] = bottom - top + 1;
}

void hwSurface::Bind() {
    if (page) {
        page->Bind(this);
        return;
    }
    if (kpGraphicsSeq == 0) return;  // no window, no context yet
    if (seq == kpGraphicsSeq) {
        glBindTexture(GL_TEXTURE_2D, texture);
        // A texture still being filled is finished before it is drawn from.
        if (pixels && rowsFilled < height) hwFillTexture(*this, true);
        return;
    }
    seq = kpGraphicsSeq;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    SampleNearestClamped(GL_TEXTURE_2D);
    int texWidth = width, texHeight = height;
    if (!hwTextureStorage2D(format, texWidth, texHeight)) {
        // NOTE: taken to mean the driver wants power-of-two sizes; the image then sits in the top-left corner
        // and the texture scales keep the rest from being sampled.
        texWidth = PowerOfTwoAtLeast(width);
        texHeight = PowerOfTwoAtLeast(height);
        hwTextureStorage2D(format, texWidth, texHeight);
    }
    uscale = texWidth > 0 ? 1.0f / static_cast<float>(texWidth) : 0.0f;
    vscale = texHeight > 0 ? 1.0f / static_cast<float>(texHeight) : 0.0f;
    rowsFilled = 0;
    if (pixels) hwFillTexture(*this, false);
}

void hwSurface::SetSubData(int x, int y, int w, int h, const int* source, int pitch) {
    if (format != GL_RGBA || !source) return;
    // NOTE: the rectangle must lie inside the surface, or the writes below would land outside the pixel block.
    if (x < 0 || y < 0 || w <= 0 || h <= 0 || x > width - w || y > height - h) return;
    if (!pixels) {
        pixels = static_cast<unsigned char*>(std::calloc(static_cast<size_t>(width) * height, 4));  // transparent
        if (!pixels) return;
        gc_ext_new_bytes += static_cast<int64_t>(width) * height * 4;
    }
    for (int r = 0; r < h; ++r) {
        const int* in = source + static_cast<ptrdiff_t>(r) * pitch;
        unsigned char* out = pixels + (static_cast<size_t>(y + r) * width + x) * 4;
        for (int p = 0; p < w; ++p) {
            const uint32_t argb = static_cast<uint32_t>(in[p]);
            const uint32_t a = argb >> 24;
            out[p * 4 + 0] = static_cast<unsigned char>(((argb >> 16) & 0xff) * a / 255);
            out[p * 4 + 1] = static_cast<unsigned char>(((argb >> 8) & 0xff) * a / 255);
            out[p * 4 + 2] = static_cast<unsigned char>((argb & 0xff) * a / 255);
            out[p * 4 + 3] = static_cast<unsigned char>(a);
        }
    }
    ++pixelsChanged;
    if (page) {
        page->Refresh(this);  // the whole layer goes up again, with its repeated edges
        return;
    }
    if (seq != kpGraphicsSeq) return;  // the next bind uploads the whole block
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // NOTE: the block's rows are the surface's width apart, whatever the rectangle's width; telling OpenGL so
    // uploads the rectangle in one call.
    glPixelStorei(GL_UNPACK_ROW_LENGTH, width);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, format, GL_UNSIGNED_BYTE,
                    pixels + (static_cast<size_t>(y) * width + x) * 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

// ---- Surfaces made by the graphics device ----

bool hwGraphics::LoadSurface__UNSAFE__(hwSurface* surface, const String& path) {
    if (!surface || !host) return false;
    int w = 0, h = 0, d = 0;
    unsigned char* data = host->LoadImageData(path, &w, &h, &d);
    if (!data) return false;
    surface->SetData(data, w, h, d);
    return true;
}

StrongRef<hwSurface> hwGraphics::LoadSurface(const String& path) {
    StrongRef<hwSurface> surface = MakeRef<hwSurface>();
    if (!LoadSurface__UNSAFE__(surface.Get(), path)) return nullptr;
    // NOTE: a surface on a page is uploaded when it is first drawn or loading pauses (see hwTexturePage), so a
    // page that grows while loading is not made again for each surface placed.
    if (texturePages) hwTexturePage::Place(surface.Get());
    if (!surface->page) surface->Bind();
    return surface;
}

StrongRef<hwSurface> hwGraphics::CreateSurface(int w, int h) {
    StrongRef<hwSurface> surface = MakeRef<hwSurface>();
    surface->width = w;
    surface->height = h;
    surface->depth = 4;
    surface->format = GL_RGBA;
    surface->Bind();
    return surface;
}
