// GlApp: the application in a real window (Mesa under Xvfb) with real devices: graphics on real OpenGL, OpenAL on
// its silent driver, the input device fed with events; the art is the build tree's, the state file lands in a
// temporary folder of the test's own. Shot() renders a frame, reads it back and keeps it as a PNG beside the test
// program (QUORLIX_GL_SHOTS) for a person to look at, and At()/Count() read its pixels.
#pragma once

#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/build_tree_host.h"
#include "tests/support/game_devices.h"
#include "tests/support/scratch.h"

struct Rgb {
    int r, g, b;
};

class GlApp : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(glfw2::Init()) << "no display"; }

    GlApp() {
        // NOTE: inside the process's scratch folder, so a death test's child, which exits without running
        // this fixture's destructor, leaves nothing behind either.
        std::string pattern = scratch::File("gl-XXXXXX");
        folder = mkdtemp(pattern.data());
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder);
    }
    ~GlApp() override {
        app = nullptr;
        input = nullptr;
        if (devices) devices->Release();
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }

    // Opens the window at a size and starts the application in it, loaded and in the menu's state.
    void Start(int width, int height) {
        host.SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, false);
        devices.emplace(&host);
        input = devices->input;
        app = MakeRef<c_MyApp>();
        app->p_OnCreate();
        Render();
        while (app->m_loadStep > 0) Update();
    }

    void Update() { devices->Update(*app); }
    void Render() { devices->Render(*app); }
    void Press(int code) { input->p_KeyEvent(KpEventKeyDown, code); }
    void Release(int code) { input->p_KeyEvent(KpEventKeyUp, code); }
    void MouseDown(float x, float y) { input->p_MouseEvent(KpEventMouseDown, 0, x, y); }
    void MouseUp() { input->p_MouseEvent(KpEventMouseUp, 0, 0, 0); }

    // Renders the frame, reads the window back and keeps it as <name>.png.
    void Shot(const std::string& name) {
        Render();
        width = kp_app_DeviceWidth(), height = kp_app_DeviceHeight();
        pixels = Array<int>(width * height);
        devices->graphics->ReadPixels(pixels, 0, 0, width, height, 0, width);
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
    std::optional<GameDevices<>> devices;  // made once the window is open
    StrongRef<c_InputDevice> input;          // the devices' input device, as the players drive it
    StrongRef<c_MyApp> app;
    Array<int> pixels;
    int width = 0, height = 0;
    std::string folder;
    std::filesystem::path previous;
};
