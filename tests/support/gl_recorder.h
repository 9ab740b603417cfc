// A recording stand-in for the OpenGL entry points the graphics device and surfaces call, linked into tests
// and benchmarks in place of libGL. Depends on the GL header only (for the types and enums).
// Every call is logged with its arguments; draw calls also copy the vertices they would read through the
// client-state pointers, so a test can count draw calls and check positions, texture coordinates and colour
// bytes without a window. A scripted "driver" hands out texture names, can refuse non-power-of-two textures
// or have no 3D textures, and answers glReadPixels from a function. Benchmarks switch the log off and read the
// counters only.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace glrec {

struct Vertex {
    float x = 0, y = 0, u = 0, v = 0;
    float layer = 0;  // the third texture coordinate, when the pointer has three
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

struct Call {
    std::string name;           // "glDrawArrays", ...
    std::vector<double> args;   // numeric arguments in order (enums as numbers, pointers left out)
    std::vector<Vertex> vertices;  // draw calls: the array vertices used (first..first+count, or 0..max index)
    std::vector<int> indices;      // glDrawElements: the indices, relative to the first vertex above
    unsigned texture = 0;          // draw calls: the texture bound, 0 when texturing is off
    bool layered = false;          // draw calls: the texture is a 3D one (a page)
};

struct State {
    bool log = true;              // keep every call in calls
    std::vector<Call> calls;
    long drawCalls = 0;           // glDrawArrays + glDrawElements, counted even with the log off
    long totalCalls = 0;

    // The scripted driver.
    bool rejectNonPowerOfTwo = false;       // glTexImage2D and 3D of other sizes raise GL_INVALID_VALUE
    int largest3DTexture = 2048;            // GL_MAX_3D_TEXTURE_SIZE; 0: no 3D textures
    std::function<uint32_t(int x, int y)> framebuffer;  // BGRA pixel as a uint32 at OpenGL (x, y)
    unsigned nextTexture = 1;
    unsigned boundTexture = 0;     // GL_TEXTURE_2D
    unsigned boundTexture3D = 0;   // GL_TEXTURE_3D
    bool texturing = false;        // GL_TEXTURE_2D enabled
    bool texturing3D = false;      // GL_TEXTURE_3D enabled (it wins over 2D)
    GLenum error = GL_NO_ERROR;
    const unsigned char* vertexPointer = nullptr;
    const unsigned char* texCoordPointer = nullptr;
    const unsigned char* colorPointer = nullptr;
    int vertexStride = 0, texCoordStride = 0, colorStride = 0;
    int texCoordSize = 2;
};

// The recorder's state (one per process).
State& Gl();
// Empties the log and counters and restores the driver's defaults.
void Reset();
// Empties the log and counters only: client pointers, bound texture and driver settings stay.
void ClearLog();
// Number of logged calls of a name.
int Count(const std::string& name);
// Logged calls of a name, in order.
std::vector<const Call*> All(const std::string& name);
// The last logged call of a name, or null.
const Call* Last(const std::string& name);
// Logged draw calls (glDrawArrays and glDrawElements), in order.
std::vector<const Call*> Draws();

}  // namespace glrec
