// hwGraphics's OpenGL side on the fixed pipeline of OpenGL 1.2: client-side vertex arrays straight from the
// device's buffers, the projection matrix for window pixels, and 3D textures for surfaces on texture pages.
// Depends on OpenGL and hwSurface (texture binding).
#include <GL/gl.h>

#include "framework/graphics/hwgraphics.h"
#include "framework/graphics/hwsurface.h"

void hwGraphics::GLBeginFrame() {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(hwVertex), &vertexBuffer[0].x);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(3, GL_FLOAT, sizeof(hwVertex), &vertexBuffer[0].u);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(hwVertex), &vertexBuffer[0].color);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);
}

void hwGraphics::GLDrawBatch(hwSurface* surface) {
    const GLenum target = surface && surface->page ? GL_TEXTURE_3D : GL_TEXTURE_2D;
    if (surface) {
        glEnable(target);
        surface->Bind();
    }
    switch (batchKind) {
        case Batch::Points: glDrawArrays(GL_POINTS, 0, batchCount); break;
        case Batch::Lines: glDrawArrays(GL_LINES, 0, batchCount); break;
        case Batch::Shapes: glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_SHORT, indexBuffer); break;
    }
    if (surface) glDisable(target);
}

void hwGraphics::GLReadPixels(int x, int y, int w, int h, uint32_t* argb) {
    // NOTE: BGRA bytes are 0xAARRGGBB read as a little-endian word.
    glReadPixels(x, y, w, h, GL_BGRA, GL_UNSIGNED_BYTE, argb);
}

bool hwTextureStorage2D(int format, int width, int height) {
    glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, format, GL_UNSIGNED_BYTE, nullptr);
    return glGetError() == GL_NO_ERROR;
}

// NOTE: the desktop's driver copies a sheet in a few milliseconds, and loading runs behind its own screen: every
// texture is filled at once.
void hwFillTexture(hwSurface& surface, bool /*all*/) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, surface.width, surface.height, surface.format, GL_UNSIGNED_BYTE,
                    surface.pixels);
    surface.rowsFilled = surface.height;
}

bool hwTexturesFilling() { return false; }
