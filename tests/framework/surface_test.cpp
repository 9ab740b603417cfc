// Surfaces: decoding and premultiplying once at load, the texture made on demand and again for a new context,
// the power-of-two retry, and sub-image writes.
#include <stb_image_write.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "host/image_data.h"
#include "tests/support/scratch.h"
#include "tests/framework/graphics_fixture.h"

namespace {

// Writes a PNG of the given pixels (depth bytes each) into the temporary folder; answers its path.
std::string WritePng(const std::string& name, int w, int h, int depth, const std::vector<unsigned char>& pixels) {
    const std::string path = scratch::File(name);
    stbi_write_png(path.c_str(), w, h, depth, pixels.data(), w * depth);
    return path;
}

TEST_F(GraphicsTest, LoadedPixelsArePremultipliedOnceByFormat) {
    const auto rgba = WritePng("rgba.png", 1, 2, 4, {255, 200, 100, 128, 10, 20, 30, 255});
    const auto greyAlpha = WritePng("ga.png", 1, 1, 2, {200, 51});
    const auto rgb = WritePng("rgb.png", 1, 1, 3, {255, 128, 7});

    StrongRef<hwSurface> a = device->LoadSurface(String(rgba.c_str()));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->format, GL_RGBA);
    EXPECT_EQ(std::vector<int>(a->pixels, a->pixels + 8), (std::vector<int>{128, 100, 50, 128, 10, 20, 30, 255}));

    StrongRef<hwSurface> b = device->LoadSurface(String(greyAlpha.c_str()));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->format, GL_LUMINANCE_ALPHA);
    EXPECT_EQ(b->pixels[0], 40);  // 200 x 51 / 255
    EXPECT_EQ(b->pixels[1], 51);

    StrongRef<hwSurface> c = device->LoadSurface(String(rgb.c_str()));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->format, GL_RGB);
    EXPECT_EQ(std::vector<int>(c->pixels, c->pixels + 3), (std::vector<int>{255, 128, 7}));

    EXPECT_FALSE(device->LoadSurface(String("/nonexistent/quorlix.png")));
    const auto junk = WritePng("junk.png", 1, 1, 1, {0});
    std::filesystem::resize_file(junk, 20);  // a truncated file does not decode
    EXPECT_FALSE(device->LoadSurface(String(junk.c_str())));
}

TEST(SurfacePixels, PremultiplyingGivesTheTruncatedQuotientForEveryValueAndAlpha) {
    // Every value 0..255 under every alpha 0..255, in each colour channel (a different value in each, so a
    // channel computed from its neighbour's byte shows), and as the grey of a grey-and-alpha pixel.
    constexpr int kCount = 256 * 256;
    auto* rgba = static_cast<unsigned char*>(std::malloc(kCount * 4));
    auto* greyAlpha = static_cast<unsigned char*>(std::malloc(kCount * 2));
    for (int i = 0; i < kCount; ++i) {
        const int value = i & 255, alpha = i >> 8;
        const unsigned char pixel[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(255 - value),
                                        static_cast<unsigned char>(value ^ 0x5a), static_cast<unsigned char>(alpha)};
        std::memcpy(rgba + i * 4, pixel, 4);
        greyAlpha[i * 2] = static_cast<unsigned char>(value);
        greyAlpha[i * 2 + 1] = static_cast<unsigned char>(alpha);
    }
    hwSurface colour, grey;
    colour.SetData(rgba, 256, 256, 4);
    grey.SetData(greyAlpha, 256, 256, 2);
    int wrong = 0;
    for (int i = 0; i < kCount; ++i) {
        const int value = i & 255, alpha = i >> 8;
        const unsigned char* p = colour.pixels + i * 4;
        wrong += p[0] != value * alpha / 255 || p[1] != (255 - value) * alpha / 255 ||
                 p[2] != (value ^ 0x5a) * alpha / 255 || p[3] != alpha;
        wrong += grey.pixels[i * 2] != value * alpha / 255 || grey.pixels[i * 2 + 1] != alpha;
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(GraphicsTest, OnlyWellFormedPngsWithinTheSizeBoundAreDecoded) {
    const std::vector<unsigned char> row(4097, 200);
    EXPECT_TRUE(device->LoadSurface(String(WritePng("side.png", 4096, 1, 1, row).c_str())));
    EXPECT_FALSE(device->LoadSurface(String(WritePng("wide.png", 4097, 1, 1, row).c_str())));
    EXPECT_FALSE(device->LoadSurface(String(WritePng("tall.png", 1, 4097, 1, row).c_str())));

    // Another format under a PNG name: stb_image would decode it, the game's art is PNG only.
    const auto dir = std::filesystem::path(WritePng("any.png", 1, 1, 1, row)).parent_path();
    const std::string bmp = (dir / "bitmap.png").string();
    stbi_write_bmp(bmp.c_str(), 2, 2, 3, row.data());
    EXPECT_FALSE(device->LoadSurface(String(bmp.c_str())));

    // A good file cut before its end chunk.
    const std::string good = WritePng("cut.png", 8, 8, 4, std::vector<unsigned char>(256, 90));
    ASSERT_TRUE(device->LoadSurface(String(good.c_str())));
    std::filesystem::resize_file(good, std::filesystem::file_size(good) - 12);
    EXPECT_FALSE(device->LoadSurface(String(good.c_str())));
}

// The fuzzer's find: a chunk whose length field says 222 MB in a file of 69 bytes made stb_image ask for that
// much before reading a byte of it. The bytes never reach the decoder now.
TEST_F(GraphicsTest, AChunkLongerThanItsFileNeverReachesTheDecoder) {
    const std::vector<unsigned char> bytes = {
        0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
        0x00, 0x08, 0x00, 0x00, 0x00, 0x08, 0x01, 0x00, 0x00, 0x00, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
        0x0c, 0x49, 0x44, 0x41, 0x54, 0x08, 0xd7, 0x63, 0xf8, 0xcf, 0x80, 0x02, 0x01, 0x3f, 0xd0, 0x07, 0xf9, 0x88,
        0xf3, 0x85, 0x52, 0x00, 0x00, 0x00, 0x4e, 0x00, 0x45, 0x49, 0x44, 0xae, 0x42, 0x60, 0x82};
    EXPECT_FALSE(PngWithinBounds(bytes));
    const auto path = std::filesystem::path(WritePng("any.png", 1, 1, 1, {0})).parent_path() / "long-chunk.png";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    EXPECT_FALSE(device->LoadSurface(String(path.c_str())));
}

TEST_F(GraphicsTest, TexturesAreExactSizeOrRetriedAtPowersOfTwo) {
    StrongRef<hwSurface> exact = device->CreateSurface(100, 50);
    EXPECT_FLOAT_EQ(exact->uscale, 0.01f);
    EXPECT_FLOAT_EQ(exact->vscale, 0.02f);
    EXPECT_EQ(glrec::Count("glTexImage2D"), 1);

    glrec::ClearLog();
    glrec::Gl().rejectNonPowerOfTwo = true;
    StrongRef<hwSurface> padded = device->CreateSurface(100, 50);
    const auto uploads = glrec::All("glTexImage2D");
    ASSERT_EQ(uploads.size(), 2u);
    EXPECT_EQ(uploads[1]->args[3], 128);
    EXPECT_EQ(uploads[1]->args[4], 64);
    EXPECT_FLOAT_EQ(padded->uscale, 1.0f / 128);
    EXPECT_FLOAT_EQ(padded->vscale, 1.0f / 64);
    EXPECT_EQ(padded->Width(), 100);  // the image keeps its own size

    // Texture coordinates are in texels of the surface, so a quad of the whole image stops short of the padding.
    device->DrawSurface(padded.Get(), 0, 0);
    Finish();
    EXPECT_FLOAT_EQ(glrec::Draws().at(0)->vertices[2].u, 100.0f / 128);
}

TEST_F(GraphicsTest, ANewWindowMakesEveryTextureAgainFromThePixelsKept) {
    const auto path = WritePng("seq.png", 2, 2, 4, std::vector<unsigned char>(16, 255));
    device->UseTexturePages(false);  // a texture of its own (pages: page_test.cpp)
    StrongRef<hwSurface> surface = device->LoadSurface(String(path.c_str()));
    ASSERT_TRUE(surface);
    const unsigned first = surface->texture;
    EXPECT_EQ(glrec::Count("glTexSubImage2D"), 1);  // loading binds at once when a window exists

    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, true);  // fullscreen: a new context
    device->BeginRender();
    glrec::ClearLog();
    device->DrawSurface(surface.Get(), 0, 0);
    Finish();
    EXPECT_NE(surface->texture, first);
    EXPECT_EQ(surface->seq, kpGraphicsSeq);
    EXPECT_EQ(glrec::Count("glTexSubImage2D"), 1);  // pixels uploaded again
    EXPECT_EQ(glrec::Draws().at(0)->texture, surface->texture);

    // The old name died with its context and is not deleted; the current one is.
    glrec::ClearLog();
    surface->Discard();
    ASSERT_EQ(glrec::Count("glDeleteTextures"), 1);
    EXPECT_EQ(glrec::Last("glDeleteTextures")->args[1], surface->texture);
    EXPECT_EQ(surface->pixels, nullptr);
}

TEST(SurfaceWithoutWindow, GetsItsTextureAndScalesOnItsFirstDraw) {
    ScopedFakeGlfw glfw;
    glrec::Reset();
    const int savedSeq = kpGraphicsSeq;
    kpGraphicsSeq = 0;  // no window opened yet
    KpGlfwGame host;
    StrongRef<hwGraphics> device = MakeRef<hwGraphics>(&host);
    StrongRef<hwSurface> surface = device->CreateSurface(8, 4);
    EXPECT_EQ(glrec::Count("glGenTextures"), 0);
    EXPECT_EQ(surface->seq, -1);

    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    device->BeginRender();
    device->DrawSurface2(surface.Get(), 0, 0, 4, 0, 4, 4);
    device->EndRender();
    EXPECT_EQ(glrec::Count("glGenTextures"), 1);
    const auto& v = glrec::Draws().at(0)->vertices;
    EXPECT_FLOAT_EQ(v[0].u, 0.5f);  // the scales were known before the vertices were written
    EXPECT_FLOAT_EQ(v[2].u, 1.0f);
    EXPECT_FLOAT_EQ(v[2].v, 1.0f);
    kpGraphicsSeq = std::max(savedSeq, kpGraphicsSeq);
    surface = nullptr;
    device = nullptr;
    gc_collect();
}

TEST_F(GraphicsTest, SubImageWritesArePremultipliedAndStayInsideTheSurface) {
    StrongRef<hwSurface> surface = device->CreateSurface(4, 4);
    Array<int> argb{0, static_cast<int>(0x80ff4000u), static_cast<int>(0xff102030u), 0,
                    static_cast<int>(0x00ffffffu), 0};
    glrec::ClearLog();
    device->WritePixels2(surface.Get(), argb, 1, 2, 2, 2, 1, 3);
    ASSERT_NE(surface->pixels, nullptr);
    const unsigned char* p = surface->pixels + (2 * 4 + 1) * 4;
    EXPECT_EQ(std::vector<int>(p, p + 8), (std::vector<int>{128, 32, 0, 128, 16, 32, 48, 255}));
    const unsigned char* below = surface->pixels + (3 * 4 + 1) * 4;
    EXPECT_EQ(below[3], 0);  // fully transparent source pixel
    // One upload of the rectangle, told that the block's rows are the surface's width apart.
    const auto* upload = glrec::Last("glTexSubImage2D");
    ASSERT_NE(upload, nullptr);
    EXPECT_EQ(upload->args[2], 1);
    EXPECT_EQ(upload->args[3], 2);
    EXPECT_EQ(glrec::All("glPixelStorei").at(1)->args, (std::vector<double>{GL_UNPACK_ROW_LENGTH, 4}));

    // A rectangle reaching outside the surface is refused rather than written past the pixel block.
    glrec::ClearLog();
    surface->SetSubData(3, 3, 2, 2, argb.Data(), 2);
    surface->SetSubData(-1, 0, 1, 1, argb.Data(), 1);
    EXPECT_EQ(glrec::Count("glTexSubImage2D"), 0);

    // Only RGBA surfaces take sub-image writes.
    const auto path = WritePng("sub-rgb.png", 1, 1, 3, {1, 2, 3});
    StrongRef<hwSurface> rgb = device->LoadSurface(String(path.c_str()));
    ASSERT_TRUE(rgb);
    rgb->SetSubData(0, 0, 1, 1, argb.Data(), 1);
    EXPECT_EQ(std::vector<int>(rgb->pixels, rgb->pixels + 3), (std::vector<int>{1, 2, 3}));
}

}  // namespace
