// Pixels through real OpenGL: the device and drawing API draw into a real window (Mesa's software renderer
// under Xvfb) and the framebuffer is read back. Every picture is also saved beside the test program.
#include <GL/gl.h>  // the reference the batcher's pixels are compared with is drawn directly

#include <cmath>

#include "tests/gl/real_gl_fixture.h"

namespace {

TEST_F(RealGlTest, ARectangleCoversExactlyItsPixels) {
    Begin(0, 0, 0);
    kp_graphics_SetColor(255, 0, 0);
    kp_graphics_DrawRect(10, 20, 30, 40);
    End("rectangle");
    EXPECT_TRUE(Near(At(10, 20), {255, 0, 0}));
    EXPECT_TRUE(Near(At(39, 59), {255, 0, 0}));
    EXPECT_TRUE(Near(At(40, 59), {0, 0, 0}));
    EXPECT_TRUE(Near(At(39, 60), {0, 0, 0}));
    EXPECT_TRUE(Near(At(9, 20), {0, 0, 0}));
}

TEST_F(RealGlTest, AnEllipseFillsItsInscribedShape) {
    Begin(0, 0, 0);
    kp_graphics_DrawEllipse(100, 100, 60, 30);
    End("ellipse");
    EXPECT_TRUE(Near(At(100, 100), {255, 255, 255}));
    EXPECT_TRUE(Near(At(157, 100), {255, 255, 255}));
    EXPECT_TRUE(Near(At(100, 127), {255, 255, 255}));
    EXPECT_TRUE(Near(At(100, 133), {0, 0, 0}));
    EXPECT_TRUE(Near(At(45, 75), {0, 0, 0}));  // inside the bounding box, outside the ellipse
}

// A filled shape of the pixel-equality test: an ellipse (centre and radii) or a polygon (window pixels), in
// white, orange or blue at half alpha.
struct Shape {
    float cx = 0, cy = 0, xr = 0, yr = 0;
    std::vector<float> polygon;
    int colour = 0;
};
constexpr float kShapeColours[3][3] = {{255, 255, 255}, {255, 128, 0}, {0, 100, 200}};

// The shape's vertices as the device makes them (an ellipse: n from its size, the first at the right, then
// counter-clockwise).
std::vector<float> Vertices(const Shape& shape) {
    if (!shape.polygon.empty()) return shape.polygon;
    int n = static_cast<int>(std::trunc(shape.xr) + std::trunc(shape.yr));
    n = n < 12 ? 12 : n & ~3;
    std::vector<float> xy;
    for (int i = 0; i < n; ++i) {
        const float theta = static_cast<float>(i) * 6.2831855f / static_cast<float>(n);
        xy.push_back(shape.cx - shape.xr + shape.xr + cosf(theta) * shape.xr);
        xy.push_back(shape.cy - shape.yr + shape.yr - sinf(theta) * shape.yr);
    }
    return xy;
}

// The reference: each shape on its own as one GL_TRIANGLE_FAN, in the premultiplied colour the device makes.
void DrawOneFanEach(const std::vector<Shape>& shapes) {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    for (const Shape& shape : shapes) {
        const float* c = kShapeColours[shape.colour];
        glColor4ub(static_cast<GLubyte>(c[0] * 0.5f), static_cast<GLubyte>(c[1] * 0.5f),
                   static_cast<GLubyte>(c[2] * 0.5f), 127);
        const std::vector<float> xy = Vertices(shape);
        glVertexPointer(2, GL_FLOAT, 0, xy.data());
        glDrawArrays(GL_TRIANGLE_FAN, 0, static_cast<GLsizei>(xy.size() / 2));
    }
}

TEST_F(RealGlTest, ARunOfShapesInOneCallDrawsThePixelsOfOneFanEach) {
    // Half-transparent ellipses of many sizes overlapping one another, with a rectangle and polygons among
    // them: a triangle lost, doubled or fanned from the wrong vertex shows where they blend.
    std::vector<Shape> shapes;
    for (int i = 0; i < 9; ++i) {
        const float r = 3.0f + static_cast<float>(i * i) * 1.7f;
        shapes.push_back({40.0f + static_cast<float>(i) * 31.0f, 60.0f + static_cast<float>(i % 3) * 20.0f, r,
                          r * 0.7f, {}, i % 3});
    }
    shapes.push_back({0, 0, 0, 0, {20, 150, 300, 150, 300, 170, 20, 170}, 2});
    shapes.push_back({0, 0, 0, 0, {200, 120, 260, 130, 280, 180, 230, 220, 190, 170}, 1});
    shapes.push_back({0, 0, 0, 0, {10, 230, 150, 180, 90, 235}, 0});

    Begin(20, 20, 20);
    kp_graphics_SetAlpha(0.5f);
    for (const Shape& shape : shapes) {
        const float* c = kShapeColours[shape.colour];
        kp_graphics_SetColor(c[0], c[1], c[2]);
        if (shape.polygon.empty()) {
            kp_graphics_DrawEllipse(shape.cx, shape.cy, shape.xr, shape.yr);
        } else {
            Array<float> verts(static_cast<int>(shape.polygon.size()));
            for (int k = 0; k < verts.Length(); ++k) verts[k] = shape.polygon[static_cast<size_t>(k)];
            kp_graphics_DrawPoly(verts);
        }
    }
    End("shapes_batched");
    const Array<int> batched = pixels;

    Begin(20, 20, 20);
    DrawOneFanEach(shapes);
    End("shapes_one_fan_each");

    int differing = 0, covered = 0;
    for (int i = 0; i < kWidth * kHeight; ++i) {
        differing += batched[i] != pixels[i];
        covered += (static_cast<uint32_t>(pixels[i]) & 0xffffffu) != 0x141414u;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(covered, 10000) << "the reference drew the shapes";
}

TEST_F(RealGlTest, AnImageFrameTurnsAndScalesAboutItsHandle) {
    StrongRef<c_Image> image = kp_graphics_LoadImage2(String(TwoFrameSheet().c_str()), 8, 8, 2, ImageMidHandle);
    ASSERT_TRUE(image);
    Begin(0, 0, 0);
    kp_graphics_DrawImage(image.Get(), 40, 40, 0);              // red 8 x 8 centred on (40, 40)
    kp_graphics_DrawImage2(image.Get(), 200, 120, 90, 4, 4, 1);  // 32 x 32, turned a quarter counter-clockwise
    End("image_frames");
    EXPECT_TRUE(Near(At(36, 36), {255, 0, 0}));
    EXPECT_TRUE(Near(At(43, 43), {255, 0, 0}));
    EXPECT_TRUE(Near(At(44, 40), {0, 0, 0}));
    EXPECT_TRUE(Near(At(35, 40), {0, 0, 0}));
    // The frame's left (green) half turns down, its right (blue) half up; nothing of frame 0 shows.
    EXPECT_TRUE(Near(At(200, 130), {0, 255, 0}));
    EXPECT_TRUE(Near(At(200, 110), {0, 0, 255}));
    EXPECT_TRUE(Near(At(185, 120), {0, 0, 0}) || Near(At(185, 120), {0, 255, 0}) || Near(At(185, 120), {0, 0, 255}));
    EXPECT_TRUE(Near(At(200, 100), {0, 0, 0}));
    EXPECT_TRUE(Near(At(200, 140), {0, 0, 0}));
}

TEST_F(RealGlTest, PremultipliedAlphaBlendsOverTheBackground) {
    // A half-transparent red pixel in the file, premultiplied at load.
    std::vector<unsigned char> rgba;
    for (int i = 0; i < 16; ++i) rgba.insert(rgba.end(), {255, 0, 0, 128});
    StrongRef<c_Image> glass = kp_graphics_LoadImage(String(WritePng("glass.png", 4, 4, rgba).c_str()), 1, 0);
    ASSERT_TRUE(glass);
    Begin(0, 0, 255);
    kp_graphics_SetAlpha(0.5f);
    kp_graphics_DrawRect(0, 0, 50, 50);  // white at half alpha
    kp_graphics_SetAlpha(1);
    kp_graphics_DrawImage2(glass.Get(), 100, 100, 0, 10, 10, 0);
    End("alpha_blend");
    EXPECT_TRUE(Near(At(25, 25), {127, 127, 255}));
    EXPECT_TRUE(Near(At(120, 120), {128, 0, 127}));
}

TEST_F(RealGlTest, AdditiveBlendingAddsColours) {
    Begin(100, 0, 0);
    kp_graphics_SetBlend(1);
    kp_graphics_SetColor(100, 50, 0);
    kp_graphics_DrawRect(0, 0, 50, 50);
    kp_graphics_DrawRect(25, 0, 50, 50);  // overlaps the first: added twice
    End("additive_blend");
    EXPECT_TRUE(Near(At(10, 10), {200, 50, 0}));
    EXPECT_TRUE(Near(At(40, 10), {255, 100, 0}));
    EXPECT_TRUE(Near(At(100, 10), {100, 0, 0}));
}

TEST_F(RealGlTest, ATextureSurvivesTheWindowBeingMadeAgain) {
    StrongRef<c_Image> image = kp_graphics_LoadImage2(String(TwoFrameSheet().c_str()), 8, 8, 2, 0);
    ASSERT_TRUE(image);
    Begin(0, 0, 0);
    kp_graphics_DrawImage2(image.Get(), 10, 10, 0, 4, 4, 1);
    End("texture_before");
    EXPECT_TRUE(Near(At(12, 20), {0, 255, 0}));

    const int before = kpGraphicsSeq;
    OpenWindow();  // a new window and with it a new GL context: the old texture is gone
    ASSERT_GT(kpGraphicsSeq, before);
    Begin(0, 0, 0);
    kp_graphics_DrawImage2(image.Get(), 10, 10, 0, 4, 4, 1);
    End("texture_after");
    EXPECT_TRUE(Near(At(12, 20), {0, 255, 0}));
    EXPECT_TRUE(Near(At(38, 20), {0, 0, 255}));
    ASSERT_TRUE(image->m_surface->page) << "a loaded sheet is a layer of a texture page";
    EXPECT_TRUE(image->m_surface->page->Ready(image->m_surface.Get()));
}

TEST_F(RealGlTest, TheScissorBoxClipsTopDown) {
    Begin(0, 0, 0);
    kp_graphics_SetScissor(10, 10, 20, 20);
    kp_graphics_DrawRect(0, 0, 100, 100);
    End("scissor");
    EXPECT_TRUE(Near(At(15, 15), {255, 255, 255}));
    EXPECT_TRUE(Near(At(35, 15), {0, 0, 0}));
    EXPECT_TRUE(Near(At(15, 35), {0, 0, 0}));
}

}  // namespace
