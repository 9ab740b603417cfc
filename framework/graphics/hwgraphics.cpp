// hwGraphics: batching, transforming and colouring primitives, and the state that decides when a batch is drawn.
// Depends on the host (window size), hwSurface and hwTexturePage (texture binding), and on the device's OpenGL
// side, which draws a batch: desktop/hwgraphics_gl.cpp on OpenGL's fixed pipeline, or web/hwgraphics_gl.cpp on WebGL.
#include "framework/graphics/hwgraphics.h"

#include <bit>    // std::endian: the packed colour is read by OpenGL as bytes
#include <cassert>
#include <cmath>  // cosf, sinf, sqrtf
#include <vector>

#include "host/graphics_generation.h"  // kpGraphicsSeq
#include "host/kpgame.h"

static_assert(std::endian::native == std::endian::little,
              "the packed colour is built as a little-endian uint32 so its bytes read red, green, blue, alpha");

namespace {
// A colour channel as a byte. NOTE: callers are expected to stay in range; clamping keeps a stray value from
// spilling into the neighbouring channel (and keeps the float-to-int conversion defined).
uint32_t ChannelByte(float value) {
    if (!(value > 0.0f)) return 0;
    if (value >= 255.0f) return 255;
    return static_cast<uint32_t>(static_cast<int>(value));
}
}  // namespace

hwGraphics::hwGraphics(KpGame* hostGame) : host(hostGame) {
    if (host) {
        width = host->GetDeviceWidth();
        height = host->GetDeviceHeight();
    }
}

int hwGraphics::BeginRender() {
    width = height = 0;
    if (host) {
        width = host->GetDeviceWidth();
        height = host->GetDeviceHeight();
    }
    GLBeginFrame();
    blendMode = 0;
    // NOTE: the context may be new (window re-created), so the scissor state is not known until it is set.
    scissorState = Scissor::Unknown;
    batchCount = 0;
    indexCount = 0;
    // NOTE: before anything is drawn, so no batch is pending; once loading pauses, pages are made packed and
    // the memory of layers given up is freed within the run of loading, while the host still hands it back.
    hwTexturePage::Settle();
    return 1;
}

int hwGraphics::EndRender() {
    Flush();
    // NOTE: nothing outlives the frame here, so a surface let go of between frames is not kept by the device.
    batchSurface = nullptr;
    batchTexture = nullptr;
    return 0;
}

void hwGraphics::Flush() {
    if (batchCount == 0) return;
    GLDrawBatch(batchSurface.Get());
    batchCount = 0;
    indexCount = 0;
}

hwVertex* hwGraphics::Begin(int kind, int count, hwSurface* surface) {
    assert(kind >= 1 && count >= kind && count % kind == 0 && count <= kMaxVertices &&
           "whole primitives that fit in one batch");
    const Batch wanted = kind == 1 ? Batch::Points : kind == 2 ? Batch::Lines : Batch::Shapes;
    const void* texture = surface ? surface->TextureKey() : nullptr;
    if (wanted != batchKind || texture != batchTexture || batchCount + count > kMaxVertices) {
        Flush();
        batchKind = wanted;
        if (texture != batchTexture) {
            batchSurface = surface;
            batchTexture = texture;
        }
    }
    if (wanted == Batch::Shapes) AppendFans(kind, count);
    if (colorChanged) PackColor();
    hwVertex* out = &vertexBuffer[batchCount];
    batchCount += count;
    return out;
}

void hwGraphics::AppendFans(int kind, int count) {
    // NOTE: the triangles (first, first + i, first + i + 1) are exactly those OpenGL makes of a GL_TRIANGLE_FAN
    // over the shape's vertices, in the same order, so a batch draws the pixels that one fan per shape would; a
    // quad's two triangles share the diagonal from its first to its third vertex.
    uint16_t* out = &indexBuffer[indexCount];
    for (int first = batchCount; first < batchCount + count; first += kind) {
        const auto base = static_cast<uint16_t>(first);
        for (int i = 1; i + 1 < kind; ++i) {
            *out++ = base;
            *out++ = static_cast<uint16_t>(base + i);
            *out++ = static_cast<uint16_t>(base + i + 1);
        }
    }
    indexCount = static_cast<int>(out - indexBuffer);
}

void hwGraphics::Put(hwVertex* vertex, float x, float y) const {
    if (isTransformed) {
        vertex->x = ma * x + mc * y + mtx;
        vertex->y = mb * x + md * y + mty;
    } else {
        vertex->x = x;
        vertex->y = y;
    }
    vertex->color = packedColor;
}

void hwGraphics::PrepareTexture(hwSurface* surface) {
    // NOTE: the test runs for every image drawn; the work behind it hardly ever.
    if (surface->page ? surface->drawableIn != kpGraphicsSeq : surface->seq == -1) PrepareTextureNow(surface);
}

void hwGraphics::PrepareTextureNow(hwSurface* surface) {
    // NOTE: a surface made before any window has no texture and no scales yet, and a page may have to be made
    // (again) before one of its members can be drawn; the bind inside Flush would do either too late for the
    // vertices being written, so the draw does it now. Flush binds a pending batch's own texture, so nothing
    // pending is disturbed, except vertices of a page about to be made again: they are drawn first, with the
    // layer coordinates they were given.
    if (hwTexturePage* page = surface->page.Get()) {
        if (batchTexture == page) Flush();
        page->Prepare(surface);
    } else {
        surface->Bind();
    }
}

// ---- State ----

void hwGraphics::PackColor() {
    colorChanged = false;
    packedColor = ChannelByte(alpha * 255.0f) << 24 | ChannelByte(blue * alpha) << 16 |
                  ChannelByte(green * alpha) << 8 | ChannelByte(red * alpha);
}

int hwGraphics::SetAlpha(float a) {
    alpha = a;
    colorChanged = true;
    return 0;
}

int hwGraphics::SetColor(float r, float g, float b) {
    red = r;
    green = g;
    blue = b;
    colorChanged = true;
    return 0;
}

int hwGraphics::SetBlend(int mode) {
    const int wanted = mode == 1 ? 1 : 0;
    if (wanted == blendMode) return 0;
    Flush();
    blendMode = wanted;
    GLBlend(wanted);
    return 0;
}

int hwGraphics::SetScissor(int x, int y, int w, int h) {
    if (x == 0 && y == 0 && w == Width() && h == Height()) {
        if (scissorState == Scissor::Off) return 0;
        Flush();
        scissorState = Scissor::Off;
        GLScissorOff();
        return 0;
    }
    const int box[4] = {x, Height() - y - h, w, h};
    if (scissorState == Scissor::On && box[0] == scissorBox[0] && box[1] == scissorBox[1] &&
        box[2] == scissorBox[2] && box[3] == scissorBox[3]) {
        return 0;
    }
    Flush();
    const bool wasOn = scissorState == Scissor::On;
    scissorState = Scissor::On;
    for (int i = 0; i < 4; ++i) scissorBox[i] = box[i];
    GLScissorTo(scissorBox, !wasOn);
    return 0;
}

int hwGraphics::SetMatrix(float a, float b, float c, float d, float tx, float ty) {
    ma = a;
    mb = b;
    mc = c;
    md = d;
    mtx = tx;
    mty = ty;
    isTransformed = !(a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0);
    return 0;
}

int hwGraphics::Cls(float r, float g, float b) {
    batchCount = 0;
    indexCount = 0;
    GLClear(r / 255.0f, g / 255.0f, b / 255.0f);
    return 0;
}

// ---- Primitives ----

int hwGraphics::DrawPoint(float x, float y) {
    hwVertex* v = Begin(1, 1, nullptr);
    Put(v, x, y);
    v->x += 0.5f;
    v->y += 0.5f;
    return 0;
}

int hwGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    hwVertex* v = Begin(2, 2, nullptr);
    Put(&v[0], x1, y1);
    Put(&v[1], x2, y2);
    for (int i = 0; i < 2; ++i) {
        v[i].x += 0.5f;
        v[i].y += 0.5f;
    }
    return 0;
}

int hwGraphics::DrawRect(float x, float y, float w, float h) {
    hwVertex* v = Begin(4, 4, nullptr);
    Put(&v[0], x, y);
    Put(&v[1], x + w, y);
    Put(&v[2], x + w, y + h);
    Put(&v[3], x, y + h);
    return 0;
}

int hwGraphics::DrawOval(float x, float y, float w, float h) {
    const float xr = w * 0.5f;
    const float yr = h * 0.5f;
    float segments;
    if (isTransformed) {
        segments = std::trunc(std::sqrt((xr * ma) * (xr * ma) + (xr * mb) * (xr * mb)) +
                              std::sqrt((yr * mc) * (yr * mc) + (yr * md) * (yr * md)));
    } else {
        segments = std::fabs(std::trunc(xr)) + std::fabs(std::trunc(yr));
    }
    // NOTE: clamped while still a float, so a huge or non-finite size never reaches an int conversion.
    int n;
    if (!(segments >= 12.0f)) {
        n = 12;
    } else if (segments > static_cast<float>(kMaxVertices)) {
        n = kMaxVertices;
    } else {
        n = static_cast<int>(segments) & ~3;
    }
    hwVertex* v = Begin(n, n, nullptr);
    for (int i = 0; i < n; ++i) {
        const float theta = static_cast<float>(i) * 6.2831855f / static_cast<float>(n);
        Put(&v[i], x + xr + cosf(theta) * xr, y + yr - sinf(theta) * yr);
    }
    return 0;
}

int hwGraphics::DrawPoly(const Array<float>& verts) {
    const int n = verts.Length() / 2;
    if (n == 0 || n > kMaxVertices) return 0;
    hwVertex* v = Begin(n, n, nullptr);
    for (int k = 0; k < n; ++k) Put(&v[k], verts[2 * k], verts[2 * k + 1]);
    return 0;
}

int hwGraphics::DrawPoly2(const Array<float>& verts, hwSurface* surface, int sx, int sy) {
    const int n = verts.Length() / 4;
    if (n == 0 || n > kMaxVertices || !surface) return 0;
    PrepareTexture(surface);
    hwVertex* v = Begin(n, n, surface);
    for (int k = 0; k < n; ++k) {
        Put(&v[k], verts[4 * k], verts[4 * k + 1]);
        v[k].u = (verts[4 * k + 2] + static_cast<float>(sx)) * surface->uscale;
        v[k].v = (verts[4 * k + 3] + static_cast<float>(sy)) * surface->vscale;
        v[k].layer = surface->layerCoord;
    }
    return 0;
}

int hwGraphics::DrawSurface(hwSurface* surface, float x, float y) {
    if (!surface) return 0;
    return DrawSurface2(surface, x, y, 0, 0, surface->width, surface->height);
}

int hwGraphics::DrawSurface2(hwSurface* surface, float x, float y, int sx, int sy, int sw, int sh) {
    if (!surface) return 0;
    PrepareTexture(surface);
    hwVertex* v = Begin(4, 4, surface);
    const float w = static_cast<float>(sw), h = static_cast<float>(sh);
    const float u0 = static_cast<float>(sx) * surface->uscale, u1 = static_cast<float>(sx + sw) * surface->uscale;
    const float v0 = static_cast<float>(sy) * surface->vscale, v1 = static_cast<float>(sy + sh) * surface->vscale;
    Put(&v[0], x, y);
    Put(&v[1], x + w, y);
    Put(&v[2], x + w, y + h);
    Put(&v[3], x, y + h);
    v[0].u = u0, v[0].v = v0;
    v[1].u = u1, v[1].v = v0;
    v[2].u = u1, v[2].v = v1;
    v[3].u = u0, v[3].v = v1;
    for (int i = 0; i < 4; ++i) v[i].layer = surface->layerCoord;
    return 0;
}

// ---- Pixels ----

int hwGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
    Flush();
    if (w <= 0 || h <= 0 || offset < 0 || pitch < w) return 0;
    if (static_cast<int64_t>(offset) + static_cast<int64_t>(h - 1) * pitch + w > pixels.Length()) return 0;
    std::vector<uint32_t> buffer(static_cast<size_t>(w) * static_cast<size_t>(h));
    GLReadPixels(x, height - y - h, w, h, buffer.data());
    for (int r = 0; r < h; ++r) {
        const uint32_t* row = &buffer[static_cast<size_t>(h - 1 - r) * static_cast<size_t>(w)];
        int* out = &pixels[offset + r * pitch];
        for (int p = 0; p < w; ++p) out[p] = static_cast<int>(row[p]);
    }
    return 0;
}

int hwGraphics::WritePixels2(hwSurface* surface, Array<int> pixels, int x, int y, int w, int h, int offset,
                             int pitch) {
    if (!surface || w <= 0 || h <= 0 || offset < 0 || pitch < w) return 0;
    if (static_cast<int64_t>(offset) + static_cast<int64_t>(h - 1) * pitch + w > pixels.Length()) return 0;
    surface->SetSubData(x, y, w, h, &pixels[offset], pitch);
    return 0;
}
