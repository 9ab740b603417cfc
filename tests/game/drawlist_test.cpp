// The draw list: recording limits, the draw-state rules, and the replay of every record kind at a fitted
// scale through the drawing API into the recording GL stand-in.
#include <numeric>

#include "game/myapp.h"
#include "tests/framework/graphics_fixture.h"

namespace {

class DrawListTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        kp_graphics_Init();
        kp_graphics_SetGraphicsDevice(device.Get());
        kp_app__devWidth = 640;
        kp_app__devHeight = 480;
        app.p_CLS2D(0, 0, 0, 1);
    }

    void TearDown() override {
        app.m_images.Fill(nullptr);
        GraphicsTest::TearDown();
    }

    // One render pass as p_OnRender runs it: clear, replay, end state.
    void Render(float scale, float offsetX, float offsetY) {
        device->BeginRender();
        kp_graphics_BeginRender();
        glrec::ClearLog();
        app.m_scaleX = app.m_scaleY = scale;
        app.p_ClearScreen();
        app.p_ReplayDrawList(offsetX, offsetY);
        app.p_EndRenderState();
        kp_graphics_EndRender();
        device->EndRender();
    }

    const float* Record(int index) { return &app.m_drawList[index * 15]; }

    c_MyApp app;
};

TEST_F(DrawListTest, AFrameHoldsAtMost2499Records) {
    for (int i = 0; i < 3000; ++i) app.p_Rect(static_cast<float>(i), 0, 1, 1);
    EXPECT_EQ(app.m_drawCount, 2499 * 15);
    app.p_SetCol(1, 2, 3, 0.25f);  // the state still changes when the list is full
    EXPECT_EQ(app.m_drawRed, 1);
    EXPECT_EQ(app.m_drawAlpha, 0.25f);

    app.m_clearColor[3] = 1;  // an opaque clear: the device clears, no rectangle
    Render(1, 0, 0);
    int quads = 0;
    for (const auto* draw : glrec::Draws()) quads += static_cast<int>(draw->args[1]) / 6;
    EXPECT_EQ(quads, 2499);  // every accepted record
    EXPECT_EQ(glrec::Count("glClear"), 1);
}

TEST_F(DrawListTest, DrawStateCallsFollowTheirRules) {
    app.p_SetSize(2, -3717);
    EXPECT_EQ(app.m_drawScaleY, 2);
    app.p_SetSize(2, 3);
    EXPECT_EQ(app.m_drawScaleY, 3);

    app.p_Alpha(0.5f);
    app.p_SetCol(10, 20, 30, -3717);
    EXPECT_EQ(app.m_drawAlpha, 0.5f);
    app.p_SetCol(10, 20, 30, 0.75f);
    EXPECT_EQ(app.m_drawAlpha, 0.75f);

    app.p_SetRot(90);
    app.m_drawBlend = 3;
    app.p_DrawImg(4, 1, 2, 5);
    const float* r = Record(0);
    EXPECT_EQ(r[0], 4);
    EXPECT_EQ(r[3], -90);
    EXPECT_EQ(r[4], 2);
    EXPECT_EQ(r[5], 3);
    EXPECT_EQ(r[6], 5);
    EXPECT_EQ(r[7], 0.75f);
    EXPECT_EQ(r[10], 10);
    EXPECT_EQ(r[13], 3);

    app.p_Ink(4, 0.5f);
    EXPECT_FLOAT_EQ(app.m_drawRed, 12.75f);
    EXPECT_FLOAT_EQ(app.m_drawGreen, 127.5f);
    app.p_Ink(1, 2);
    EXPECT_FLOAT_EQ(app.m_drawRed, 255);
    EXPECT_FLOAT_EQ(app.m_drawGreen, 51);
    app.p_Ink(0, 1);
    EXPECT_FLOAT_EQ(app.m_drawBlue, 76.5f);
    EXPECT_EQ(app.m_drawAlpha, 0.75f);  // ink leaves alpha alone

    // A frame start without a clear colour keeps the old one, resets the state and empties the list.
    app.p_CLS2D(-3717, 0, 0, 0);
    EXPECT_EQ(app.m_clearColor[3], 1);
    EXPECT_EQ(app.m_drawCount, 0);
    EXPECT_EQ(app.m_drawScaleX, 1);
    EXPECT_EQ(app.m_drawRotation, 0);
    EXPECT_EQ(app.m_drawBlend, 1);
    app.p_CLS2D(10, 20, 30, 0.5f);
    EXPECT_EQ(app.m_clearColor[0], 10);
    EXPECT_EQ(app.m_clearColor[3], 0.5f);
}

TEST_F(DrawListTest, TrianglesAreStoredLeftToRightAroundTheMiddlePoint) {
    app.p_Tri(0, 0, 10, 0, 5, 10);
    app.p_Tri(20, 0, 10, 0, 5, 10);
    const float* given = Record(0);
    EXPECT_EQ(std::vector<float>(given + 1, given + 7), (std::vector<float>{0, 0, 10, 0, 5, 10}));
    const float* reversed = Record(1);
    EXPECT_EQ(std::vector<float>(reversed + 1, reversed + 7), (std::vector<float>{5, 10, 10, 0, 20, 0}));
}

TEST_F(DrawListTest, EveryRecordKindReplaysAtTheFittedScale) {
    app.m_clearColor[3] = 0.5f;  // a translucent clear blends a window-sized rectangle over the last frame
    // Two 8 x 8 frames, handle at the centre, in slot 3; art at level 2 (half-size scale).
    app.m_images[3] = kp_graphics_CreateImage(8, 8, 2, ImageMidHandle);
    app.m_imageScale = 0.5f;

    app.p_SetCol(255, 0, 0, 1);
    app.p_Rect(10, 20, 30, 40);
    app.p_Oval(100, 50, 10, 5);
    app.p_Line(0, 0, 10, 10);
    app.p_Tri(0, 0, 10, 0, 5, 10);
    app.p_SetCol(255, 255, 255, 1);
    app.p_DrawImg(3, 50, 50, 1);
    app.m_drawBlend = 3;
    app.p_DrawImg(3, 60, 50, 0);
    // Records that draw nothing: an empty slot, a kind below -1, a slot past the 100 slots, a frame the image
    // does not have.
    app.p_DrawImg(7, 0, 0, 0);
    app.p_DrawImg(-2, 0, 0, 0);
    app.p_DrawImg(150, 0, 0, 0);
    app.p_DrawImg(3, 0, 0, 2);
    app.m_drawList[app.m_drawCount - 15 + 6] = 1e30f;
    app.p_DrawImg(3, 0, 0, 0);
    app.m_drawList[app.m_drawCount - 15 + 6] = 1e30f;

    Render(2, 10, 7.5f);
    const auto draws = glrec::Draws();
    ASSERT_EQ(draws.size(), 5u);  // clear, rect and oval share a batch; line, triangle, two blend modes of images

    const auto& shapes = draws[0]->vertices;
    ASSERT_EQ(shapes.size(), 36u);
    EXPECT_EQ(shapes[0].x, -1);  // the clear
    EXPECT_EQ(shapes[2].x, 641);
    EXPECT_EQ(shapes[4].x, 30);
    EXPECT_EQ(shapes[4].y, 47.5f);
    EXPECT_EQ(shapes[6].x, 90);
    EXPECT_EQ(shapes[6].y, 127.5f);
    EXPECT_EQ(shapes[4].r, 255);
    EXPECT_EQ(shapes[4].g, 0);
    // The oval's 28 vertices (radii 20 and 10 device pixels) follow, the first at its right.
    EXPECT_EQ(draws[0]->args[1], (4 - 2 + 4 - 2 + 28 - 2) * 3);
    EXPECT_FLOAT_EQ(shapes[8].x, 230);
    EXPECT_FLOAT_EQ(shapes[8].y, 107.5f);

    EXPECT_EQ(draws[1]->args[0], GL_LINES);
    EXPECT_EQ(draws[1]->vertices[1].x, 30.5f);
    EXPECT_EQ(draws[1]->vertices[1].y, 28);

    EXPECT_EQ(draws[2]->args[0], GL_TRIANGLES);
    EXPECT_EQ(draws[2]->vertices[1].x, 30);
    EXPECT_EQ(draws[2]->vertices[2].y, 27.5f);

    // The image at (110, 107.5), 8 device pixels wide (1 x 2 x 0.5), centred on its handle, frame 1.
    const auto& image = draws[3]->vertices;
    EXPECT_NE(draws[3]->texture, 0u);
    EXPECT_FLOAT_EQ(image[0].x, 106);
    EXPECT_FLOAT_EQ(image[0].y, 103.5f);
    EXPECT_FLOAT_EQ(image[2].x, 114);
    EXPECT_FLOAT_EQ(image[0].u, 0.5f);
    EXPECT_EQ(draws[4]->vertices.size(), 4u);  // the additive image
    ASSERT_EQ(glrec::Count("glBlendFunc"), 1);  // only the switch to additive; normal was in force already
    EXPECT_EQ(glrec::Last("glBlendFunc")->args, (std::vector<double>{GL_ONE, GL_ONE}));
}

TEST_F(DrawListTest, AdditiveRecordsInARowShareOneDrawCall) {
    app.m_images[0] = kp_graphics_CreateImage(8, 8, 1, 0);
    app.m_drawBlend = 3;
    for (int i = 0; i < 101; ++i) app.p_DrawImg(0, static_cast<float>(i), 0, 0);
    app.m_clearColor[3] = 1;
    Render(1, 0, 0);
    EXPECT_EQ(glrec::Draws().size(), 1u);  // all 101 stars; the opaque clear is the device's own
    EXPECT_EQ(glrec::Count("glBlendFunc"), 1);  // the switch to additive, once
}

TEST_F(DrawListTest, AnEmptyListOnlyClears) {
    app.p_CLS2D(0, 0, 255, 1);
    Render(2, 0, 0);
    EXPECT_TRUE(glrec::Draws().empty());
    ASSERT_EQ(glrec::Count("glClear"), 1);
    EXPECT_EQ(glrec::Last("glClearColor")->args, (std::vector<double>{0, 0, 1, 1}));
    app.p_CLS2D(0, 0, 255, 0.5f);
    Render(2, 0, 0);
    ASSERT_EQ(glrec::Draws().size(), 1u) << "a translucent clear blends";
    EXPECT_EQ(glrec::Draws()[0]->vertices[0].b, 127);
    EXPECT_EQ(kp_graphics_context->m_colorAlpha, 0.5f);  // the pass ends at white, alpha 0.5
    EXPECT_EQ(kp_graphics_context->m_colorRed, 255);
}

}  // namespace
