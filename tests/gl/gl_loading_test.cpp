// The loading screen through real OpenGL (Mesa under Xvfb): the application records it with the generated art
// of the build tree, its own render pass draws it into a 640 x 480 window, and the framebuffer is read back.
// The picture is kept as loading_screen.png beside this program for a person to look at.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cmath>
#include <string>
#include <vector>

#include "framework/app/app.h"
#include "framework/graphics/graphics.h"
#include "game/myapp.h"
#include "game/search.h"
#include "tests/support/build_tree_host.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;

struct Rgb {
    int r, g, b;
};

class LoadingScreenGl : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(glfw2::Init()) << "no display"; }

    void SetUp() override {
        host.SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);
        kp_app_Init(&host);
        kp_app_ValidateDeviceWindow(false);
        kp_Search_Init();
        device = MakeRef<hwGraphics>(&host);
        kp_graphics_Init();
        kp_graphics_SetGraphicsDevice(device.Get());
        app = MakeRef<c_MyApp>();
        app->m_lastDevWidth = kWidth;
        app->m_lastDevHeight = kHeight;
    }
    void TearDown() override {
        app = nullptr;
        device = nullptr;
        gc_collect();
    }

    // One render pass as the delegate runs it; the window is then read back and saved as <name>.png.
    void RenderAndRead(const std::string& name) {
        device->BeginRender();
        kp_graphics_BeginRender();
        app->p_OnRender();
        kp_graphics_EndRender();
        device->EndRender();
        pixels = Array<int>(kWidth * kHeight);
        device->ReadPixels(pixels, 0, 0, kWidth, kHeight, 0, kWidth);
        std::vector<unsigned char> rgb;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const Rgb p = At(x, y);
                rgb.insert(rgb.end(), {static_cast<unsigned char>(p.r), static_cast<unsigned char>(p.g),
                                       static_cast<unsigned char>(p.b)});
            }
        const std::string path = std::string(QUORLIX_GL_SHOTS) + "/" + name + ".png";
        stbi_write_png(path.c_str(), kWidth, kHeight, 3, rgb.data(), kWidth * 3);
    }

    Rgb At(int x, int y) const {
        const auto v = static_cast<uint32_t>(pixels[y * kWidth + x]);
        return {static_cast<int>((v >> 16) & 255), static_cast<int>((v >> 8) & 255), static_cast<int>(v & 255)};
    }
    // Pixels of the box [x0, x1) x [y0, y1) that the test accepts.
    template <class Accept>
    int Count(int x0, int y0, int x1, int y1, Accept accept) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += accept(At(x, y)) ? 1 : 0;
        return n;
    }
    // The centre of dot i of a ring (start angle, reach) after the first loading update turned the rings 3 degrees.
    static std::pair<int, int> Dot(int start, double reach, int i) {
        const double a = (3 + start + 4 * i) * M_PI / 180;
        return {static_cast<int>(std::lround(320 + std::sin(a) * reach * 480)),
                static_cast<int>(std::lround(240 - std::cos(a) * reach * 480))};
    }
    static bool Near(Rgb got, Rgb want, int tolerance = 3) {
        return std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
               std::abs(got.b - want.b) <= tolerance;
    }

    BuildTreeHost host;
    StrongRef<hwGraphics> device;
    StrongRef<c_MyApp> app;
    Array<int> pixels;
};

TEST_F(LoadingScreenGl, ShowsThreeRingsOfDotsTheMakersLogoAndLoading) {
    app->p_Reload();
    app->p_WaitStart(1);
    RenderAndRead("loading_screen");
    ASSERT_EQ(app->m_hdLevel, 2) << "the 640 x 480 window loads the -hd art";

    // The last dot of each ring is opaque in its ring's colour; the first is all but invisible.
    const Rgb blue{0, 125, 255}, orange{255, 125, 0};
    auto [ox, oy] = Dot(0, 0.45, 10);
    EXPECT_TRUE(Near(At(ox, oy), blue));
    EXPECT_TRUE(Near(At(ox + 14, oy), blue)) << "outer dots have radius 16";
    auto [mx, my] = Dot(120, 0.40, 10);
    EXPECT_TRUE(Near(At(mx, my), orange));
    EXPECT_TRUE(Near(At(mx + 10, my), orange)) << "middle dots have radius 12";
    EXPECT_FALSE(Near(At(mx + 14, my), orange));
    auto [ix, iy] = Dot(240, 0.35, 10);
    EXPECT_TRUE(Near(At(ix, iy), orange));
    EXPECT_FALSE(Near(At(ix + 10, iy), orange)) << "inner dots have radius 8";
    auto [fx, fy] = Dot(0, 0.45, 0);
    EXPECT_LT(At(fx, fy).b, 80) << "the first outer dot has faded out";

    // The maker's logo: a round badge of deep blue with a cream rim, centred at (320, 230), about 240 across.
    const int badgeBlue = Count(260, 170, 380, 290, [](Rgb p) { return p.b > 80 && p.b > p.r + 40; });
    EXPECT_GT(badgeBlue, 2000);
    const int cream = Count(180, 90, 460, 370, [](Rgb p) { return p.r > 200 && p.g > 190 && p.b > 150; });
    EXPECT_GT(cream, 1000);
    EXPECT_TRUE(Near(At(320, 30), {0, 0, 0})) << "nothing but the rings outside the badge";

    // "Loading..." in white, centred on x 320 at y 448; nothing of it left of x 270 or right of x 370.
    auto white = [](Rgb p) { return p.r > 230 && p.g > 230 && p.b > 230; };
    EXPECT_GT(Count(280, 440, 360, 456, white), 60);
    EXPECT_EQ(Count(0, 436, 270, 460, white), 0);
    EXPECT_EQ(Count(370, 436, 640, 460, white), 0);
}

}  // namespace
