// hwGraphics's OpenGL state that every drawing path sets alike: premultiplied blending, the scissor box and
// the clear. Shared by the desktop's fixed pipeline and the web page's WebGL path.
// Depends on OpenGL: these calls are the same in OpenGL 1.2 and in WebGL 1 (the toolchain's OpenGL header has them).
#include <GL/gl.h>

#include "framework/graphics/hwgraphics.h"

void hwGraphics::GLBlend(int mode) { glBlendFunc(GL_ONE, mode == 1 ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA); }

void hwGraphics::GLScissorOff() { glDisable(GL_SCISSOR_TEST); }

void hwGraphics::GLScissorTo(const int box[4], bool switchOn) {
    if (switchOn) glEnable(GL_SCISSOR_TEST);
    glScissor(box[0], box[1], box[2], box[3]);
}

void hwGraphics::GLClear(float red, float green, float blue) {
    glClearColor(red, green, blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}
