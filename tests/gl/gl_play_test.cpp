// The play screen through real OpenGL (Mesa under Xvfb): the application, loaded with the build tree's generated
// art, plays the tutorial in a real window at 640 x 480 and at 1280 x 1024, and its own render pass draws it.
// The pictures (light and dark schemes with a selection and the hint marker, and the finishing panel) are kept
// beside this program for a person to look at; the checks read the letters, markers and panel back.
#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/app/app.h"
#include "framework/audio/audio.h"
#include "framework/graphics/graphics.h"
#include "framework/input/input.h"
#include "framework/random/random.h"
#include "game/catalogue/getaword.h"
#include "game/myapp.h"
#include "game/search.h"
#include "tests/support/build_tree_host.h"
#include "tests/support/play_fixture.h"

namespace {

struct Rgb {
    int r, g, b;
};

// The application in a real window with real devices (OpenAL on its silent driver), in a folder of its own.
class GlApp : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(glfw2::Init()) << "no display"; }

    GlApp() {
        char pattern[] = "/tmp/quorlix-gl-XXXXXX";
        folder = mkdtemp(pattern);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder);
    }
    ~GlApp() override {
        app = nullptr;
        input = nullptr;
        device = nullptr;
        gc_collect();
        kp_audio_SetAudioDevice(nullptr);
        audio = nullptr;
        gc_collect();
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }

    // Opens the window at a size and starts the application in it, loaded and in the menu's state.
    void Start(int width, int height) {
        host.SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, false);
        kp_app_Init(&host);
        kp_random_Init();
        kp_Search_Init();
        kp_GetAWordFunc_Init();
        kp_app_ValidateDeviceWindow(false);
        device = MakeRef<hwGraphics>(&host);
        kp_graphics_Init();
        kp_graphics_SetGraphicsDevice(device.Get());
        audio = MakeRef<hwAudio>();
        kp_audio_SetAudioDevice(audio.Get());
        input = MakeRef<c_InputDevice>();
        kp_input_SetInputDevice(input.Get());
        app = MakeRef<c_MyApp>();
        app->p_OnCreate();
        Render();
        while (app->m_loadStep > 0) Update();
    }

    void Update() {
        kp_app_ValidateDeviceWindow(false);
        input->p_BeginUpdate();
        app->p_OnUpdate();
        input->p_EndUpdate();
    }
    void Render() {
        kp_app_ValidateDeviceWindow(false);
        device->BeginRender();
        kp_graphics_BeginRender();
        app->p_OnRender();
        kp_graphics_EndRender();
        device->EndRender();
    }
    void Press(int code) { input->p_KeyEvent(KpEventKeyDown, code); }
    void Release(int code) { input->p_KeyEvent(KpEventKeyUp, code); }
    void MouseDown(float x, float y) { input->p_MouseEvent(KpEventMouseDown, 0, x, y); }
    void MouseUp() { input->p_MouseEvent(KpEventMouseUp, 0, 0, 0); }

    // Renders the frame, reads the window back and keeps it as <name>.png.
    void Shot(const std::string& name) {
        Render();
        width = kp_app_DeviceWidth(), height = kp_app_DeviceHeight();
        pixels = Array<int>(width * height);
        device->ReadPixels(pixels, 0, 0, width, height, 0, width);
        std::vector<unsigned char> rgb;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const Rgb p = At(x, y);
                rgb.insert(rgb.end(), {static_cast<unsigned char>(p.r), static_cast<unsigned char>(p.g),
                                       static_cast<unsigned char>(p.b)});
            }
        }
        const std::string path = std::string(QUORLIX_GL_SHOTS) + "/" + name + ".png";
        stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3);
    }
    Rgb At(int x, int y) const {
        const auto v = static_cast<uint32_t>(pixels[y * width + x]);
        return {static_cast<int>((v >> 16) & 255), static_cast<int>((v >> 8) & 255), static_cast<int>(v & 255)};
    }
    template <class Accept>
    int Count(int x0, int y0, int x1, int y1, Accept accept) const {
        int n = 0;
        for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
            for (int x = std::max(x0, 0); x < std::min(x1, width); ++x) n += accept(At(x, y)) ? 1 : 0;
        return n;
    }

    BuildTreeHost host;
    StrongRef<hwGraphics> device;
    StrongRef<hwAudio> audio;
    StrongRef<c_InputDevice> input;
    StrongRef<c_MyApp> app;
    Array<int> pixels;
    int width = 0, height = 0;
    std::string folder;
    std::filesystem::path previous;
};

class PlayGl : public PuzzlePlayer<GlApp> {
protected:
    void Frame() override { Update(); }
    void PadButton(int, bool) override { FAIL() << "no pad in a real window"; }

    // Plays the tutorial's first word in, then starts a selection elsewhere and stops it half grown.
    void ShowSelectionAndHint(bool dark, const std::string& name) {
        if (dark) {
            Press(67);  // C: the dark scheme
            Frame();
            Release(67);
        }
        ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
        const Placement at = FindWord();
        // A selection two rows below the word's start, running right: it shows while the hint stays clear.
        const int row = at.y <= 9 ? at.y + 3 : at.y - 3;
        auto [px, py] = CellOnScreen(1, row);
        MouseDown(px, py);
        Frame();
        auto [qx, qy] = CellOnScreen(2, row);
        this->input->p_MouseEvent(KpEventMouseMove, -1, qx, qy);
        Frame();
        MouseUp();
        Frames(2);
        ASSERT_EQ(Slot(play::kLength), 3);
        Shot(name);
        const float cs = std::min((kp_Search_jscrw - 32) / 13, (kp_Search_jscrh - 32) / 13) * app->m_scaleX;
        // The markers are orange and yellow at half strength: far warmer than the letters or either background.
        auto warm = [](Rgb p) { return p.r - p.b > 70; };
        // The hint: a warm disc under the word's first letter; the selection: discs along its row (the frame shows
        // it as it stood before this update grew it).
        auto [hx, hy] = CellOnScreen(at.x, at.y);
        EXPECT_GT(Count(int(hx - cs / 2), int(hy - cs / 2), int(hx + cs / 2), int(hy + cs / 2), warm), cs * cs / 8);
        auto [sx, sy] = CellOnScreen(3, row);
        EXPECT_GT(Count(int(sx - cs / 2), int(sy - cs / 2), int(sx + cs / 2), int(sy + cs / 2), warm), cs * cs / 8);
        // Letters: dark ink on the light scheme, white on the dark, in the middle of every cell.
        auto ink = [dark](Rgb p) { return dark ? p.r > 230 && p.g > 230 && p.b > 230 : p.r < 40 && p.g < 40 && p.b < 40; };
        int inked = 0;
        for (int x = 0; x < 13; ++x) {
            auto [cx, cy] = CellOnScreen(x, 12);
            inked += Count(int(cx - cs / 3), int(cy - cs / 3), int(cx + cs / 3), int(cy + cs / 3), ink) > cs ? 1 : 0;
        }
        EXPECT_EQ(inked, 13) << "every letter of the bottom row shows";
        // The grid is centred: between the word list and the word in play, its ink reaches as far either way.
        auto [topX, topY] = CellOnScreen(0, 0);
        auto [endX, endY] = CellOnScreen(12, 12);
        int first = width, last = -1;
        for (int y = int(topY - cs / 2); y < int(endY + cs / 2); ++y) {
            for (int x = int(width * 0.16); x < int(width * 0.86); ++x) {
                if (!ink(At(x, y))) continue;
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
        EXPECT_NEAR((first + last) / 2.0, width / 2.0, cs / 4) << "ink from " << first << " to " << last;
        (void)topX, (void)endX;
    }
};

TEST_F(PlayGl, TheTutorialAt640x480InBothSchemes) {
    Start(640, 480);
    StartPuzzle(1);
    ShowSelectionAndHint(false, "play_light_640x480");
    StartPuzzle(1);
    ShowSelectionAndHint(true, "play_dark_640x480");
}

TEST_F(PlayGl, TheTutorialAt1280x1024InBothSchemes) {
    Start(1280, 1024);
    ASSERT_EQ(app->m_hdLevel, 4);
    StartPuzzle(1);
    ShowSelectionAndHint(false, "play_light_1280x1024");
    StartPuzzle(1);
    ShowSelectionAndHint(true, "play_dark_1280x1024");
}

TEST_F(PlayGl, TheFinishingPanelAfterTheTutorial) {
    Start(640, 480);
    StartPuzzle(1);
    ASSERT_TRUE(PlayPuzzle(Device::Mouse));
    Frames(40);
    Shot("finishing_panel_640x480");
    // The bands at their full length: yellow from the left at 0.45 of the height, orange from the right at 0.55,
    // each reaching past the middle; the verdict is written over them.
    auto yellow = [](Rgb p) { return p.r > 130 && p.g > 130 && p.b < 80; };
    auto orange = [](Rgb p) { return p.r > 130 && p.g > 50 && p.g < 120 && p.b < 60; };
    EXPECT_GT(Count(0, 210, 140, 222, yellow), 140 * 12 * 9 / 10);
    EXPECT_GT(Count(330, 210, 420, 222, yellow), 90 * 12 * 9 / 10);
    EXPECT_EQ(Count(440, 205, 640, 227, yellow), 0);
    EXPECT_GT(Count(560, 258, 640, 270, orange), 80 * 12 * 9 / 10);
    EXPECT_GT(Count(210, 258, 300, 270, orange), 90 * 12 * 9 / 10);
    // Dimmed to 0.7: the pale play background is now dark.
    EXPECT_LT(At(320, 400).r, 100);
}

}  // namespace
