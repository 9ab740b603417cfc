// hwTexturePage: one OpenGL texture shared by several surfaces, a layer each, so that draws of different
// surfaces join one batch.
// Depends on OpenGL 1.2 (3D textures), the host (kpGraphicsSeq, the generation of the current GL context) and
// hwSurface, whose kept pixels fill the layers.
// A page is a 3D texture used as a stack of layers of one size, sampled nearest in every direction. A surface's
// texels are addressed in its layer exactly as in a texture of its own: its u and v are at most scaled by a
// power of two, which changes no rounding anywhere down the pipeline, and its layer coordinate is the same at
// every vertex, so each pixel drawn from a page is the very pixel its own texture gave.
// NOTE: surfaces placed side by side in one 2D texture would not do: offsetting the coordinates makes the
// interpolated sums round differently, and a sample that falls on a texel boundary (half-scale art puts many
// there) then lands on the other texel; the menu came out a few hundred pixels different at 640 x 480.
// Like a surface's own texture, a page is made from the members' kept pixels when first needed and again after
// a new context; it is also made again, packed, when a member drawn lies beyond the layers it was made with,
// and once loading pauses, so a page holds the layers in use and no more.
#pragma once

#include <vector>

#include "runtime/object.h"

class hwSurface;

class hwTexturePage : public Object {
public:
    // Sheets with more texels than this keep a texture of their own. NOTE: a page made again uploads every
    // layer, and a sheet this large (four megabytes as RGBA) already holds many frames, so sharing buys little.
    static constexpr int kMostSharedTexels = 1024 * 1024;
    // A page grows to at most this many bytes; more surfaces of its size start another page. NOTE: bounds
    // what one making again uploads.
    static constexpr int kMostPageBytes = 32 * 1024 * 1024;

    // Gives a surface with pixels a layer of a page of its format, when the current context has 3D textures
    // that can hold it: a free layer first, then a new one, in a page of its own size before one twice as wide
    // or twice as tall (a surface fills at least half its layer). Leaves surface->page null otherwise.
    static void Place(hwSurface* surface);

    ~hwTexturePage() override;

    // Gives up a member's layer.
    void Leave(hwSurface* surface);
    // A member's pixels changed: its layer is uploaded again before it is next drawn.
    void Refresh(hwSurface* surface);
    // Whether a member can be drawn from the texture as it is.
    bool Ready(const hwSurface* surface) const;
    // Whether the texture is made in this context for the members as they are, packed, and holds them all.
    bool Current() const;
    // Makes a member drawable: the texture made (again, packed) in a new context or when the member lies
    // beyond the layers it was made with, or else the member uploaded into its layer; tells the members their
    // scales and layer coordinates.
    void Prepare(const hwSurface* surface);
    // Prepares a member and binds the texture.
    void Bind(const hwSurface* surface);
    // Once loading has paused, makes every page of this window that is not current, packed: drawn or not, a
    // page then holds the layers in use and no more, all uploaded. NOTE: the device runs this as a frame
    // begins, when no batch is pending.
    static void Settle();

    int Layers() const { return static_cast<int>(members.size()); }
    int TextureWidth() const { return texWidth; }
    int TextureHeight() const { return texHeight; }
    int TextureDepth() const { return texDepth; }
    unsigned Texture() const { return texture; }

    const int format;                    // GL format of every layer and member
    const int layerWidth, layerHeight;   // size of a layer, at least each member's

private:
    hwTexturePage(int format, int layerWidth, int layerHeight);
    // Packs the members into the layers from 0 and makes the texture for them, uploading every one.
    void Make();
    // Uploads a member into its layer, with its last column and row repeated beside it when the layer is wider
    // or taller, so a sample a rounding past its edge reads what a texture of its own clamps to.
    void Upload(int layer);
    // Tells a member its scales and layer coordinate in the made texture.
    void Inform(int layer) const;

    std::vector<hwSurface*> members;  // by layer; null: a layer given up since the texture was made
    std::vector<bool> uploaded;       // by layer: the texture holds the member's pixels
    int seq = -1;                     // kpGraphicsSeq when the texture was made; -1: none
    unsigned texture = 0;
    int texWidth = 0, texHeight = 0, texDepth = 0;  // of the made texture (powers of two when retried)
    int madeLayers = 0;                             // members the texture was made for
    const int bornIn;                               // kpGraphicsSeq when the page was started
};
