// The drawing API: images cut into frames, flags and handles, the matrix stack, lazy matrix sending, and the
// loaders' answers for files that do not fit their cells.
#include <stb_image_write.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "framework/app/app.h"
#include "tests/support/scratch.h"
#include "tests/framework/graphics_fixture.h"

namespace {

std::string WriteSheet(const std::string& name, int w, int h) {
    const std::string path = scratch::File(name);
    std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 4, 255);
    stbi_write_png(path.c_str(), w, h, 4, pixels.data(), w * 4);
    return path;
}

class DrawingApiTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        kp_graphics_Init();
        kp_graphics_SetGraphicsDevice(device.Get());
        kp_app__devWidth = 640;
        kp_app__devHeight = 480;
        kp_graphics_BeginRender();
        glrec::ClearLog();
    }
    void TearDown() override {
        kp_graphics_EndRender();
        GraphicsTest::TearDown();
    }

    StrongRef<c_Image> Load(const std::string& path, int frames, int flags) {
        return kp_graphics_LoadImage(String(path.c_str()), frames, flags);
    }
};

TEST_F(DrawingApiTest, StripsAndSheetsAreCutIntoFrames) {
    StrongRef<c_Image> strip = Load(WriteSheet("strip.png", 128, 32), 4, 0);
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->FrameCount(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(strip->m_frames[i]->m_x, 32 * i);
    EXPECT_EQ(strip->m_width, 32);
    EXPECT_FALSE(strip->m_flags & ImageWholeSurface);

    // 128 cells of 32 x 32 on a sheet 512 wide: 8 rows of 16.
    StrongRef<c_Image> sheet = kp_graphics_LoadImage2(String(WriteSheet("sheet.png", 512, 256).c_str()), 32, 32, 128, 0);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->m_frames[17]->m_x, 32);
    EXPECT_EQ(sheet->m_frames[17]->m_y, 32);
    EXPECT_EQ(sheet->m_frames[127]->m_y, 224);
}

TEST_F(DrawingApiTest, WholeSurfaceImagesDrawTheSurfaceAndPaddedOnesAFrame) {
    const auto path = WriteSheet("single.png", 34, 34);
    StrongRef<c_Image> whole = Load(path, 1, 0);
    ASSERT_TRUE(whole);
    EXPECT_TRUE(whole->m_flags & ImageWholeSurface);

    StrongRef<c_Image> padded = Load(path, 1, ImagePadX | ImagePadY | ImageMidHandle);
    ASSERT_TRUE(padded);
    EXPECT_FALSE(padded->m_flags & ImageWholeSurface);
    EXPECT_FALSE(padded->m_flags & ImageMidHandle);  // applied once, then cleared
    EXPECT_EQ(padded->m_handleX, 16);
    EXPECT_EQ(padded->m_handleY, 16);

    kp_graphics_DrawImage(padded.Get(), 100, 100, 0);
    Finish();
    const auto& v = glrec::Draws().at(0)->vertices;
    EXPECT_EQ(v[0].x, 84);  // handle on the drawing position
    EXPECT_EQ(v[2].x, 116);
    EXPECT_FLOAT_EQ(v[0].u, 1.0f / 34);  // inside the border column
}

TEST_F(DrawingApiTest, FramesDrawOnlyTheirInkGrownByATexelAndMeasureAgainWhenPixelsChange) {
    // Two 8 x 8 frames side by side: the first with ink at (3, 2) and (5, 4) only, the second none at all.
    std::vector<unsigned char> rgba(16 * 8 * 4, 0);
    for (const auto& [x, y] : {std::pair{3, 2}, std::pair{5, 4}}) {
        for (int k = 0; k < 4; ++k) rgba[(y * 16 + x) * 4 + k] = 255;
    }
    const std::string path = scratch::File("ink.png");
    stbi_write_png(path.c_str(), 16, 8, 4, rgba.data(), 16 * 4);
    StrongRef<c_Image> image = Load(path, 2, 0);
    ASSERT_TRUE(image);
    kp_graphics_DrawImage(image.Get(), 100, 50, 0);
    kp_graphics_DrawImage(image.Get(), 200, 50, 1);  // nothing to draw
    kp_graphics_DrawImage2(image.Get(), 100, 50, 0, 2, 3, 0);
    Finish();
    auto v = glrec::Draws().at(0)->vertices;
    ASSERT_EQ(v.size(), 8u) << "the empty frame adds no quad";
    // Columns 2..6 and rows 1..5 of the frame, in place, texel for texel.
    EXPECT_EQ(v[0].x, 102);
    EXPECT_EQ(v[0].y, 51);
    EXPECT_EQ(v[2].x, 107);
    EXPECT_EQ(v[2].y, 56);
    EXPECT_FLOAT_EQ(v[0].u / v[2].u, 2.0f / 7.0f);
    EXPECT_FLOAT_EQ(v[0].v / v[2].v, 1.0f / 6.0f);
    // Scaled, the same part about the same origin.
    EXPECT_FLOAT_EQ(v[4].x, 104);
    EXPECT_FLOAT_EQ(v[4].y, 53);
    EXPECT_FLOAT_EQ(v[6].x, 114);
    EXPECT_FLOAT_EQ(v[6].y, 68);

    // Opaque art has no margins to leave out; an image made blank is drawn whole until pixels are written into
    // it, and then only around them.
    std::vector<unsigned char> rgb(8 * 8 * 3, 0);
    const std::string opaquePath = scratch::File("opaque.png");
    stbi_write_png(opaquePath.c_str(), 8, 8, 3, rgb.data(), 8 * 3);
    StrongRef<c_Image> opaque = Load(opaquePath, 2, 0);
    StrongRef<c_Image> blank = kp_graphics_CreateImage(8, 8, 2, 0);
    ASSERT_TRUE(opaque && blank);
    auto drawBoth = [&] {
        glrec::ClearLog();
        device->BeginRender();
        kp_graphics_DrawImage(opaque.Get(), 0, 0, 1);
        kp_graphics_DrawRect(0, 0, 1, 1);
        kp_graphics_DrawImage(blank.Get(), 0, 0, 0);
        Finish();
        return std::pair{glrec::Draws().at(0)->vertices, glrec::Draws().at(2)->vertices};
    };
    auto [opaqueQuad, blankQuad] = drawBoth();
    EXPECT_EQ(opaqueQuad[2].x - opaqueQuad[0].x, 4);
    EXPECT_EQ(opaqueQuad[2].y - opaqueQuad[0].y, 8);
    EXPECT_EQ(blankQuad[2].x - blankQuad[0].x, 8);
    Array<int> texel(1);
    texel[0] = static_cast<int>(0xff00ff00u);
    device->WritePixels2(blank->m_surface.Get(), texel, 6, 6, 1, 1, 0, 1);
    blankQuad = drawBoth().second;
    EXPECT_EQ(blankQuad[0].x, 5);
    EXPECT_EQ(blankQuad[2].x, 8);
    EXPECT_EQ(blankQuad[2].y, 8);
}

TEST_F(DrawingApiTest, DrawImage2AtRestMatchesDrawImageAndTurnsAboutTheHandle) {
    StrongRef<c_Image> image = kp_graphics_LoadImage2(String(WriteSheet("turn.png", 40, 20).c_str()), 20, 20, 2, ImageMidHandle);
    ASSERT_TRUE(image);
    kp_graphics_DrawImage(image.Get(), 50, 60, 1);
    kp_graphics_DrawImage2(image.Get(), 50, 60, 0, 1, 1, 1);
    kp_graphics_DrawImage2(image.Get(), 50, 60, 90, 2, 1, 1);
    Finish();
    const auto& v = glrec::Draws().at(0)->vertices;
    ASSERT_EQ(v.size(), 12u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(v[4 + i].x, v[i].x, 1e-4);
        EXPECT_NEAR(v[4 + i].y, v[i].y, 1e-4);
        EXPECT_EQ(v[4 + i].u, v[i].u);
    }
    // A quarter turn counter-clockwise on screen, twice as wide before turning: the top-left corner (-20, -10)
    // about the handle goes to (-10, +20).
    EXPECT_NEAR(v[8].x, 40, 1e-4);
    EXPECT_NEAR(v[8].y, 80, 1e-4);
    // The matrix was put back.
    EXPECT_EQ(kp_graphics_context->m_stackDepth, 0);
    EXPECT_FALSE(kp_graphics_context->m_isTransformed);
}

TEST_F(DrawingApiTest, DrawImage2PlacesVerticesExactlyAsItsMatrixStepsWould) {
    StrongRef<c_Image> image = kp_graphics_LoadImage2(String(WriteSheet("steps.png", 40, 20).c_str()), 20, 20, 2, ImageMidHandle);
    ASSERT_TRUE(image);
    // Under a turned and scaled current matrix, each image turned, scaled unevenly and moved: the same quads
    // through the spelled-out steps (push, translate, rotate, scale, move by the handle, draw, pop).
    kp_graphics_Rotate(17);
    kp_graphics_Scale(1.3f, 0.7f);
    kp_graphics_Translate(3.25f, -8.5f);
    const float cases[3][4] = {{50.5f, 60.25f, 33.3f, 1.7f}, {-12, 400, -90, 0.35f}, {7, 7, 0, 2.5f}};
    for (const auto& k : cases) kp_graphics_DrawImage2(image.Get(), k[0], k[1], k[2], k[3], k[3] * 0.6f, 1);
    for (const auto& k : cases) {
        kp_graphics_PushMatrix();
        kp_graphics_Translate(k[0], k[1]);
        const double r = static_cast<double>(k[2] * 0.017453292f);
        const float c = static_cast<float>(std::cos(r)), s = static_cast<float>(std::sin(r));
        kp_graphics_Transform(c, -s, s, c, 0, 0);
        kp_graphics_Scale(k[3], k[3] * 0.6f);
        kp_graphics_Translate(-image->m_handleX, -image->m_handleY);
        kp_graphics_DrawImage(image.Get(), image->m_handleX, image->m_handleY, 1);
        kp_graphics_PopMatrix();
    }
    kp_graphics_DrawRect(0, 0, 1, 1);  // the current matrix is sent again after the images
    Finish();
    const auto draws = glrec::Draws();
    ASSERT_EQ(draws.size(), 2u);
    const auto& v = draws[0]->vertices;
    ASSERT_EQ(v.size(), 24u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(v[i].x, v[12 + i].x) << "vertex " << i;
        EXPECT_EQ(v[i].y, v[12 + i].y) << "vertex " << i;
    }
    EXPECT_NEAR(draws[1]->vertices[0].x, 3.25f * 1.3f * std::cos(17 * M_PI / 180) + -8.5f * 0.7f * std::sin(17 * M_PI / 180), 1e-4);
}

TEST_F(DrawingApiTest, TheMatrixStackGrowsAndPopsRestoreEachMatrix) {
    for (int i = 0; i < 33; ++i) {
        kp_graphics_PushMatrix();
        kp_graphics_Translate(1, 0);
    }
    EXPECT_EQ(kp_graphics_context->m_savedMatrices.Length(), 384);
    for (int i = 33; i > 0; --i) {
        EXPECT_EQ(kp_graphics_context->m_tx, static_cast<float>(i));
        kp_graphics_PopMatrix();
    }
    EXPECT_EQ(kp_graphics_context->m_tx, 0);
    EXPECT_FALSE(kp_graphics_context->m_isTransformed);
}

TEST_F(DrawingApiTest, TheMatrixReachesTheDeviceOnlyWithADraw) {
    kp_graphics_Rotate(30);
    kp_graphics_Scale(2, 2);
    kp_graphics_Translate(5, 5);
    EXPECT_EQ(glrec::Gl().totalCalls, 0);
    EXPECT_TRUE(kp_graphics_context->m_matrixDirty);
    kp_graphics_SetMatrix(1, 0, 0, 1, 10, 0);
    kp_graphics_DrawRect(0, 0, 1, 1);
    EXPECT_FALSE(kp_graphics_context->m_matrixDirty);
    Finish();
    EXPECT_EQ(glrec::Draws().at(0)->vertices[0].x, 10);
}

TEST_F(DrawingApiTest, ScissorValuesAreTruncatedForTheDevice) {
    kp_graphics_SetScissor(10.9f, 0, 100.5f, 50);
    EXPECT_EQ(glrec::Last("glScissor")->args, (std::vector<double>{10, 430, 100, 50}));
    EXPECT_FLOAT_EQ(kp_graphics_context->m_scissorX, 10.9f);
}

TEST_F(DrawingApiTest, FramesTheImageDoesNotHaveDrawNothing) {
    StrongRef<c_Image> image = Load(WriteSheet("two.png", 16, 8), 2, 0);
    ASSERT_TRUE(image);
    kp_graphics_DrawImage(image.Get(), 0, 0, 2);
    kp_graphics_DrawImage2(image.Get(), 0, 0, 0, 1, 1, -1);
    kp_graphics_DrawPoly2(Array<float>(16), image.Get(), 5);
    kp_graphics_DrawImage(nullptr, 0, 0, 0);
    Finish();
    EXPECT_TRUE(glrec::Draws().empty());
    EXPECT_EQ(kp_graphics_context->m_stackDepth, 0);
}

TEST_F(DrawingApiTest, LoadersAnswerNoneForFilesTooSmallForTheirCells) {
    const auto small = WriteSheet("small.png", 100, 30);
    EXPECT_FALSE(kp_graphics_LoadImage2(String(small.c_str()), 32, 32, 4, 0));   // cells taller than the file
    EXPECT_FALSE(kp_graphics_LoadImage2(String(small.c_str()), 128, 16, 1, 0));  // wider than the file
    EXPECT_FALSE(kp_graphics_LoadImage2(String(small.c_str()), 25, 15, 9, 0));   // a ninth cell below the sheet
    EXPECT_TRUE(kp_graphics_LoadImage2(String(small.c_str()), 25, 15, 8, 0));
    EXPECT_FALSE(Load(small, 96, ImagePadX));  // frames one pixel wide have nothing inside their border
    EXPECT_FALSE(Load("/nonexistent/quorlix.png", 1, 0));
}

using DrawingApiDeathTest = DrawingApiTest;

TEST_F(DrawingApiDeathTest, MisuseStopsWithARuntimeError) {
    EXPECT_EXIT(kp_graphics_PopMatrix(), ::testing::ExitedWithCode(255), "");
    EXPECT_EXIT(kp_graphics_CreateImage(16, 16, 0, 0), ::testing::ExitedWithCode(255), "");
    const auto path = WriteSheet("direct.png", 10, 10);
    StrongRef<hwSurface> surface = device->LoadSurface(String(path.c_str()));
    ASSERT_TRUE(surface);
    // Code that cuts frames itself still hears about a sheet that is too small.
    EXPECT_EXIT(MakeRef<c_Image>()->p_Init2(surface, 0, 0, 20, 20, 1, 0, nullptr, 0, 0, 10, 10),
                ::testing::ExitedWithCode(255), "");
    StrongRef<c_Image> image = MakeRef<c_Image>();
    image->p_Init(surface, 1, 0);
    EXPECT_EXIT(image->p_Init(surface, 1, 0), ::testing::ExitedWithCode(255), "");
}

}  // namespace
