// A graphics device over the recording OpenGL stand-in, with a 640 by 480 window that exists only in memory.
// Depends on the scripted GLFW backend, the host (KpGlfwGame opens the window and counts GL contexts) and the
// recorder. Each test starts inside a render pass with an empty call log, and ends with a collector step.
#pragma once

#include <gtest/gtest.h>

#include "framework/graphics/graphics.h"
#include "host/desktop/glfwgame.h"
#include "tests/support/fake_glfw.h"
#include "tests/support/gl_recorder.h"

class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        glrec::Reset();
        host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        device = MakeRef<hwGraphics>(&host);
        device->BeginRender();
        glrec::ClearLog();
    }

    // Drops the device and runs the collector, so objects a test let go of are really freed.
    void TearDown() override {
        device = nullptr;
        gc_collect();
    }

    // Ends the pass so whatever is batched reaches the recorder.
    void Finish() { device->EndRender(); }

    ScopedFakeGlfw glfw;
    KpGlfwGame host;
    StrongRef<hwGraphics> device;
};
