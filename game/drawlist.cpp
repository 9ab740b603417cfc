// c_MyApp's draw list: update code records what it wants shown as fixed 15-float records carrying a snapshot
// of the draw state, and the render pass replays them through the drawing API at the fitted scale.
// Depends on the graphics module (kp_graphics_*), the app module (device size) and the game's globals.
// Update code never draws, so a frame rendered twice between updates shows the same picture.
//
// Record slots: 0 kind (image slot 0..99, or -3717 rectangle, -3716 oval, -3715 line, -3714 triangle);
// 1..6 coordinates (for images x, y, rotation, scale x, scale y, frame); 7 alpha; 10..12 colour; 13 blend.
// Slots 8, 9 and 14 are never written or read.
#include "framework/app/app.h"
#include "game/myapp.h"

namespace {
constexpr float kRectRecord = -3717.0f;
constexpr float kOvalRecord = -3716.0f;
constexpr float kLineRecord = -3715.0f;
constexpr float kTriRecord = -3714.0f;
constexpr float kNotGiven = -3717.0f;
constexpr int kRecordSize = c_MyApp::kRecordFloats;
constexpr int kLastRecordStart = c_MyApp::kLastRecordStart;
constexpr int kImageSlots = 100;

// p_Ink's palette: fractions of full red, green, blue; index 0 is used for any index outside 1..9.
constexpr float kInkPalette[10][3] = {
    {0.3f, 0.3f, 0.3f}, {1.0f, 0.1f, 0.1f}, {1.0f, 0.5f, 0.1f}, {1.0f, 1.0f, 0.1f}, {0.1f, 1.0f, 0.1f},
    {0.1f, 1.0f, 1.0f}, {0.1f, 0.1f, 1.0f}, {0.5f, 0.1f, 1.0f}, {1.0f, 0.1f, 0.5f}, {1.0f, 1.0f, 1.0f},
};

float Clamp255(float value) { return value < 0.0f ? 0.0f : (value > 255.0f ? 255.0f : value); }

// The next record's slots with the common part (alpha, colour, blend) filled; null when the list is full.
float* NewRecord(c_MyApp& app, float kind) {
    if (app.m_drawCount > kLastRecordStart) return nullptr;
    float* record = &app.m_drawList[app.m_drawCount];
    app.m_drawCount += kRecordSize;
    record[0] = kind;
    record[7] = app.m_drawAlpha;
    record[10] = app.m_drawRed;
    record[11] = app.m_drawGreen;
    record[12] = app.m_drawBlue;
    record[13] = static_cast<float>(app.m_drawBlend);
    return record;
}
}  // namespace

// ---- Recording ----

int c_MyApp::p_DrawImg(int slot, float x, float y, float frame) {
    if (float* r = NewRecord(*this, static_cast<float>(slot))) {
        r[1] = x, r[2] = y, r[3] = m_drawRotation, r[4] = m_drawScaleX, r[5] = m_drawScaleY, r[6] = frame;
    }
    return 0;
}

int c_MyApp::p_Rect(float x, float y, float width, float height) {
    if (float* r = NewRecord(*this, kRectRecord)) {
        r[1] = x, r[2] = y, r[3] = m_drawRotation, r[4] = width, r[5] = height, r[6] = 0;
    }
    return 0;
}

int c_MyApp::p_Oval(float x, float y, float radiusX, float radiusY) {
    if (float* r = NewRecord(*this, kOvalRecord)) {
        r[1] = x, r[2] = y, r[3] = m_drawRotation, r[4] = radiusX, r[5] = radiusY, r[6] = 0;
    }
    return 0;
}

int c_MyApp::p_Line(float x1, float y1, float x2, float y2) {
    if (float* r = NewRecord(*this, kLineRecord)) {
        r[1] = x1, r[2] = y1, r[3] = m_drawRotation, r[4] = x2, r[5] = y2, r[6] = 0;
    }
    return 0;
}

int c_MyApp::p_Tri(float x1, float y1, float x2, float y2, float x3, float y3) {
    if (float* r = NewRecord(*this, kTriRecord)) {
        if (x1 > x2 || x3 > x2) {
            r[1] = x3, r[2] = y3, r[3] = x2, r[4] = y2, r[5] = x1, r[6] = y1;
        } else {
            r[1] = x1, r[2] = y1, r[3] = x2, r[4] = y2, r[5] = x3, r[6] = y3;
        }
    }
    return 0;
}

// ---- Draw state ----

int c_MyApp::p_SetCol(float red, float green, float blue, float alpha) {
    m_drawRed = red;
    m_drawGreen = green;
    m_drawBlue = blue;
    if (alpha > kNotGiven) m_drawAlpha = alpha;
    return 0;
}

int c_MyApp::p_Alpha(float alpha) {
    m_drawAlpha = alpha;
    return 0;
}

int c_MyApp::p_SetRot(float angle) {
    m_drawRotation = -angle;
    return 0;
}

int c_MyApp::p_SetSize(float sx, float sy) {
    m_drawScaleX = sx;
    m_drawScaleY = sy > kNotGiven ? sy : sx;
    return 0;
}

int c_MyApp::p_Ink(int index, float brightness) {
    const float* ink = kInkPalette[index >= 1 && index <= 9 ? index : 0];
    const float k = brightness * 255.0f;
    m_drawRed = Clamp255(ink[0] * k);
    m_drawGreen = Clamp255(ink[1] * k);
    m_drawBlue = Clamp255(ink[2] * k);
    return 0;
}

int c_MyApp::p_ResetDraw() {
    m_drawScaleX = m_drawScaleY = 1.0f;
    m_drawRotation = 0.0f;
    m_drawRed = m_drawGreen = m_drawBlue = 255.0f;
    m_drawAlpha = 1.0f;
    m_drawBlend = 1;
    return 0;
}

int c_MyApp::p_CLS2D(float red, float green, float blue, float alpha) {
    if (red > kNotGiven) {
        m_clearColor[0] = red;
        m_clearColor[1] = green;
        m_clearColor[2] = blue;
        m_clearColor[3] = alpha;
    }
    p_ResetDraw();
    m_drawCount = 0;
    return 0;
}

// ---- Render pass ----

void c_MyApp::p_ClearScreen() {
    // NOTE: an opaque clear covers the whole window either way; the device's clear is far cheaper for the GL
    // driver than blending a window-sized rectangle. A clear alpha below 1 must blend: it leaves a trace.
    if (m_clearColor[3] >= 1.0f && kp_graphics_renderDevice) {
        kp_graphics_renderDevice->Cls(m_clearColor[0], m_clearColor[1], m_clearColor[2]);
        kp_graphics_SetColor(255, 255, 255);
        kp_graphics_SetAlpha(1);
        return;
    }
    kp_graphics_SetColor(m_clearColor[0], m_clearColor[1], m_clearColor[2]);
    kp_graphics_SetAlpha(m_clearColor[3]);
    kp_graphics_DrawRect(-1, -1, static_cast<float>(kp_app_DeviceWidth() + 2),
                         static_cast<float>(kp_app_DeviceHeight() + 2));
    kp_graphics_SetColor(255, 255, 255);
    kp_graphics_SetAlpha(1);
}

void c_MyApp::p_ReplayDrawList(float offsetX, float offsetY) {
    if (m_drawCount <= kRecordSize - 1) return;
    const float sx = m_scaleX, sy = m_scaleY;
    auto X = [&](float v) { return v * sx + offsetX; };
    auto Y = [&](float v) { return v * sy + offsetY; };
    for (int at = 0; at + kRecordSize <= m_drawCount; at += kRecordSize) {
        const float* r = &m_drawList[at];
        kp_graphics_SetAlpha(r[7]);
        kp_graphics_SetColor(r[10], r[11], r[12]);
        // NOTE: one call with the final mode: going through normal on the way to additive would change the
        // blend function twice per record and make every additive record its own draw call.
        kp_graphics_SetBlend(r[13] == 3.0f ? 1 : 0);
        const float kind = r[0];
        if (kind == kRectRecord) {
            kp_graphics_DrawRect(X(r[1]), Y(r[2]), r[4] * sx, r[5] * sy);
        } else if (kind == kOvalRecord) {
            kp_graphics_DrawEllipse(X(r[1]), Y(r[2]), r[4] * sx, r[5] * sy);
        } else if (kind == kLineRecord) {
            kp_graphics_DrawLine(X(r[1]), Y(r[2]), X(r[4]), Y(r[5]));
        } else if (kind == kTriRecord) {
            float* p = m_triPoints.Data();
            p[0] = X(r[1]), p[1] = Y(r[2]), p[2] = X(r[3]), p[3] = Y(r[4]), p[4] = X(r[5]), p[5] = Y(r[6]);
            kp_graphics_DrawPoly(m_triPoints);
        } else if (kind > -1.0f && kind < static_cast<float>(kImageSlots)) {
            // NOTE: the slot and the frame are checked while still floats: a slot past the 100 slots, or a frame
            // the image does not have, draws nothing instead of reading past the slot or frame list.
            c_Image* image = m_images[static_cast<int>(kind)].Get();
            const float frame = r[6];
            if (!image || !(frame > -1.0f && frame < static_cast<float>(image->FrameCount()))) continue;
            kp_graphics_DrawImage2(image, X(r[1]), Y(r[2]), r[3], r[4] * sx * m_imageScale,
                                   r[5] * sy * m_imageScale, static_cast<int>(frame));
        }
    }
}

void c_MyApp::p_EndRenderState() {
    kp_graphics_SetColor(255, 255, 255);
    kp_graphics_SetAlpha(0.5f);
}
