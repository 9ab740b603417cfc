// The batcher: when a batch is drawn, how many calls it costs, and the vertices, triangles and colours it hands
// OpenGL.
#include "tests/framework/graphics_fixture.h"

namespace {

using glrec::Draws;

// The indices of one draw call are the fan triangles of shapes of the given vertex counts laid end to end:
// shape k's triangles (first, first + i, first + i + 1), as OpenGL would fan its vertices.
void ExpectFans(const glrec::Call& draw, const std::vector<int>& shapes) {
    ASSERT_EQ(draw.name, "glDrawElements");
    std::vector<int> want;
    int first = 0;
    for (int n : shapes) {
        for (int i = 1; i + 1 < n; ++i) want.insert(want.end(), {first, first + i, first + i + 1});
        first += n;
    }
    EXPECT_EQ(draw.args[1], static_cast<double>(want.size()));
    EXPECT_EQ(draw.indices, want);
}

TEST_F(GraphicsTest, RectanglesOfDifferentColoursAndMatricesShareOneDrawCall) {
    device->SetColor(255, 0, 0);
    device->DrawRect(10, 20, 30, 40);
    device->SetColor(0, 0, 255);
    device->SetAlpha(0.5f);
    device->SetMatrix(2, 0, 0, 2, 100, 0);
    device->DrawRect(0, 0, 5, 5);
    Finish();

    const auto draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]->name, "glDrawElements");
    EXPECT_EQ(draws[0]->args[1], 12);  // two quads, six indices each
    EXPECT_EQ(draws[0]->indices, (std::vector<int>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}));
    const auto& v = draws[0]->vertices;
    ASSERT_EQ(v.size(), 8u);
    // Corners run clockwise from the top left, untransformed for the first rectangle.
    EXPECT_EQ(v[0].x, 10); EXPECT_EQ(v[0].y, 20);
    EXPECT_EQ(v[1].x, 40); EXPECT_EQ(v[1].y, 20);
    EXPECT_EQ(v[2].x, 40); EXPECT_EQ(v[2].y, 60);
    EXPECT_EQ(v[3].x, 10); EXPECT_EQ(v[3].y, 60);
    EXPECT_EQ(v[0].r, 255); EXPECT_EQ(v[0].b, 0); EXPECT_EQ(v[0].a, 255);
    // The second went through its matrix and carries its own premultiplied colour.
    EXPECT_EQ(v[6].x, 110); EXPECT_EQ(v[6].y, 10);
    EXPECT_EQ(v[6].r, 0); EXPECT_EQ(v[6].b, 127); EXPECT_EQ(v[6].a, 127);
}

TEST_F(GraphicsTest, ColourBytesArePremultipliedAndKeptInRange) {
    device->SetColor(255, 128, 0);
    device->SetAlpha(0.5f);
    device->DrawPoint(0, 0);
    // Out-of-range values are clamped per channel instead of spilling into the neighbouring byte.
    device->SetColor(300, -5, 0);
    device->SetAlpha(1.0f);
    device->DrawPoint(1, 1);
    Finish();
    const auto& v = Draws().at(0)->vertices;
    EXPECT_EQ(v[0].r, 127); EXPECT_EQ(v[0].g, 64); EXPECT_EQ(v[0].b, 0); EXPECT_EQ(v[0].a, 127);
    EXPECT_EQ(v[1].r, 255); EXPECT_EQ(v[1].g, 0); EXPECT_EQ(v[1].b, 0); EXPECT_EQ(v[1].a, 255);
    // Points and lines sit on pixel centres.
    EXPECT_EQ(v[1].x, 1.5f); EXPECT_EQ(v[1].y, 1.5f);
}

TEST_F(GraphicsTest, ASurfaceChangeFlushesTheBatch) {
    StrongRef<hwSurface> surface = device->CreateSurface(16, 16);
    device->DrawRect(0, 0, 4, 4);
    device->DrawSurface(surface.Get(), 10, 10);
    device->DrawRect(0, 0, 4, 4);
    EXPECT_EQ(glrec::Gl().drawCalls, 2);  // both changes of texture drew what came before
    Finish();
    const auto draws = Draws();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0]->texture, 0u);
    EXPECT_EQ(draws[1]->texture, surface->texture);
    EXPECT_EQ(draws[2]->texture, 0u);
    // The whole surface maps onto texture coordinates 0..1 of its exact-size texture.
    EXPECT_EQ(draws[1]->vertices[2].x, 26);
    EXPECT_EQ(draws[1]->vertices[2].u, 1.0f);
    EXPECT_EQ(draws[1]->vertices[2].v, 1.0f);
}

TEST_F(GraphicsTest, AFullBufferFlushesAndNoPrimitiveIsSplit) {
    for (int i = 0; i < 1024; ++i) device->DrawPoint(0, 0);
    EXPECT_EQ(glrec::Gl().drawCalls, 0);
    device->DrawPoint(0, 0);  // the 1025th vertex
    ASSERT_EQ(glrec::Gl().drawCalls, 1);
    EXPECT_EQ(Draws()[0]->args[2], 1024);
    EXPECT_EQ(device->BatchCount(), 1);

    glrec::ClearLog();
    device->DrawRect(0, 0, 1, 1);  // a new kind starts a new batch
    for (int i = 0; i < 255; ++i) device->DrawRect(0, 0, 1, 1);
    EXPECT_EQ(glrec::Gl().drawCalls, 1);   // only the point
    device->DrawRect(0, 0, 1, 1);          // the 257th quad
    EXPECT_EQ(glrec::Gl().drawCalls, 2);
    EXPECT_EQ(Draws()[1]->args[1], 256 * 6);

    glrec::ClearLog();
    device->Cls(0, 0, 0);
    for (int i = 0; i < 513; ++i) device->DrawLine(0, 0, 1, 1);
    Finish();
    ASSERT_EQ(Draws().size(), 2u);
    EXPECT_EQ(Draws()[0]->args[2], 1024);
    EXPECT_EQ(Draws()[1]->args[2], 2);
}

TEST_F(GraphicsTest, EllipseSegmentCountsFollowTheirSize) {
    auto segments = [&](float w, float h) {
        device->Cls(0, 0, 0);
        device->DrawOval(0, 0, w, h);
        return device->BatchCount();
    };
    EXPECT_EQ(segments(4, 4), 12);
    EXPECT_EQ(segments(100, 60), 80);
    EXPECT_EQ(segments(3000, 3000), 1024);
    EXPECT_EQ(segments(102, 60), 80);  // 81 rounds down to a multiple of 4
    device->SetMatrix(2, 0, 0, 2, 0, 0);
    EXPECT_EQ(segments(100, 60), 160);  // counted after the transform
    device->SetMatrix(1, 0, 0, 1, 0, 0);

    // The first vertex is the rightmost point, then counter-clockwise on screen.
    device->Cls(0, 0, 0);
    device->DrawOval(0, 0, 100, 60);
    Finish();
    const auto& v = Draws().at(0)->vertices;
    EXPECT_FLOAT_EQ(v[0].x, 100);
    EXPECT_FLOAT_EQ(v[0].y, 30);
    EXPECT_NEAR(v[20].x, 50, 1e-3);
    EXPECT_NEAR(v[20].y, 0, 1e-3);  // a quarter turn on goes up the screen
}

TEST_F(GraphicsTest, FilledShapesOfAnySizeShareOneCallAsTheirOwnFans) {
    // Ellipses of three sizes, a rectangle, a pentagon and a triangle, in colours of their own.
    device->DrawOval(0, 0, 100, 60);  // 80 vertices
    device->SetColor(255, 0, 0);
    device->DrawOval(0, 0, 4, 4);     // 12
    device->DrawRect(5, 5, 10, 10);   // 4
    device->SetMatrix(1, 0, 0, 1, 50, 0);
    device->DrawOval(0, 0, 40, 40);   // 40
    device->DrawPoly(Array<float>{0, 0, 10, 0, 12, 8, 5, 12, -2, 8});
    device->DrawPoly(Array<float>{0, 0, 10, 0, 5, 10});
    Finish();

    const auto draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]->args[0], GL_TRIANGLES);
    ExpectFans(*draws[0], {80, 12, 4, 40, 5, 3});
    const auto& v = draws[0]->vertices;
    EXPECT_EQ(v[80].g, 0);  // each shape keeps the colour and matrix of its own call
    EXPECT_EQ(v[79].g, 255);
    EXPECT_FLOAT_EQ(v[96].x, 90);  // the rightmost point of the moved 40 x 40 ellipse
}

TEST_F(GraphicsTest, AShapeThatDoesNotFitStartsTheNextBatchWithItsOwnIndices) {
    // Twelve ellipses of 80 vertices fill 960 of the 1024; a thirteenth is never split across the two batches.
    for (int i = 0; i < 12; ++i) device->DrawOval(0, 0, 100, 60);
    device->DrawRect(0, 0, 1, 1);  // 964: rectangles still fit
    EXPECT_EQ(glrec::Gl().drawCalls, 0);
    device->DrawOval(0, 0, 100, 60);
    EXPECT_EQ(glrec::Gl().drawCalls, 1);
    EXPECT_EQ(device->BatchCount(), 80);
    device->DrawOval(10, 0, 4, 4);
    Finish();

    const auto draws = Draws();
    ASSERT_EQ(draws.size(), 2u);
    ExpectFans(*draws[0], {80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 4});
    EXPECT_EQ(draws[0]->vertices.size(), 964u);
    ExpectFans(*draws[1], {80, 12});  // numbered from the start of the buffer again
    EXPECT_FLOAT_EQ(draws[1]->vertices[0].x, 100);

    // Cls drops the shapes not yet drawn together with their triangles.
    glrec::ClearLog();
    device->DrawOval(0, 0, 100, 60);
    device->Cls(0, 0, 0);
    device->DrawRect(0, 0, 1, 1);
    Finish();
    ASSERT_EQ(Draws().size(), 1u);
    ExpectFans(*Draws()[0], {4});
}

TEST_F(GraphicsTest, PointsLinesAndTexturesStillSeparateShapes) {
    StrongRef<hwSurface> surface = device->CreateSurface(16, 16);
    device->DrawRect(0, 0, 4, 4);
    device->DrawLine(0, 0, 4, 4);
    device->DrawOval(0, 0, 4, 4);
    // A textured polygon joins the image quads of its own surface.
    device->DrawSurface(surface.Get(), 0, 0);
    device->DrawPoly2(Array<float>{0, 0, 0, 0, 8, 0, 8, 0, 8, 8, 8, 8, 0, 8, 0, 8, -4, 4, 0, 4}, surface.Get(), 0, 0);
    device->DrawPoint(1, 1);
    Finish();

    const auto draws = Draws();
    ASSERT_EQ(draws.size(), 5u);
    EXPECT_EQ(draws[1]->args[0], GL_LINES);
    ExpectFans(*draws[2], {12});
    ExpectFans(*draws[3], {4, 5});
    EXPECT_EQ(draws[3]->texture, surface->texture);
    EXPECT_FLOAT_EQ(draws[3]->vertices[6].u, 0.5f);
    EXPECT_EQ(draws[4]->args[0], GL_POINTS);
}

TEST_F(GraphicsTest, PolygonsOutsideTheBatchSizeAreIgnored) {
    device->DrawRect(0, 0, 1, 1);
    device->DrawPoly(Array<float>());
    device->DrawPoly(Array<float>(2 * 1025));
    EXPECT_EQ(device->BatchCount(), 4);
    Finish();
    ASSERT_EQ(Draws().size(), 1u);
    ExpectFans(*Draws()[0], {4});
}

TEST_F(GraphicsTest, ClsDropsWhatWasNotYetDrawn) {
    device->DrawRect(0, 0, 10, 10);
    device->Cls(255, 0, 51);
    Finish();
    EXPECT_TRUE(Draws().empty());
    const auto* clear = glrec::Last("glClearColor");
    ASSERT_NE(clear, nullptr);
    EXPECT_FLOAT_EQ(clear->args[0], 1.0f);
    EXPECT_FLOAT_EQ(clear->args[2], 0.2f);
    EXPECT_EQ(glrec::Count("glClear"), 1);
}

TEST_F(GraphicsTest, ScissorBoxesAreFlippedAndOnlyRealChangesFlush) {
    device->SetScissor(0, 0, 640, 480);
    EXPECT_EQ(glrec::Count("glDisable"), 1);
    EXPECT_EQ(glrec::Last("glDisable")->args[0], GL_SCISSOR_TEST);

    device->DrawRect(0, 0, 1, 1);
    device->SetScissor(10, 20, 100, 50);
    EXPECT_EQ(glrec::Gl().drawCalls, 1);
    EXPECT_EQ(glrec::Last("glEnable")->args[0], GL_SCISSOR_TEST);
    EXPECT_EQ(glrec::Last("glScissor")->args, (std::vector<double>{10, 410, 100, 50}));

    // The box already in force, and the blend mode already in force, cost nothing.
    device->DrawRect(0, 0, 1, 1);
    device->SetScissor(10, 20, 100, 50);
    device->SetBlend(0);
    device->SetBlend(7);  // any value but 1 is normal blending
    device->DrawRect(0, 0, 1, 1);
    EXPECT_EQ(glrec::Gl().drawCalls, 1);
    EXPECT_EQ(glrec::Count("glScissor"), 1);
    EXPECT_EQ(glrec::Count("glBlendFunc"), 0);

    device->SetBlend(1);
    EXPECT_EQ(glrec::Gl().drawCalls, 2);
    EXPECT_EQ(glrec::Last("glBlendFunc")->args, (std::vector<double>{GL_ONE, GL_ONE}));
}

TEST_F(GraphicsTest, ANewFrameForgetsTheScissorStateOfTheLastContext) {
    device->SetScissor(0, 0, 640, 480);
    Finish();
    device->BeginRender();  // e.g. after a window re-creation the new context's state is not ours to assume
    glrec::ClearLog();
    device->SetScissor(0, 0, 640, 480);
    EXPECT_EQ(glrec::Count("glDisable"), 1);
}

TEST_F(GraphicsTest, ReadPixelsFlipsRowsAndRefusesRectanglesOutsideTheArray) {
    // OpenGL rows run bottom-up: row y of the window is OpenGL row 479 - y.
    glrec::Gl().framebuffer = [](int x, int y) { return static_cast<uint32_t>(0xff000000u | (y << 8) | x); };
    Array<int> pixels(2 + 3 * 4);
    device->DrawRect(0, 0, 1, 1);
    device->ReadPixels(pixels, 5, 10, 3, 2, 2, 4);
    EXPECT_EQ(glrec::Gl().drawCalls, 1);  // what was batched is drawn before reading
    EXPECT_EQ(static_cast<uint32_t>(pixels[2]), 0xff000000u | (469u << 8) | 5u);
    EXPECT_EQ(static_cast<uint32_t>(pixels[2 + 4 + 2]), 0xff000000u | (468u << 8) | 7u);
    EXPECT_EQ(pixels[0], 0);

    glrec::ClearLog();
    device->ReadPixels(pixels, 0, 0, 4, 4, 0, 4);  // needs 16 ints, the array has 14
    device->ReadPixels(pixels, 0, 0, 3, 2, -1, 4);
    EXPECT_EQ(glrec::Count("glReadPixels"), 0);
}

}  // namespace
