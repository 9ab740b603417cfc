// CPU time of one render replay of the draw list, and the draw calls it costs, through the recording OpenGL
// stand-in (so the figures are ours alone: batching, transforming and colouring, not the driver's): a play-shaped
// frame, a full list, and the loading screen with the build tree's art.
// Depends on the game (c_MyApp's draw list and loading screen), the graphics module, the scripted GLFW backend,
// the build-tree data host of the tests and the recorder.
#include <benchmark/benchmark.h>

#include "framework/app/app.h"
#include "framework/graphics/graphics.h"
#include "game/myapp.h"
#include "game/search.h"
#include "tests/support/build_tree_host.h"
#include "tests/support/fake_glfw.h"
#include "tests/support/gl_recorder.h"

namespace {

constexpr int kGlyphSlot = 1, kTextSlot = 2, kStarSlot = 3;

// A 640 by 480 window in memory, the device and the drawing API, and an application object to record into.
struct Scene {
    ScopedFakeGlfw glfw;
    BuildTreeHost host;
    StrongRef<hwGraphics> device;
    c_MyApp app;

    Scene() {
        glrec::Reset();
        glrec::Gl().log = false;  // count only: a real driver keeps no log either
        host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        device = MakeRef<hwGraphics>(&host);
        kp_graphics_Init();
        kp_graphics_SetGraphicsDevice(device.Get());
        kp_app_Init(&host);
        kp_app__devWidth = 640;
        kp_app__devHeight = 480;
        app.m_images[kGlyphSlot] = kp_graphics_CreateImage(32, 32, 128, ImageMidHandle);
        app.m_images[kTextSlot] = kp_graphics_CreateImage(16, 16, 128, ImageMidHandle);
        app.m_images[kStarSlot] = kp_graphics_CreateImage(8, 8, 256, ImageMidHandle);
        app.m_scaleX = app.m_scaleY = 1.0f;
        app.m_imageScale = 1.0f;
    }

    // One render pass as p_OnRender runs it.
    void Render() {
        device->BeginRender();
        kp_graphics_BeginRender();
        app.p_ClearScreen();
        app.p_ReplayDrawList(0, 0);
        app.p_EndRenderState();
        kp_graphics_EndRender();
        device->EndRender();
    }
};

// A play frame: stars (additive, turning), panels, the selection ovals, the 13 x 13 grid and some text.
void RecordPlayFrame(c_MyApp& app) {
    app.p_CLS2D(10, 10, 30, 1);
    app.m_drawBlend = 3;
    for (int i = 0; i < 101; ++i) {
        app.p_SetRot(static_cast<float>(i * 7));
        app.p_Alpha(0.3f + static_cast<float>(i % 7) * 0.1f);
        app.p_DrawImg(kStarSlot, static_cast<float>((i * 37) % 640), static_cast<float>((i * 53) % 480),
                      static_cast<float>(i % 16));
    }
    app.p_ResetDraw();
    app.p_SetCol(0, 0, 0, 0.5f);
    app.p_Rect(100, 20, 440, 440);
    app.p_Rect(0, 0, 640, 16);
    app.p_Rect(540, 40, 90, 300);
    app.p_Ink(5, 1);
    for (int i = 0; i < 12; ++i) app.p_Oval(130 + static_cast<float>(i) * 32, 250, 15, 15);
    app.p_ResetDraw();
    for (int row = 0; row < 13; ++row) {
        for (int col = 0; col < 13; ++col) {
            app.p_Ink(row == 6 ? 3 : 9, 1);
            app.p_DrawImg(kGlyphSlot, 120 + static_cast<float>(col) * 32, 40 + static_cast<float>(row) * 32,
                          static_cast<float>(33 + (row * 13 + col) % 26));
        }
    }
    app.p_ResetDraw();
    app.p_SetSize(0.75f, -3717);
    for (int i = 0; i < 40; ++i) app.p_DrawImg(kTextSlot, 545 + static_cast<float>(i % 8) * 10, 50 + static_cast<float>(i / 8) * 16, static_cast<float>(33 + i % 26));
}

void RecordFullList(c_MyApp& app) {
    app.p_CLS2D(0, 0, 0, 1);
    for (int i = 0; i < 3000; ++i) {
        app.p_SetCol(static_cast<float>(i % 255), 128, 255, 1);
        app.p_DrawImg(kStarSlot, static_cast<float>(i % 640), static_cast<float>(i % 480), static_cast<float>(i % 256));
    }
}

// The loading screen after its first step, as the 640 by 480 window shows it: 33 dots, the logo and a line of text.
void RecordLoadingScreen(c_MyApp& app) {
    kp_Search_Init();
    app.p_FitScreen(640, 480);
    app.p_Reload();
    app.p_WaitStart(1);
}

void RunReplay(benchmark::State& state, void (*record)(c_MyApp&)) {
    Scene scene;
    record(scene.app);
    scene.Render();  // textures made, state settled
    glrec::ClearLog();
    for (auto _ : state) scene.Render();
    const double frames = static_cast<double>(state.iterations());
    state.counters["draw_calls"] = static_cast<double>(glrec::Gl().drawCalls) / frames;
    state.counters["gl_calls"] = static_cast<double>(glrec::Gl().totalCalls) / frames;
    state.counters["records"] = scene.app.m_drawCount / 15;
}

void BM_ReplayPlayFrame(benchmark::State& state) { RunReplay(state, RecordPlayFrame); }
void BM_ReplayFullList(benchmark::State& state) { RunReplay(state, RecordFullList); }
void BM_ReplayLoadingScreen(benchmark::State& state) { RunReplay(state, RecordLoadingScreen); }

BENCHMARK(BM_ReplayPlayFrame);
BENCHMARK(BM_ReplayFullList);
BENCHMARK(BM_ReplayLoadingScreen);

}  // namespace
