// The real window under a virtual X display: the starting window, a fullscreen toggle and back, and the window
// size answered from what GLFW reported rather than asked of the X server.
#include <gtest/gtest.h>

#include "host/desktop/glfwgame.h"

// NOTE: after GoogleTest, whose names Xlib's macros (None, Bool) would otherwise rewrite.
#include <GLFW/glfw3.h>
#include <X11/Xlib.h>  // XNextRequest counts the requests sent on GLFW's connection

// GLFW's own X connection and window. NOTE: declared here rather than through glfw3native.h, whose X11 part
// wants the XRandR development headers for types these two do not use.
extern "C" Display* glfwGetX11Display(void);
extern "C" Window glfwGetX11Window(GLFWwindow* window);

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
    const int seq = kpGraphicsSeq;
    game.SetGlfwWindow(desktop.width, desktop.height, desktop.red, desktop.green, desktop.blue, 0, 0, 0, true);
    EXPECT_EQ(kpGraphicsSeq, seq + 1);
    EXPECT_TRUE(SettlesAt(game, 1280, 1024));

    game.SetGlfwWindow(640, 480, desktop.red, desktop.green, desktop.blue, 0, 0, 0, false);
    EXPECT_TRUE(SettlesAt(game, 640, 480));
    glfw2::GetWindowPos(&x, &y);
    EXPECT_EQ(x, 320);
    EXPECT_EQ(y, 272);
    // NOTE: GLFW is not terminated: that unloads the GL driver, whose own allocations would then show up in a
    // sanitizer build as leaks of an unknown module.
}

TEST(RealWindow, TheSizeCostsTheServerNothingAndFollowsAResize) {
    ASSERT_TRUE(glfw2::Init());
    KpGlfwGame game;
    Idle idle;
    game.SetDelegate(&idle);
    game.StartGame();
    game.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    ASSERT_TRUE(SettlesAt(game, 640, 480));

    // A frame asks for the size several times; none of those may become an X request (each a round trip).
    Display* display = glfwGetX11Display();
    const unsigned long next = XNextRequest(display);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(game.GetDeviceWidth(), 640);
        EXPECT_EQ(game.GetDeviceHeight(), 480);
    }
    EXPECT_EQ(XNextRequest(display), next) << "the size was asked of the X server";

    // A resize by someone else is seen once the event pump has run.
    XResizeWindow(display, glfwGetX11Window(glfwGetCurrentContext()), 800, 600);
    XFlush(display);
    EXPECT_TRUE(SettlesAt(game, 800, 600));
}

}  // namespace
