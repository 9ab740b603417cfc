// RealGlTest: the graphics device and drawing API on a real window (Mesa's software renderer under Xvfb), each
// frame read back and saved beside the test program (QUORLIX_GL_SHOTS) for a person to look at.
// Depends on GLFW through the host, the framework's graphics and app modules, and stb_image_write.
#pragma once

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/app/app.h"
#include "framework/graphics/graphics.h"
#include "host/desktop/glfwgame.h"
#include "tests/support/scratch.h"

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
        const std::string path = scratch::File(name);
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
