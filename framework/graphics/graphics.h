// The graphics module: the drawing API game code sees (kp_graphics_*), the one graphics context with its
// matrix stack, and images (c_Image: a surface cut into frames, with a handle point).
// Depends on the graphics device (hwGraphics, hwSurface), the app module (device size) and the host (files,
// errors). State functions store their value in the context and forward it to the device at once; the matrix
// is sent to the device lazily, only before something is drawn.
#pragma once

#include <vector>

#include "framework/graphics/hwgraphics.h"
#include "framework/graphics/hwsurface.h"
#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

// Image flag bits.
constexpr int ImageMidHandle = 1;         // handle at the frame's centre (applied once, then cleared)
constexpr int ImagePadX = 2;              // a one-pixel border column left and right of every frame
constexpr int ImagePadY = 4;              // a one-pixel border row above and below every frame
constexpr int ImageWholeSurface = 65536;  // one frame covering the whole surface (set by the image itself)

// A frame's top-left corner on its image's surface, in pixels.
class c_Frame : public Object {
public:
    c_Frame* m_new(int x, int y);
    int m_x = 0, m_y = 0;
    // The part of the frame worth drawing (see hwSurface::InkBounds), measured when first drawn and again after
    // the surface's pixels change: x and y inside the frame, then width and height.
    int m_ink[4] = {0, 0, 0, 0};
    int m_inkOf = -1;  // the surface's pixelsChanged when measured; -1: not yet
};

class c_Image : public Object {
public:
    c_Image* m_new() { return this; }
    // frameCount frames side by side across the whole surface.
    c_Image* p_Init(StrongRef<hwSurface> surface, int frameCount, int flags);
    // frameCount frames of frameWidth x frameHeight, walked left to right, top to bottom from (x, y) inside the
    // source rectangle (sx, sy, sw, sh); a frame that does not fit is a runtime error.
    c_Image* p_Init2(StrongRef<hwSurface> surface, int x, int y, int frameWidth, int frameHeight, int frameCount,
                     int flags, StrongRef<c_Image> source, int sx, int sy, int sw, int sh);
    int p_SetHandle(float x, float y);
    int p_ApplyFlags(int flags);
    int FrameCount() const { return m_frames.Length(); }

    StrongRef<hwSurface> m_surface;
    int m_width = 0, m_height = 0;  // size of one frame
    Array<StrongRef<c_Frame>> m_frames;
    int m_flags = 0;
    float m_handleX = 0, m_handleY = 0;
    StrongRef<c_Image> m_source;  // always null in this game
};

class c_GraphicsContext : public Object {
public:
    c_GraphicsContext();
    // Sends the matrix to the render device when it changed since it was last sent.
    int p_Validate();

    StrongRef<c_Image> m_builtinFont, m_currentFont;
    int m_fontFirstChar = 0;
    int m_stackDepth = 0;  // floats in use on the matrix stack
    float m_a = 1, m_b = 0, m_c = 0, m_d = 1, m_tx = 0, m_ty = 0;
    int m_isTransformed = 0;
    int m_matrixDirty = 0;
    float m_colorRed = 255, m_colorGreen = 255, m_colorBlue = 255, m_colorAlpha = 1;
    int m_blendMode = 0;
    float m_scissorX = 0, m_scissorY = 0, m_scissorWidth = 0, m_scissorHeight = 0;
    Array<float> m_savedMatrices;
};

extern hwGraphics* kp_graphics_device;        // the one device, set once
extern hwGraphics* kp_graphics_renderDevice;  // the device while a render pass runs; null otherwise
// The one context; it lives for the whole process (never released, so nothing of it runs at exit).
extern c_GraphicsContext* kp_graphics_context;

// Sets the module's globals to their start values (a fresh context, no device).
void kp_graphics_Init();
int kp_graphics_SetGraphicsDevice(hwGraphics* device);
// Starts a render pass from the same state every frame: identity, white, alpha 1, normal blend, no scissor.
int kp_graphics_BeginRender();
int kp_graphics_EndRender();

// Image loaders answer null for a file that is missing, cannot be decoded, or is too small for its frames.
StrongRef<c_Image> kp_graphics_LoadImage(const String& path, int frameCount, int flags);
StrongRef<c_Image> kp_graphics_LoadImage2(const String& path, int frameWidth, int frameHeight, int frameCount,
                                          int flags);
// Asks the host to read and decode these image files ahead, in this order, for the loads about to come; a load
// of any other file, or one asked for before, works as ever.
int kp_graphics_DecodeImagesAhead(const std::vector<String>& paths);
// Whether these image files can be loaded now: false while the host still decodes them apart from the frame loop
// (a load then would find no pixels), or while the device still fills textures of sheets loaded before; a host
// that decodes on the spot, with a device that fills textures at once, is always ready.
bool kp_graphics_ImagesReady(const std::vector<String>& paths);
// Whether an image file has arrived: false while a host that downloads its data in parts has not received it.
bool kp_graphics_ImageArrived(const String& path);
// Tells the host the art level the game shows from now on.
int kp_graphics_ShowingArtLevel(int level);
StrongRef<c_Image> kp_graphics_CreateImage(int width, int height, int frameCount, int flags);
// Gives up an image's pixels and texture (or its layer of a texture page) at once, not at the collector step,
// so that an image loaded next can take its place; the image draws nothing from then on.
int kp_graphics_DiscardImage(c_Image* image);
// Selects a font; null selects the built-in one (loaded on first use) from character 32.
int kp_graphics_SetFont(StrongRef<c_Image> font, int firstChar);

int kp_graphics_SetColor(float red, float green, float blue);
int kp_graphics_SetAlpha(float alpha);
int kp_graphics_SetBlend(int mode);
int kp_graphics_SetScissor(float x, float y, float width, float height);
int kp_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty);
int kp_graphics_SetMatrix2(const Array<float>& matrix);
// Multiplies a matrix on the right of the current one.
int kp_graphics_Transform(float a, float b, float c, float d, float tx, float ty);
int kp_graphics_Transform2(const Array<float>& matrix);
int kp_graphics_Translate(float x, float y);
// Turns by angle degrees (counter-clockwise on screen).
int kp_graphics_Rotate(float angle);
int kp_graphics_Scale(float x, float y);
int kp_graphics_PushMatrix();
// Restores the matrix of the matching push; a pop with nothing pushed is a runtime error.
int kp_graphics_PopMatrix();

int kp_graphics_DrawRect(float x, float y, float width, float height);
int kp_graphics_DrawLine(float x1, float y1, float x2, float y2);
int kp_graphics_DrawEllipse(float x, float y, float radiusX, float radiusY);
int kp_graphics_DrawPoly(const Array<float>& verts);
// Frame indices outside the image draw nothing.
int kp_graphics_DrawPoly2(const Array<float>& verts, c_Image* image, int frame);
int kp_graphics_DrawImage(c_Image* image, float x, float y, int frame);
// Draws a frame rotated (degrees) and scaled about its handle, which lands on (x, y).
int kp_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                           int frame);
