// The real window under a virtual X display: the starting window, and a fullscreen toggle and back.
#include <gtest/gtest.h>

#include "host/glfwgame.h"

namespace {

struct Idle : KpGameDelegate {};

// Pumps events until the window reports the wanted size (the X server answers asynchronously).
bool SettlesAt(KpGlfwGame& game, int width, int height) {
    for (int i = 0; i < 200; ++i) {
        glfw2::SwapBuffers();
        glfw2::PollEvents();
        if (game.GetDeviceWidth() == width && game.GetDeviceHeight() == height) return true;
        glfw2::Sleep(0.01);
    }
    return false;
}

TEST(RealWindow, FullscreenTakesTheDesktopAndTheWayBackIsTheCentredStartingWindow) {
    ASSERT_TRUE(glfw2::Init());
    KpGlfwGame game;
    Idle idle;
    game.SetDelegate(&idle);
    game.StartGame();

    game.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    ASSERT_TRUE(glfw2::GetWindowParam(glfw2::OPENED));
    EXPECT_TRUE(SettlesAt(game, 640, 480));
    int x = 0, y = 0;
    glfw2::GetWindowPos(&x, &y);
    EXPECT_EQ(x, (1280 - 640) / 2);
    EXPECT_EQ(y, (1024 - 480) / 2);

    const KpGlfwVideoMode desktop = game.GetGlfwDesktopMode();
    EXPECT_EQ(desktop.width, 1280);
    EXPECT_EQ(desktop.height, 1024);
    const int seq = glfwGraphicsSeq;
    game.SetGlfwWindow(desktop.width, desktop.height, desktop.red, desktop.green, desktop.blue, 0, 0, 0, true);
    EXPECT_EQ(glfwGraphicsSeq, seq + 1);
    EXPECT_TRUE(SettlesAt(game, 1280, 1024));

    game.SetGlfwWindow(640, 480, desktop.red, desktop.green, desktop.blue, 0, 0, 0, false);
    EXPECT_TRUE(SettlesAt(game, 640, 480));
    glfw2::GetWindowPos(&x, &y);
    EXPECT_EQ(x, 320);
    EXPECT_EQ(y, 272);
    // NOTE: GLFW is not terminated: that unloads the GL driver, whose own allocations would then show up in a
    // sanitizer build as leaks of an unknown module.
}

}  // namespace
