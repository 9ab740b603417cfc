// Texture pages through real OpenGL: a sheet drawn from a layer of a page, here a layer twice its height beside
// another sheet, gives pixel for pixel what a texture of its own gives, frame by frame at many scales, turns and
// sub-pixel places (half scale puts samples on texel boundaries, and places half a pixel off put pixel centres on
// the frames' edges), and nothing of the neighbouring sheet or of the rest of the layer ever shows.
#include <cmath>

#include "tests/gl/real_gl_fixture.h"

namespace {

constexpr int kSheetWidth = 16, kSheetHeight = 8, kFrame = 4, kFrames = 8;

// The sheet's pixels: every texel its own colour and alpha, from a fixed sequence.
std::vector<unsigned char> SheetPixels() {
    std::vector<unsigned char> rgba;
    uint32_t state = 12345;
    for (int i = 0; i < kSheetWidth * kSheetHeight; ++i) {
        state = state * 1103515245u + 12345u;
        const auto byte = [&](int shift) { return static_cast<unsigned char>(state >> shift); };
        rgba.insert(rgba.end(), {byte(24), byte(16), byte(8), static_cast<unsigned char>(byte(4) | 0x40)});
    }
    return rgba;
}

class PageGl : public RealGlTest {
protected:
    // The sheet's frames as an image, after a solid magenta sheet of twice its height when on a page.
    StrongRef<c_Image> LoadSheet(bool onPage) {
        device->UseTexturePages(onPage);
        std::vector<unsigned char> magenta;
        for (int i = 0; i < kSheetWidth * kSheetWidth; ++i) magenta.insert(magenta.end(), {255, 0, 255, 255});
        neighbour = kp_graphics_LoadImage(String(WritePng("neighbour.png", kSheetWidth, kSheetWidth, magenta).c_str()),
                                          1, 0);
        StrongRef<c_Image> sheet = kp_graphics_LoadImage2(
            String(WritePng("sheet.png", kSheetWidth, kSheetHeight, SheetPixels()).c_str()), kFrame, kFrame,
            kFrames, ImageMidHandle);
        EXPECT_TRUE(sheet);
        if (sheet && onPage) {
            EXPECT_TRUE(sheet->m_surface->page);
            EXPECT_EQ(sheet->m_surface->page, neighbour->m_surface->page);
            EXPECT_EQ(sheet->m_surface->layer, 1);
        }
        return sheet;
    }

    // Every frame at eight scales, each at four sub-pixel places, all turned by one angle, in rows.
    void DrawSweep(c_Image* sheet, float angle) {
        Begin(30, 60, 90);
        const float scales[] = {0.5f, 1, 1.5f, 2, 3, 4.25f, -1, -2};  // the last two mirror left to right
        const float places[] = {0, 0.5f, 0.25f, 0.75f};
        float y = 12;
        for (float scale : scales) {
            const float size = std::fabs(scale) * kFrame;
            float x = 12;
            for (float place : places) {
                for (int frame = 0; frame < kFrames; ++frame) {
                    kp_graphics_DrawImage2(sheet, x + place, y + place, angle, scale, std::fabs(scale), frame);
                    x += size + 2;
                }
            }
            y += size * 1.5f + 3;
        }
        End("page_sweep");
    }

    int Magenta() const {
        int n = 0;
        for (int i = 0; i < kWidth * kHeight; ++i) n += (static_cast<uint32_t>(pixels[i]) & 0xffffffu) == 0xff00ffu;
        return n;
    }

    StrongRef<c_Image> neighbour;
};

TEST_F(PageGl, ALayerOfAPageDrawsThePixelsOfATextureOfItsOwn) {
    StrongRef<c_Image> own = LoadSheet(false);
    StrongRef<c_Image> paged = LoadSheet(true);
    ASSERT_TRUE(own && paged);
    for (float angle : {0.0f, 90.0f, 180.0f, 270.0f, 33.3f, -45.0f}) {
        DrawSweep(own.Get(), angle);
        const Array<int> reference = pixels;
        DrawSweep(paged.Get(), angle);
        int differing = 0, drawn = 0;
        for (int i = 0; i < kWidth * kHeight; ++i) {
            differing += pixels[i] != reference[i];
            drawn += (static_cast<uint32_t>(reference[i]) & 0xffffffu) != 0x1e3c5au;
        }
        EXPECT_EQ(differing, 0) << "turned " << angle;
        EXPECT_GT(drawn, 5000) << "the frames were drawn";
        EXPECT_EQ(Magenta(), 0) << "the neighbouring layer bled in, turned " << angle;
    }
}

TEST_F(PageGl, ASheetsLastRowAndColumnEndItsLayerAsClampingEndsATexture) {
    // The bottom right frame eight times over, mirrored left to right, half a pixel off: the pixels on its left
    // and bottom edges (which the rasteriser fills) sample exactly at the sheet's right and bottom ends, one
    // texel past its last column and row, where the layer goes on below it.
    auto draw = [&](c_Image* sheet) {
        Begin(0, 0, 0);
        kp_graphics_DrawImage2(sheet, 100.5f, 100.5f, 0, -8, 8, kFrames - 1);
        End("page_edge");
    };
    StrongRef<c_Image> own = LoadSheet(false);
    StrongRef<c_Image> paged = LoadSheet(true);
    ASSERT_TRUE(own && paged);
    draw(own.Get());
    const std::vector<unsigned char> sheet = SheetPixels();
    const unsigned char* last = &sheet[static_cast<size_t>(kSheetWidth * kSheetHeight - 1) * 4];
    const Rgb corner{last[0] * last[3] / 255, last[1] * last[3] / 255, last[2] * last[3] / 255};
    ASSERT_TRUE(Near(At(84, 116), corner, 0)) << "a texture of its own clamps to its last texel";
    const Array<int> reference = pixels;
    draw(paged.Get());
    int differing = 0;
    for (int i = 0; i < kWidth * kHeight; ++i) differing += pixels[i] != reference[i];
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(Magenta(), 0);
}

}  // namespace
