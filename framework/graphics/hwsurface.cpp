// hwSurface: premultiplying pixels once at load, making and re-making textures, sub-image updates; and the
// graphics device's operations that make surfaces.
// Depends on OpenGL 1.2, the host (LoadImageData, glfwGraphicsSeq) and the graphics device.
#include "framework/graphics/hwsurface.h"

#include <GL/gl.h>

#include <cstdlib>  // calloc, free

#include "framework/graphics/hwgraphics.h"
#include "host/glfwgame.h"
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

// The smallest power of two at least size (1 for sizes below 2).
int PowerOfTwoAtLeast(int size) {
    int out = 1;
    while (out < size && out < (1 << 30)) out <<= 1;
    return out;
}
}  // namespace

hwSurface::~hwSurface() { Discard(); }

int hwSurface::Discard() {
    // NOTE: a texture of an older context died with its window; its name means nothing in the current one.
    if (seq != -1 && seq == glfwGraphicsSeq) {
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
    if (!pixels) return;
    const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
    if (d == 2) {
        for (size_t i = 0; i < count; ++i) {
            unsigned char* p = &pixels[i * 2];
            p[0] = static_cast<unsigned char>(p[0] * p[1] / 255);
        }
    } else if (d == 4) {
        for (size_t i = 0; i < count; ++i) {
            unsigned char* p = &pixels[i * 4];
            const int a = p[3];
            p[0] = static_cast<unsigned char>(p[0] * a / 255);
            p[1] = static_cast<unsigned char>(p[1] * a / 255);
            p[2] = static_cast<unsigned char>(p[2] * a / 255);
        }
    }
}

void hwSurface::Bind() {
    if (glfwGraphicsSeq == 0) return;  // no window, no context yet
    if (seq == glfwGraphicsSeq) {
        glBindTexture(GL_TEXTURE_2D, texture);
        return;
    }
    seq = glfwGraphicsSeq;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    int texWidth = width, texHeight = height;
    glTexImage2D(GL_TEXTURE_2D, 0, format, texWidth, texHeight, 0, format, GL_UNSIGNED_BYTE, nullptr);
    if (glGetError() != GL_NO_ERROR) {
        // NOTE: taken to mean the driver wants power-of-two sizes; the image then sits in the top-left corner
        // and the texture scales keep the rest from being sampled.
        texWidth = PowerOfTwoAtLeast(width);
        texHeight = PowerOfTwoAtLeast(height);
        glTexImage2D(GL_TEXTURE_2D, 0, format, texWidth, texHeight, 0, format, GL_UNSIGNED_BYTE, nullptr);
    }
    uscale = texWidth > 0 ? 1.0f / static_cast<float>(texWidth) : 0.0f;
    vscale = texHeight > 0 ? 1.0f / static_cast<float>(texHeight) : 0.0f;
    if (pixels) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, pixels);
    }
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
    if (seq != glfwGraphicsSeq) return;  // the next bind uploads the whole block
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
    surface->Bind();
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
