// hwGraphics: the graphics device, a batcher of primitives over OpenGL 1.2's fixed pipeline.
// Depends on the host (window size, image decoding, the GL context generation), the runtime, and hwSurface.
// Vertices are transformed and coloured on the processor and collected in one buffer of the device's own;
// the batch is drawn with one call only when the kind of primitive (points, lines or filled shapes), the
// texture, the blend function or the scissor box changes, the buffer is full, or the frame ends. Every filled
// shape (triangle, rectangle, image quad, ellipse, convex polygon) is cut into the triangles of a fan from its
// first vertex, listed in an index buffer of the device's own as the shape is appended; so rectangles, ellipses
// of any size and polygons in between share one glDrawElements. Colour and matrix changes never cost a draw
// call, and nothing is allocated while drawing. Surfaces loaded from files share texture pages (hwTexturePage),
// so images of different surfaces on one page share a batch too: the batch is of a texture, not of a surface.
#pragma once

#include <cstddef>  // offsetof
#include <cstdint>

#include "framework/graphics/hwsurface.h"
#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

class KpGame;

// One interleaved vertex as OpenGL's vertex arrays read it.
struct hwVertex {
    float x, y;         // window pixels, 0 at the top left
    float u, v, layer;  // texture coordinates (textured primitives only); layer: r, the layer of a page
    uint32_t color;     // bytes red, green, blue, alpha in memory order, premultiplied
};
static_assert(sizeof(hwVertex) == 24, "the vertex arrays are set up with a stride of 24 bytes");
static_assert(offsetof(hwVertex, u) == 8 && offsetof(hwVertex, layer) == 16 && offsetof(hwVertex, color) == 20,
              "vertex field offsets");

class hwGraphics : public Object {
public:
    static constexpr int kMaxVertices = 1024;  // batch capacity
    // A shape of n vertices is n - 2 triangles, fewer than 3 indices a vertex: a full batch never runs out.
    static constexpr int kMaxIndices = 3 * kMaxVertices;

    // Reads the window size from host (the host's LoadImageData decodes surfaces too).
    explicit hwGraphics(KpGame* host);

    virtual int Width() { return width; }
    virtual int Height() { return height; }
    // Sets OpenGL up for a frame; answers the render mode (always 1).
    virtual int BeginRender();
    // Draws what is left in the batch.
    virtual int EndRender();
    virtual int DiscardGraphics() { return 0; }
    // A surface from an image file, with its texture made at once (a layer of a page while pages are in use);
    // null when the file cannot be decoded.
    virtual StrongRef<hwSurface> LoadSurface(const String& path);
    // An empty RGBA surface of the given size.
    virtual StrongRef<hwSurface> CreateSurface(int w, int h);
    // Fills an empty surface from an image file without touching OpenGL; false when it cannot be decoded.
    virtual bool LoadSurface__UNSAFE__(hwSurface* surface, const String& path);
    // Clears the window; vertices not yet drawn are dropped.
    virtual int Cls(float red, float green, float blue);
    virtual int SetAlpha(float alpha);
    virtual int SetColor(float red, float green, float blue);
    // 1 additive, anything else normal (premultiplied) blending.
    virtual int SetBlend(int mode);
    // A box given top-down; the whole window switches the test off.
    virtual int SetScissor(int x, int y, int w, int h);
    virtual int SetMatrix(float a, float b, float c, float d, float tx, float ty);
    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float w, float h);
    virtual int DrawLine(float x1, float y1, float x2, float y2);
    // A filled ellipse inscribed in the rectangle.
    virtual int DrawOval(float x, float y, float w, float h);
    // A filled convex polygon from x, y pairs.
    virtual int DrawPoly(const Array<float>& verts);
    // A textured convex polygon from x, y, u, v quadruples; u, v in texels from (sx, sy).
    virtual int DrawPoly2(const Array<float>& verts, hwSurface* surface, int sx, int sy);
    virtual int DrawSurface(hwSurface* surface, float x, float y);
    virtual int DrawSurface2(hwSurface* surface, float x, float y, int sx, int sy, int sw, int sh);
    // Copies window pixels as 0xAARRGGBB into pixels[offset + row * pitch ...]; a rectangle that does not fit
    // the array or the window copies nothing.
    virtual int ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
    // Copies ARGB ints from pixels[offset ...] into a rectangle of surface.
    virtual int WritePixels2(hwSurface* surface, Array<int> pixels, int x, int y, int w, int h, int offset,
                             int pitch);

    // Reserves count vertices of kind (vertices per primitive: 1 points, 2 lines, 3 or more a filled convex
    // shape) textured by surface, flushing first when they cannot join the batch; answers where to write them.
    // count is a whole number of primitives.
    hwVertex* Begin(int kind, int count, hwSurface* surface);

    int BatchCount() const { return batchCount; }
    // Whether surfaces loaded from now on share texture pages (on from the start); off, each keeps a texture
    // of its own.
    void UseTexturePages(bool on) { texturePages = on; }

private:
    // Draws the batch and empties it; the one place where vertices reach OpenGL.
    void Flush();
    // Lists the fan triangles of count / kind shapes of kind vertices that start the batch's next vertex.
    void AppendFans(int kind, int count);
    // Writes one vertex at (x, y) through the current matrix, in the current colour.
    void Put(hwVertex* vertex, float x, float y) const;
    // NOTE: packed when a primitive is begun, not at every colour or alpha change: the draw-list replay sets
    // both for every record, which would pack twice for each primitive drawn.
    void PackColor();
    // Makes sure surface's texture scales (and layer, on a page) are known before texture coordinates are
    // computed from them.
    void PrepareTexture(hwSurface* surface);
    void PrepareTextureNow(hwSurface* surface);

    // The device's OpenGL side, the only calls that reach OpenGL, given by the graphics backend (backend.h):
    // desktop/hwgraphics_gl.cpp over the fixed pipeline, web/hwgraphics_gl.cpp over WebGL in a page; the state
    // calls both set alike in hwgraphics_gl_state.cpp.
    // Sets the window's viewport and projection (window pixels, 0 at the top left) and normal blending up.
    void GLBeginFrame();
    // Draws the batch's vertices (and, for shapes, its indices), textured by surface when it is given.
    void GLDrawBatch(hwSurface* surface);
    // 1 additive, 0 normal (premultiplied) blending.
    void GLBlend(int mode);
    void GLScissorOff();
    // Clips to box (bottom-up); switchOn when the test was off.
    void GLScissorTo(const int box[4], bool switchOn);
    // Clears the window to a colour of components 0..1.
    void GLClear(float red, float green, float blue);
    // Reads a bottom-up rectangle of the window as 0xAARRGGBB, the bottom row first.
    void GLReadPixels(int x, int y, int w, int h, uint32_t* argb);

    KpGame* host;
    int width = 0, height = 0;
    uint32_t packedColor = 0xffffffffu;
    float red = 255, green = 255, blue = 255, alpha = 1;
    bool colorChanged = false;  // packedColor is out of date
    float ma = 1, mb = 0, mc = 0, md = 1, mtx = 0, mty = 0;
    bool isTransformed = false;
    // What a batch holds, and so how it is drawn.
    enum class Batch { Points, Lines, Shapes };

    hwVertex vertexBuffer[kMaxVertices] = {};
    uint16_t indexBuffer[kMaxIndices] = {};  // Shapes: three per triangle, into vertexBuffer
    Batch batchKind = Batch::Points;
    int batchCount = 0;                      // vertices in the batch
    int indexCount = 0;                      // indices in the batch (Shapes only)
    StrongRef<hwSurface> batchSurface;       // the first surface of a textured batch: binding it binds the texture
    const void* batchTexture = nullptr;      // its TextureKey, which every surface joining the batch shares

    bool texturePages = true;

    // What OpenGL has now, so that a request for the state in force costs no flush.
    int blendMode = 0;
    enum class Scissor { Unknown, Off, On } scissorState = Scissor::Unknown;
    int scissorBox[4] = {0, 0, 0, 0};  // OpenGL's bottom-up box while On
};
