// hwSurface: an image held twice, as decoded pixels in main memory and as an OpenGL texture made on demand.
// Depends on the runtime (Object) and the host (glfwGraphicsSeq, the generation of the current GL context).
// The pixels stay after the upload: a window re-creation (fullscreen switch) loses every texture with its
// context, and each surface makes its texture again from memory the next time it is bound.
#pragma once

#include "runtime/object.h"

class hwSurface : public Object {
public:
    hwSurface() = default;
    ~hwSurface() override;

    // Releases the texture (when it belongs to the current context) and the pixel block.
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
    // Binds the texture, making it first when it is missing or belongs to an older context.
    void Bind();

    unsigned char* pixels = nullptr;  // width x height x depth bytes, premultiplied; malloc'd
    int width = 0, height = 0;        // image size (the texture may be larger)
    int depth = 0;                    // bytes per pixel, 1..4
    int format = 0;                   // GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB or GL_RGBA
    int seq = -1;                     // glfwGraphicsSeq when the texture was made; -1: none
    unsigned int texture = 0;
    float uscale = 0, vscale = 0;     // 1 / texture width, 1 / texture height
};
