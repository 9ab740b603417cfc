// The graphics module: the context, its state and matrix functions, and the draw functions that forward to
// the render device.
// Depends on the graphics device, the app module (device size at the start of a pass) and the host's errors.
#include "framework/graphics/graphics.h"

#include <cmath>

#include "framework/app/app.h"
#include "host/errors.h"

hwGraphics* kp_graphics_device = nullptr;
hwGraphics* kp_graphics_renderDevice = nullptr;
namespace {
c_GraphicsContext* NewContext() {
    auto* context = new c_GraphicsContext();
    context->Retain();
    return context;
}
}  // namespace

c_GraphicsContext* kp_graphics_context = NewContext();

void kp_graphics_Init() {
    kp_graphics_device = nullptr;
    kp_graphics_renderDevice = nullptr;
    kp_graphics_context->Release();
    kp_graphics_context = NewContext();
}

c_GraphicsContext::c_GraphicsContext() : m_savedMatrices(192) {}

int c_GraphicsContext::p_Validate() {
    if (m_matrixDirty && kp_graphics_renderDevice) {
        kp_graphics_renderDevice->SetMatrix(m_a, m_b, m_c, m_d, m_tx, m_ty);
        m_matrixDirty = 0;
    }
    return 0;
}

namespace {
c_GraphicsContext& Context() { return *kp_graphics_context; }

// Recomputes isTransformed and marks the matrix for sending.
void MatrixChanged() {
    c_GraphicsContext& g = Context();
    g.m_isTransformed = !(g.m_a == 1 && g.m_b == 0 && g.m_c == 0 && g.m_d == 1 && g.m_tx == 0 && g.m_ty == 0);
    g.m_matrixDirty = 1;
}

// The render device after validating the matrix; null outside a render pass, where nothing is drawn.
hwGraphics* DrawingDevice() {
    if (!kp_graphics_renderDevice) return nullptr;
    Context().p_Validate();
    return kp_graphics_renderDevice;
}

bool HasFrame(const c_Image* image, int frame) {
    return image && image->m_surface && frame >= 0 && frame < image->FrameCount();
}

// Draws the part of a frame with ink in it, the frame's top left corner at (left, top) in the device's current
// matrix. NOTE: the fully transparent margins of a frame (most of a letter's cell, the corners of a round
// sprite) change no pixel but still cost the rasteriser their fill; this runs for every image of a frame, and
// the measuring behind it once per frame of a sheet.
void DrawFrameInk(hwGraphics* device, c_Image* image, int frame, float left, float top) {
    hwSurface* surface = image->m_surface.Get();
    c_Frame& f = *image->m_frames[frame];
    if (f.m_inkOf != surface->pixelsChanged) {
        surface->InkBounds(f.m_x, f.m_y, image->m_width, image->m_height, f.m_ink);
        f.m_ink[0] -= f.m_x, f.m_ink[1] -= f.m_y;
        f.m_inkOf = surface->pixelsChanged;
    }
    const int* ink = f.m_ink;
    if (ink[2] == 0) return;
    device->DrawSurface2(surface, left + static_cast<float>(ink[0]), top + static_cast<float>(ink[1]),
                         f.m_x + ink[0], f.m_y + ink[1], ink[2], ink[3]);
}
}  // namespace

int kp_graphics_SetGraphicsDevice(hwGraphics* device) {
    kp_graphics_device = device;
    return 0;
}

int kp_graphics_BeginRender() {
    kp_graphics_renderDevice = kp_graphics_device;
    c_GraphicsContext& g = Context();
    g.m_stackDepth = 0;
    g.m_a = 1, g.m_b = 0, g.m_c = 0, g.m_d = 1, g.m_tx = 0, g.m_ty = 0;
    g.m_isTransformed = 0;
    g.m_matrixDirty = 1;
    kp_graphics_SetColor(255, 255, 255);
    kp_graphics_SetAlpha(1);
    kp_graphics_SetBlend(0);
    kp_graphics_SetScissor(0, 0, static_cast<float>(kp_app_DeviceWidth()), static_cast<float>(kp_app_DeviceHeight()));
    return 0;
}

int kp_graphics_EndRender() {
    kp_graphics_renderDevice = nullptr;
    return 0;
}

// ---- State ----

int kp_graphics_SetColor(float red, float green, float blue) {
    c_GraphicsContext& g = Context();
    g.m_colorRed = red, g.m_colorGreen = green, g.m_colorBlue = blue;
    if (kp_graphics_renderDevice) kp_graphics_renderDevice->SetColor(red, green, blue);
    return 0;
}

int kp_graphics_SetAlpha(float alpha) {
    Context().m_colorAlpha = alpha;
    if (kp_graphics_renderDevice) kp_graphics_renderDevice->SetAlpha(alpha);
    return 0;
}

int kp_graphics_SetBlend(int mode) {
    Context().m_blendMode = mode;
    if (kp_graphics_renderDevice) kp_graphics_renderDevice->SetBlend(mode);
    return 0;
}

int kp_graphics_SetScissor(float x, float y, float width, float height) {
    c_GraphicsContext& g = Context();
    g.m_scissorX = x, g.m_scissorY = y, g.m_scissorWidth = width, g.m_scissorHeight = height;
    if (kp_graphics_renderDevice) {
        kp_graphics_renderDevice->SetScissor(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                                             static_cast<int>(height));
    }
    return 0;
}

// ---- Matrix ----

int kp_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty) {
    c_GraphicsContext& g = Context();
    g.m_a = a, g.m_b = b, g.m_c = c, g.m_d = d, g.m_tx = tx, g.m_ty = ty;
    MatrixChanged();
    return 0;
}

int kp_graphics_SetMatrix2(const Array<float>& m) { return kp_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]); }

int kp_graphics_Transform(float a, float b, float c, float d, float tx, float ty) {
    c_GraphicsContext& g = Context();
    const float na = a * g.m_a + b * g.m_c;
    const float nb = a * g.m_b + b * g.m_d;
    const float nc = c * g.m_a + d * g.m_c;
    const float nd = c * g.m_b + d * g.m_d;
    const float ntx = tx * g.m_a + ty * g.m_c + g.m_tx;
    const float nty = tx * g.m_b + ty * g.m_d + g.m_ty;
    g.m_a = na, g.m_b = nb, g.m_c = nc, g.m_d = nd, g.m_tx = ntx, g.m_ty = nty;
    MatrixChanged();
    return 0;
}

int kp_graphics_Transform2(const Array<float>& m) { return kp_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]); }

int kp_graphics_Translate(float x, float y) { return kp_graphics_Transform(1, 0, 0, 1, x, y); }

int kp_graphics_Scale(float x, float y) { return kp_graphics_Transform(x, 0, 0, y, 0, 0); }

int kp_graphics_Rotate(float angle) {
    const float r = angle * 0.017453292f;
    const float s = static_cast<float>(std::sin(static_cast<double>(r)));
    const float k = static_cast<float>(std::cos(static_cast<double>(r)));
    return kp_graphics_Transform(k, -s, s, k, 0, 0);
}

int kp_graphics_PushMatrix() {
    c_GraphicsContext& g = Context();
    if (g.m_stackDepth == g.m_savedMatrices.Length()) {
        g.m_savedMatrices = g.m_savedMatrices.Resized(g.m_savedMatrices.Length() * 2);
    }
    float* top = &g.m_savedMatrices[g.m_stackDepth];
    top[0] = g.m_a, top[1] = g.m_b, top[2] = g.m_c, top[3] = g.m_d, top[4] = g.m_tx, top[5] = g.m_ty;
    g.m_stackDepth += 6;
    return 0;
}

int kp_graphics_PopMatrix() {
    c_GraphicsContext& g = Context();
    // NOTE: a pop without its push would read below the stack; it is a fault in the calling code, so it stops
    // the game with a message instead of drawing with a made-up matrix.
    if (g.m_stackDepth < 6) kpError(String("Matrix stack underflow"));
    g.m_stackDepth -= 6;
    const float* top = &g.m_savedMatrices[g.m_stackDepth];
    g.m_a = top[0], g.m_b = top[1], g.m_c = top[2], g.m_d = top[3], g.m_tx = top[4], g.m_ty = top[5];
    MatrixChanged();
    return 0;
}

// ---- Drawing ----

int kp_graphics_DrawRect(float x, float y, float width, float height) {
    if (hwGraphics* device = DrawingDevice()) device->DrawRect(x, y, width, height);
    return 0;
}

int kp_graphics_DrawLine(float x1, float y1, float x2, float y2) {
    if (hwGraphics* device = DrawingDevice()) device->DrawLine(x1, y1, x2, y2);
    return 0;
}

int kp_graphics_DrawEllipse(float x, float y, float radiusX, float radiusY) {
    if (hwGraphics* device = DrawingDevice()) device->DrawOval(x - radiusX, y - radiusY, 2 * radiusX, 2 * radiusY);
    return 0;
}

int kp_graphics_DrawPoly(const Array<float>& verts) {
    if (hwGraphics* device = DrawingDevice()) device->DrawPoly(verts);
    return 0;
}

int kp_graphics_DrawPoly2(const Array<float>& verts, c_Image* image, int frame) {
    if (!HasFrame(image, frame)) return 0;
    if (hwGraphics* device = DrawingDevice()) {
        const c_Frame& f = *image->m_frames[frame];
        device->DrawPoly2(verts, image->m_surface.Get(), f.m_x, f.m_y);
    }
    return 0;
}

int kp_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
    if (!HasFrame(image, frame)) return 0;
    hwGraphics* device = DrawingDevice();
    if (!device) return 0;
    const float left = x - image->m_handleX, top = y - image->m_handleY;
    if (image->m_flags & ImageWholeSurface) {
        device->DrawSurface(image->m_surface.Get(), left, top);
    } else {
        DrawFrameInk(device, image, frame, left, top);
    }
    return 0;
}

int kp_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                           int frame) {
    if (!HasFrame(image, frame) || !kp_graphics_renderDevice) return 0;
    // The current matrix times translate (x, y), rotate, scale and translate (-handle), the image's own matrix.
    // NOTE: worked out in one go, with the very products and sums four kp_graphics_Transform calls between a
    // push and a pop would make (less their products by 1 and sums with 0, which change no value), so the
    // vertices come out the same to the bit at a fraction of the cost; this runs for every image of a frame.
    const c_GraphicsContext& g = Context();
    float a = g.m_a, b = g.m_b, c = g.m_c, d = g.m_d;
    float tx = x * a + y * c + g.m_tx;
    float ty = x * b + y * d + g.m_ty;
    if (rotation != 0) {
        const double r = static_cast<double>(rotation * 0.017453292f);
        const float k = static_cast<float>(std::cos(r)), s = static_cast<float>(std::sin(r));
        const float na = k * a + -s * c, nb = k * b + -s * d;
        c = s * a + k * c;
        d = s * b + k * d;
        a = na;
        b = nb;
    }
    a = scaleX * a, b = scaleX * b, c = scaleY * c, d = scaleY * d;
    tx = -image->m_handleX * a + -image->m_handleY * c + tx;
    ty = -image->m_handleX * b + -image->m_handleY * d + ty;

    hwGraphics* device = kp_graphics_renderDevice;
    device->SetMatrix(a, b, c, d, tx, ty);
    // The context keeps its own matrix, which the device no longer has: the next draw sends it again.
    Context().m_matrixDirty = 1;
    if (image->m_flags & ImageWholeSurface) {
        device->DrawSurface(image->m_surface.Get(), 0, 0);
    } else {
        DrawFrameInk(device, image, frame, 0, 0);
    }
    return 0;
}
