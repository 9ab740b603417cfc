// The recording OpenGL stand-in: definitions of the gl* entry points the graphics device and surfaces use.
// Depends on the GL header for the exact prototypes, so a signature that drifts from libGL's fails to build.
#include "tests/support/gl_recorder.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <initializer_list>

namespace glrec {

State& Gl() {
    static State state;
    return state;
}

void Reset() { Gl() = State(); }

void ClearLog() {
    Gl().calls.clear();
    Gl().drawCalls = 0;
    Gl().totalCalls = 0;
}

int Count(const std::string& name) {
    int n = 0;
    for (const Call& call : Gl().calls) n += call.name == name;
    return n;
}

std::vector<const Call*> All(const std::string& name) {
    std::vector<const Call*> out;
    for (const Call& call : Gl().calls) {
        if (call.name == name) out.push_back(&call);
    }
    return out;
}

const Call* Last(const std::string& name) {
    const auto all = All(name);
    return all.empty() ? nullptr : all.back();
}

std::vector<const Call*> Draws() {
    std::vector<const Call*> out;
    for (const Call& call : Gl().calls) {
        if (call.name == "glDrawArrays" || call.name == "glDrawElements") out.push_back(&call);
    }
    return out;
}

namespace {
Call* Log(const char* name, std::initializer_list<double> args) {
    State& g = Gl();
    ++g.totalCalls;
    if (!g.log) return nullptr;
    g.calls.push_back(Call{name, std::vector<double>(args), {}, {}, 0});
    return &g.calls.back();
}

Vertex ReadVertex(int index) {
    const State& g = Gl();
    Vertex v;
    if (g.vertexPointer) {
        float xy[2];
        std::memcpy(xy, g.vertexPointer + static_cast<std::ptrdiff_t>(index) * g.vertexStride, sizeof xy);
        v.x = xy[0], v.y = xy[1];
    }
    if (g.texCoordPointer) {
        float uvr[3] = {0, 0, 0};
        const size_t size = g.texCoordSize >= 3 ? sizeof uvr : 2 * sizeof(float);
        std::memcpy(uvr, g.texCoordPointer + static_cast<std::ptrdiff_t>(index) * g.texCoordStride, size);
        v.u = uvr[0], v.v = uvr[1], v.layer = uvr[2];
    }
    if (g.colorPointer) {
        const unsigned char* c = g.colorPointer + static_cast<std::ptrdiff_t>(index) * g.colorStride;
        v.r = c[0], v.g = c[1], v.b = c[2], v.a = c[3];
    }
    return v;
}

bool PowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// What a draw call samples: the 3D texture when 3D texturing is on, else the 2D one, else nothing.
void NoteTexture(Call& call) {
    const State& g = Gl();
    call.layered = g.texturing3D;
    call.texture = g.texturing3D ? g.boundTexture3D : g.texturing ? g.boundTexture : 0;
}
}  // namespace

}  // namespace glrec

using glrec::Gl;
using glrec::Log;

extern "C" {

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) { Log("glViewport", {double(x), double(y), double(width), double(height)}); }
void glMatrixMode(GLenum mode) { Log("glMatrixMode", {double(mode)}); }
void glLoadIdentity(void) { Log("glLoadIdentity", {}); }
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) { Log("glOrtho", {l, r, b, t, n, f}); }
void glEnableClientState(GLenum array) { Log("glEnableClientState", {double(array)}); }

void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* ptr) {
    Log("glVertexPointer", {double(size), double(type), double(stride)});
    Gl().vertexPointer = static_cast<const unsigned char*>(ptr);
    Gl().vertexStride = stride;
}
void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* ptr) {
    Log("glTexCoordPointer", {double(size), double(type), double(stride)});
    Gl().texCoordPointer = static_cast<const unsigned char*>(ptr);
    Gl().texCoordStride = stride;
    Gl().texCoordSize = size;
}
void glColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* ptr) {
    Log("glColorPointer", {double(size), double(type), double(stride)});
    Gl().colorPointer = static_cast<const unsigned char*>(ptr);
    Gl().colorStride = stride;
}

void glEnable(GLenum cap) {
    Log("glEnable", {double(cap)});
    if (cap == GL_TEXTURE_2D) Gl().texturing = true;
    if (cap == GL_TEXTURE_3D) Gl().texturing3D = true;
}
void glDisable(GLenum cap) {
    Log("glDisable", {double(cap)});
    if (cap == GL_TEXTURE_2D) Gl().texturing = false;
    if (cap == GL_TEXTURE_3D) Gl().texturing3D = false;
}
void glBlendFunc(GLenum s, GLenum d) { Log("glBlendFunc", {double(s), double(d)}); }

void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    ++Gl().drawCalls;
    glrec::Call* call = Log("glDrawArrays", {double(mode), double(first), double(count)});
    if (!call) return;
    for (int i = first; i < first + count; ++i) call->vertices.push_back(glrec::ReadVertex(i));
    glrec::NoteTexture(*call);
}

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
    ++Gl().drawCalls;
    glrec::Call* call = Log("glDrawElements", {double(mode), double(count), double(type)});
    if (!call || type != GL_UNSIGNED_SHORT) return;
    const GLushort* index = static_cast<const GLushort*>(indices);
    int highest = -1;
    for (int i = 0; i < count; ++i) {
        call->indices.push_back(index[i]);
        highest = std::max(highest, static_cast<int>(index[i]));
    }
    for (int i = 0; i <= highest; ++i) call->vertices.push_back(glrec::ReadVertex(i));
    glrec::NoteTexture(*call);
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { Log("glClearColor", {r, g, b, a}); }
void glClear(GLbitfield mask) { Log("glClear", {double(mask)}); }
void glScissor(GLint x, GLint y, GLsizei width, GLsizei height) { Log("glScissor", {double(x), double(y), double(width), double(height)}); }

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels) {
    Log("glReadPixels", {double(x), double(y), double(width), double(height), double(format), double(type)});
    uint32_t* out = static_cast<uint32_t*>(pixels);
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            out[row * width + col] = Gl().framebuffer ? Gl().framebuffer(x + col, y + row) : 0;
        }
    }
}

void glGenTextures(GLsizei n, GLuint* textures) {
    Log("glGenTextures", {double(n)});
    for (int i = 0; i < n; ++i) textures[i] = Gl().nextTexture++;
}
void glBindTexture(GLenum target, GLuint texture) {
    Log("glBindTexture", {double(target), double(texture)});
    (target == GL_TEXTURE_3D ? Gl().boundTexture3D : Gl().boundTexture) = texture;
}
void glDeleteTextures(GLsizei n, const GLuint* textures) {
    Log("glDeleteTextures", {double(n), n > 0 ? double(textures[0]) : 0.0});
}
void glTexParameteri(GLenum target, GLenum name, GLint param) { Log("glTexParameteri", {double(target), double(name), double(param)}); }

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const GLvoid*) {
    Log("glTexImage2D", {double(target), double(level), double(internalFormat), double(width), double(height),
                         double(border), double(format), double(type)});
    if (Gl().rejectNonPowerOfTwo && !(glrec::PowerOfTwo(width) && glrec::PowerOfTwo(height))) {
        Gl().error = GL_INVALID_VALUE;
    }
}
void glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                     GLenum type, const GLvoid*) {
    Log("glTexSubImage2D", {double(target), double(level), double(x), double(y), double(width), double(height),
                            double(format), double(type)});
}
void glTexImage3D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLsizei depth,
                  GLint border, GLenum format, GLenum type, const GLvoid*) {
    Log("glTexImage3D", {double(target), double(level), double(internalFormat), double(width), double(height),
                         double(depth), double(border), double(format), double(type)});
    const bool powers = glrec::PowerOfTwo(width) && glrec::PowerOfTwo(height) && glrec::PowerOfTwo(depth);
    if (Gl().largest3DTexture == 0 || (Gl().rejectNonPowerOfTwo && !powers)) Gl().error = GL_INVALID_VALUE;
}
void glTexSubImage3D(GLenum target, GLint level, GLint x, GLint y, GLint z, GLsizei width, GLsizei height,
                     GLsizei depth, GLenum format, GLenum type, const GLvoid*) {
    Log("glTexSubImage3D", {double(target), double(level), double(x), double(y), double(z), double(width),
                            double(height), double(depth), double(format), double(type)});
}
void glGetIntegerv(GLenum name, GLint* value) {
    Log("glGetIntegerv", {double(name)});
    if (name == GL_MAX_3D_TEXTURE_SIZE && Gl().largest3DTexture > 0) *value = Gl().largest3DTexture;
    else Gl().error = GL_INVALID_ENUM;
}
void glPixelStorei(GLenum name, GLint param) { Log("glPixelStorei", {double(name), double(param)}); }

GLenum glGetError(void) {
    Log("glGetError", {});
    const GLenum error = Gl().error;
    Gl().error = GL_NO_ERROR;
    return error;
}

}  // extern "C"
