// hwSurface: an image held twice, as decoded pixels in main memory and as an OpenGL texture made on demand:
// a texture of its own, or a layer of a texture page shared with other surfaces.
// Depends on the runtime (Object), the host (kpGraphicsSeq, the generation of the current GL context) and
// hwTexturePage.
// The pixels stay after the upload: a window re-creation (fullscreen switch) loses every texture with its
// context, and each surface or page makes its texture again from memory the next time it is bound.
#pragma once

#include "framework/graphics/hwpage.h"
#include "runtime/object.h"

class hwSurface : public Object {
public:
    hwSurface() = default;
    ~hwSurface() override;

    // Releases the texture (when it belongs to the current context) or the layer of a page, and the pixel block.
    virtual int Discard();
    virtual int Width() { return width; }
    virtual int Height() { return height; }
    virtual bool Loaded() { return true; }
    // Binds a surface that was filled without touching OpenGL.
    virtual int OnUnsafeLoadComplete();

    // Takes ownership of a malloc'd block of width x height x depth bytes and premultiplies it by alpha.
    void SetData(unsigned char* pixels, int width, int height, int depth);
    // Writes ARGB ints (row stride pitch) into the rectangle at (x, y) of an RGBA surface, premultiplied,
    // and updates the texture when it is current. Other formats, and rectangles outside the surface, change
    // nothing.
    void SetSubData(int x, int y, int w, int h, const int* source, int pitch);
    // Binds the texture (the page's, for a surface on one), making it first when it is missing or belongs to an
    // older context.
    void Bind();
    // The smallest rectangle inside (x, y, w, h) holding every texel that is not fully transparent, grown by one
    // texel on each side (kept inside the rectangle) for filtering's reach: drawing just that draws the same
    // pixels as drawing the whole rectangle, since a transparent premultiplied texel leaves what it covers as it
    // is. Formats without alpha, and a surface without pixels, answer the rectangle itself; w 0: nothing to draw.
    void InkBounds(int x, int y, int w, int h, int out[4]) const;
    // What the batcher compares to know whether two surfaces draw from one texture.
    const void* TextureKey() const { return page ? static_cast<const void*>(page.Get()) : this; }

    unsigned char* pixels = nullptr;  // width x height x depth bytes, premultiplied; malloc'd
    int width = 0, height = 0;        // image size (the texture may be larger)
    int depth = 0;                    // bytes per pixel, 1..4
    int format = 0;                   // GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB or GL_RGBA
    int seq = -1;                     // kpGraphicsSeq when the texture was made; -1: none
    int pixelsChanged = 0;            // counts changes to the pixels, so ink bounds measured earlier go stale
    int rowsFilled = 0;               // rows of the pixels in its own texture so far (hwFillTexture)
    unsigned int texture = 0;         // a texture of its own (none on a page)
    float uscale = 0, vscale = 0;     // 1 / texture width, 1 / texture height
    StrongRef<hwTexturePage> page;    // the page the surface is a layer of, or null
    int layer = -1;                   // its layer there
    float layerCoord = 0;             // texture coordinate r of that layer in the page's made texture
    int drawableIn = -1;              // kpGraphicsSeq in which the page's texture holds it as it is now
};

// Makes the bound texture of target (GL_TEXTURE_2D or GL_TEXTURE_3D) sample the nearest texel and clamp at its
// edges in every direction, as every texture of the device does.
void SampleNearestClamped(unsigned target);

// The smallest power of two at least size (1 for sizes below 2): a texture's size when the driver refuses its
// own.
int PowerOfTwoAtLeast(int size);

// Gives the bound 2D texture empty storage of a size, in format; false when the driver refuses that size.
// Defined by the device's OpenGL side (the graphics backend's hwgraphics_gl.cpp: desktop/ or web/).
bool hwTextureStorage2D(int format, int width, int height);
// Puts a surface's pixels into its texture, bound: all of them when `all` is set; else as the backend chooses,
// at once (desktop) or a share now and the rest at the next frames' start (hwTexturePage::Settle, web), so that
// no frame copies a whole large sheet. Counts the rows in surface.rowsFilled. Same file as above.
void hwFillTexture(hwSurface& surface, bool all);
// Whether some texture still waits for the rest of its pixels (hwFillTexture). Same file as above.
bool hwTexturesFilling();
