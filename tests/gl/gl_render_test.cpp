// Pixels through real OpenGL: the device and drawing API draw into a real window (Mesa's software renderer
// under Xvfb) and the framebuffer is read back. Every picture is also saved beside the test program.
#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/app/app.h"
#include "framework/graphics/graphics.h"
#include "host/glfwgame.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;

struct Rgb {
    int r, g, b;
};

class RealGlTest : public ::testing::Test {
protected:
    // NOTE: GLFW is not terminated at the end: that unloads the GL driver, whose own allocations would then
    // show up in a sanitizer build as leaks of an unknown module.
    static void SetUpTestSuite() { ASSERT_TRUE(glfw2::Init()) << "no display"; }

    void SetUp() override {
        OpenWindow();
        device = MakeRef<hwGraphics>(&host);
        kp_graphics_Init();
        kp_graphics_SetGraphicsDevice(device.Get());
    }

    // The collector frees what the test let go of while its context is still current.
    void TearDown() override {
        device = nullptr;
        gc_collect();
    }

    void OpenWindow() {
        host.SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);
        kp_app_Init(&host);
        kp_app_ValidateDeviceWindow(false);
        ASSERT_EQ(kp_app_DeviceWidth(), kWidth);
    }

    // Starts a frame cleared to a colour, as the delegate's render pass does.
    void Begin(float r, float g, float b) {
        device->BeginRender();
        kp_graphics_BeginRender();
        device->Cls(r, g, b);
    }

    // Ends the frame, reads the window back and saves it as <name>.png.
    void End(const std::string& name) {
        kp_graphics_EndRender();
        device->EndRender();
        pixels = Array<int>(kWidth * kHeight);
        device->ReadPixels(pixels, 0, 0, kWidth, kHeight, 0, kWidth);
        std::vector<unsigned char> rgb;
        for (int p : pixels) {
            const auto v = static_cast<uint32_t>(p);
            rgb.insert(rgb.end(), {static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 8),
                                   static_cast<unsigned char>(v)});
        }
        const std::string path = std::string(QUORLIX_GL_SHOTS) + "/" + name + ".png";
        stbi_write_png(path.c_str(), kWidth, kHeight, 3, rgb.data(), kWidth * 3);
    }

    Rgb At(int x, int y) const {
        const auto v = static_cast<uint32_t>(pixels[y * kWidth + x]);
        return {static_cast<int>((v >> 16) & 255), static_cast<int>((v >> 8) & 255), static_cast<int>(v & 255)};
    }

    static ::testing::AssertionResult Near(Rgb got, Rgb want, int tolerance = 2) {
        if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
            std::abs(got.b - want.b) <= tolerance) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "got " << got.r << "," << got.g << "," << got.b << " want " << want.r
                                             << "," << want.g << "," << want.b;
    }

    // A PNG of w x h RGBA pixels in a temporary folder.
    static std::string WritePng(const std::string& name, int w, int h, const std::vector<unsigned char>& rgba) {
        const auto dir = std::filesystem::temp_directory_path() / ("quorlix-gl-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        const std::string path = (dir / name).string();
        stbi_write_png(path.c_str(), w, h, 4, rgba.data(), w * 4);
        return path;
    }

    // Two 8 x 8 frames side by side: frame 0 red; frame 1 green on its left half, blue on its right.
    static std::string TwoFrameSheet() {
        std::vector<unsigned char> rgba;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (x < 8) rgba.insert(rgba.end(), {255, 0, 0, 255});
                else if (x < 12) rgba.insert(rgba.end(), {0, 255, 0, 255});
                else rgba.insert(rgba.end(), {0, 0, 255, 255});
            }
        }
        return WritePng("frames.png", 16, 8, rgba);
    }

    KpGlfwGame host;
    StrongRef<hwGraphics> device;
    Array<int> pixels;
};

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

    const int before = glfwGraphicsSeq;
    OpenWindow();  // a new window and with it a new GL context: the old texture is gone
    ASSERT_GT(glfwGraphicsSeq, before);
    Begin(0, 0, 0);
    kp_graphics_DrawImage2(image.Get(), 10, 10, 0, 4, 4, 1);
    End("texture_after");
    EXPECT_TRUE(Near(At(12, 20), {0, 255, 0}));
    EXPECT_TRUE(Near(At(38, 20), {0, 0, 255}));
    EXPECT_EQ(image->m_surface->seq, glfwGraphicsSeq);
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
