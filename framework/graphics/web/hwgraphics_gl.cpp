// hwGraphics's OpenGL side in a web page: the batcher's vertex arrays drawn through WebGL 1 with two small
// shader programs of our own, one textured and one not, each colouring per vertex and blending premultiplied as
// the desktop's fixed pipeline does (a texel times the vertex colour).
// Depends on WebGL 1 (through the toolchain's OpenGL ES 2 calls) and hwSurface (texture binding).
// NOTE: a batch is copied into one vertex buffer and one index buffer, re-filled for every draw; WebGL reads no
// arrays from the program's memory. Pages are never made here (WebGL 1 has no 3D textures), so every texture is
// 2D and the layer coordinate of a vertex is not read.
#include <GLES2/gl2.h>

#include <algorithm>  // std::min, std::max
#include <cstddef>    // offsetof
#include <vector>

#include "framework/graphics/hwgraphics.h"
#include "framework/graphics/hwsurface.h"
#include "host/graphics_generation.h"  // kpGraphicsSeq

namespace {

constexpr const char* kVertexShader = R"(
attribute vec2 position;
attribute vec2 texel;
attribute vec4 colour;
uniform vec2 toClip;
varying vec2 v_texel;
varying vec4 v_colour;
void main() {
    gl_Position = vec4(position.x * toClip.x - 1.0, 1.0 - position.y * toClip.y, 0.0, 1.0);
    gl_PointSize = 1.0;
    v_texel = texel;
    v_colour = colour;
}
)";
// NOTE: the fragment shaders' precision comes first, chosen by what the device offers (FragmentPrecision).
constexpr const char* kPlainFragmentShader = R"(
varying vec4 v_colour;
void main() { gl_FragColor = v_colour; }
)";
constexpr const char* kTexturedFragmentShader = R"(
uniform sampler2D sheet;
varying vec2 v_texel;
varying vec4 v_colour;
void main() { gl_FragColor = texture2D(sheet, v_texel) * v_colour; }
)";

constexpr GLuint kPosition = 0, kTexel = 1, kColour = 2;

// The programs and buffers of the one context; made with the first frame.
struct WebGLState {
    bool made = false;
    GLuint plain = 0, textured = 0;
    GLint plainToClip = -1, texturedToClip = -1;
    GLuint vertices = 0, indices = 0;
    GLuint current = 0;  // the program in use
};
WebGLState gl;

// The fragment shaders' float precision: high wherever the device has it in fragment shaders (nearly every one),
// else medium, which WebGL promises.
// NOTE: many phone GPUs take medium as 16 bits: about 1/2048 in a texture coordinate, one texel of a level-4
// sheet, so a letter or a frame could sample its neighbour.
const char* FragmentPrecision() {
    GLint range[2] = {0, 0};
    GLint bits = 0;
    glGetShaderPrecisionFormat(GL_FRAGMENT_SHADER, GL_HIGH_FLOAT, range, &bits);
    return bits > 0 ? "precision highp float;\n" : "precision mediump float;\n";
}

// A shader of the source's lines after a first line of its own (the precision, or nothing).
GLuint Compile(GLenum kind, const char* first, const char* source) {
    const GLuint shader = glCreateShader(kind);
    const char* parts[2] = {first, source};
    glShaderSource(shader, 2, parts, nullptr);
    glCompileShader(shader);
    return shader;
}

GLuint Link(const char* precision, const char* fragment) {
    const GLuint program = glCreateProgram();
    const GLuint vs = Compile(GL_VERTEX_SHADER, "", kVertexShader);
    const GLuint fs = Compile(GL_FRAGMENT_SHADER, precision, fragment);
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glBindAttribLocation(program, kPosition, "position");
    glBindAttribLocation(program, kTexel, "texel");
    glBindAttribLocation(program, kColour, "colour");
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    return program;
}

void MakeState() {
    const char* precision = FragmentPrecision();
    gl.plain = Link(precision, kPlainFragmentShader);
    gl.textured = Link(precision, kTexturedFragmentShader);
    gl.plainToClip = glGetUniformLocation(gl.plain, "toClip");
    gl.texturedToClip = glGetUniformLocation(gl.textured, "toClip");
    glUseProgram(gl.textured);
    glUniform1i(glGetUniformLocation(gl.textured, "sheet"), 0);
    glGenBuffers(1, &gl.vertices);
    glGenBuffers(1, &gl.indices);
    glBindBuffer(GL_ARRAY_BUFFER, gl.vertices);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, gl.indices);
    glEnableVertexAttribArray(kPosition);
    glEnableVertexAttribArray(kTexel);
    glEnableVertexAttribArray(kColour);
    const auto at = [](size_t offset) { return reinterpret_cast<const void*>(offset); };
    glVertexAttribPointer(kPosition, 2, GL_FLOAT, GL_FALSE, sizeof(hwVertex), at(offsetof(hwVertex, x)));
    glVertexAttribPointer(kTexel, 2, GL_FLOAT, GL_FALSE, sizeof(hwVertex), at(offsetof(hwVertex, u)));
    glVertexAttribPointer(kColour, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(hwVertex), at(offsetof(hwVertex, color)));
    gl.made = true;
}

}  // namespace

void hwGraphics::GLBeginFrame() {
    if (!gl.made) MakeState();
    glViewport(0, 0, width, height);
    const float toClip[2] = {width > 0 ? 2.0f / static_cast<float>(width) : 0.0f,
                             height > 0 ? 2.0f / static_cast<float>(height) : 0.0f};
    glUseProgram(gl.plain);
    glUniform2fv(gl.plainToClip, 1, toClip);
    glUseProgram(gl.textured);
    glUniform2fv(gl.texturedToClip, 1, toClip);
    gl.current = gl.textured;
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
}

void hwGraphics::GLDrawBatch(hwSurface* surface) {
    const GLuint program = surface ? gl.textured : gl.plain;
    if (program != gl.current) {
        glUseProgram(program);
        gl.current = program;
    }
    if (surface) surface->Bind();
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(batchCount * sizeof(hwVertex)), vertexBuffer,
                 GL_STREAM_DRAW);
    switch (batchKind) {
        case Batch::Points: glDrawArrays(GL_POINTS, 0, batchCount); break;
        case Batch::Lines: glDrawArrays(GL_LINES, 0, batchCount); break;
        case Batch::Shapes:
            glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indexCount * sizeof(uint16_t)),
                         indexBuffer, GL_STREAM_DRAW);
            glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_SHORT, nullptr);
            break;
    }
}

void hwGraphics::GLReadPixels(int x, int y, int w, int h, uint32_t* argb) {
    // NOTE: WebGL reads RGBA bytes only; each pixel is turned round into 0xAARRGGBB here.
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, argb);
    for (int i = 0; i < w * h; ++i) {
        const uint32_t rgba = argb[i];  // bytes red, green, blue, alpha
        argb[i] = (rgba & 0xff00ff00u) | ((rgba & 0xffu) << 16) | ((rgba >> 16) & 0xffu);
    }
}

bool hwTextureStorage2D(int format, int width, int height) {
    // NOTE: WebGL 1 takes any size for a texture clamped at its edges and without mipmaps, as every texture of
    // the device is; asking for the error would cost a wait on the browser's drawing process for each texture.
    glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, format, GL_UNSIGNED_BYTE, nullptr);
    return true;
}

// NOTE: WebGL copies a texture's pixels on the page's main thread, a sheet of the largest art (16 MB) for some
// 300 ms on a slow phone: a texture is filled a band of rows at a time, one band a frame, the bands first drawn
// from finished at once (hwSurface::Bind). The surfaces waiting are held until they are full or discarded.
namespace {
// Bytes of pixels a frame copies into textures: about 10 ms on a slow phone.
constexpr size_t kFillBytesPerFrame = size_t{1} << 20;
std::vector<StrongRef<hwSurface>>& Filling() {
    static auto* surfaces = new std::vector<StrongRef<hwSurface>>();
    return *surfaces;
}

// Copies rows of a surface's pixels, up to a number of bytes (at least one row), into its bound texture.
void FillRows(hwSurface& surface, size_t bytes) {
    const size_t rowBytes = static_cast<size_t>(surface.width) * surface.depth;
    const int rows = std::min(surface.height - surface.rowsFilled,
                              static_cast<int>(std::max<size_t>(1, bytes / std::max<size_t>(1, rowBytes))));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, surface.rowsFilled, surface.width, rows, surface.format, GL_UNSIGNED_BYTE,
                    surface.pixels + static_cast<size_t>(surface.rowsFilled) * rowBytes);
    surface.rowsFilled += rows;
}

bool StillFilling(const hwSurface& surface) {
    return surface.pixels && surface.seq == kpGraphicsSeq && surface.rowsFilled < surface.height;
}
}  // namespace

void hwFillTexture(hwSurface& surface, bool all) {
    const size_t bytes = static_cast<size_t>(surface.width) * surface.height * surface.depth;
    if (all || bytes <= kFillBytesPerFrame) {
        FillRows(surface, bytes);
        return;
    }
    FillRows(surface, kFillBytesPerFrame);
    Filling().push_back(&surface);
}

bool hwTexturesFilling() {
    std::erase_if(Filling(), [](const StrongRef<hwSurface>& surface) { return !StillFilling(*surface); });
    return !Filling().empty();
}

// The next band of the first texture still waiting, at the start of a frame.
void hwFillTexturesOnce() {
    if (!hwTexturesFilling()) return;
    hwSurface& surface = *Filling().front();
    glBindTexture(GL_TEXTURE_2D, surface.texture);
    FillRows(surface, kFillBytesPerFrame);
}
