// Opening and re-opening the one window: placement, title, hints, swap interval, held keys, the generation
// counter, and the fallback when the window system refuses a window.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "host/desktop/glfwgame.h"
#include "tests/support/fake_glfw.h"

namespace {

struct KeyLog : KpGameDelegate {
    std::vector<std::pair<int, int>> events;  // (event, data)
    void KeyEvent(int event, int data) override { events.emplace_back(event, data); }
};

struct WindowTest : ::testing::Test {
    ScopedFakeGlfw glfw;
    KpGlfwGame game;
    KeyLog log;
    WindowTest() {
        game.SetDelegate(&log);
        game.StartGame();
    }
};

TEST_F(WindowTest, WindowedIsCentredTitledAndResizable) {
    const int seq = kpGraphicsSeq;
    game.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    EXPECT_TRUE(glfw->windowOpen);
    EXPECT_FALSE(glfw->fullscreen);
    EXPECT_EQ(glfw->width, 640);
    EXPECT_EQ(glfw->height, 480);
    EXPECT_EQ(glfw->x, (1280 - 640) / 2);
    EXPECT_EQ(glfw->y, (1024 - 480) / 2);
    EXPECT_EQ(glfw->title, "Quorlix");
    EXPECT_EQ(glfw->hints[glfw2::REFRESH_RATE], 60);
    EXPECT_EQ(glfw->hints[glfw2::WINDOW_NO_RESIZE], 0);
    EXPECT_TRUE(glfw->keyRepeat);
    EXPECT_NE(glfw->keyFun, nullptr);
    EXPECT_NE(glfw->closeFun, nullptr);
    EXPECT_EQ(kpGraphicsSeq, seq + 1);
    EXPECT_EQ(game.GetDeviceWidth(), 640);
    EXPECT_EQ(game.GetDeviceHeight(), 480);
}

TEST_F(WindowTest, FullscreenTakesTheDesktopAndTheWayBackIsCentredAgain) {
    glfw->desktop = {1920, 1080, 8, 8, 8};
    game.SetGlfwWindow(1920, 1080, 8, 8, 8, 0, 0, 0, true);
    EXPECT_TRUE(glfw->fullscreen);
    EXPECT_EQ(glfw->width, 1920);
    EXPECT_EQ(glfw->title, "") << "a fullscreen window gets no title";
    game.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    EXPECT_FALSE(glfw->fullscreen);
    EXPECT_EQ(glfw->x, 640);
    EXPECT_EQ(glfw->y, 300);
    EXPECT_EQ(glfw->windowsOpened, 2);
}

TEST_F(WindowTest, SwapIntervalSurvivesReopeningAndNegativeIsNeverPassed) {
    game.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    EXPECT_EQ(glfw->swapInterval, 1) << "1 from construction, applied after the window opens";
    game.SetSwapInterval(0);
    game.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, true);
    EXPECT_EQ(glfw->swapInterval, 0);
    glfw->swapIntervals.clear();
    game.SetSwapInterval(-1);
    game.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    EXPECT_TRUE(glfw->swapIntervals.empty());
}

TEST_F(WindowTest, HeldKeysAreReleasedOnceBeforeTheNewWindow) {
    game.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    glfw->keysHeld[glfw2::KEY_LEFT] = true;
    glfw->keysHeld['A'] = true;
    glfw->keysHeld[glfw2::KEY_LALT] = true;  // unknown to the game: no event
    glfw->keysHeld[glfw2::KEY_F1 + 10] = true;  // F11
    const int opened = glfw->windowsOpened;
    log.events.clear();
    game.SetGlfwWindow(1280, 1024, 8, 8, 8, 0, 0, 0, true);
    std::vector<std::pair<int, int>> expected{{KpEventKeyUp, 'A'}, {KpEventKeyUp, 122}, {KpEventKeyUp, 37}};
    EXPECT_EQ(log.events, expected);
    EXPECT_EQ(glfw->windowsOpened, opened + 1);
}

TEST_F(WindowTest, RefusedFullscreenFallsBackToTheStartingWindow) {
    glfw->failFullscreen = true;
    game.SetGlfwWindow(1280, 1024, 8, 8, 8, 0, 0, 0, true);
    EXPECT_TRUE(glfw->windowOpen);
    EXPECT_FALSE(glfw->fullscreen);
    EXPECT_EQ(glfw->width, 640);
    EXPECT_EQ(glfw->title, "Quorlix");
}

TEST_F(WindowTest, NoWindowAtAllEndsTheLoopQuietly) {
    glfw->failWindows = true;
    const int seq = kpGraphicsSeq;
    KpGlfwGame fresh;
    KeyLog quiet;
    fresh.SetDelegate(&quiet);
    fresh.Run();
    EXPECT_FALSE(glfw->windowOpen);
    EXPECT_EQ(kpGraphicsSeq, seq) << "no window, no new generation";
}

TEST_F(WindowTest, CloseBoxSendsTheCloseKeyAndKeepsTheWindow) {
    game.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    log.events.clear();
    glfw->ClickClose();
    std::vector<std::pair<int, int>> expected{{KpEventKeyDown, KpKeyClose}, {KpEventKeyUp, KpKeyClose}};
    EXPECT_EQ(log.events, expected);
    EXPECT_TRUE(glfw->windowOpen);
}

TEST_F(WindowTest, DisplayModesComeInTheHostsOrder) {
    glfw->modes = {{800, 600, 8, 8, 8}, {640, 480, 5, 6, 5}, {800, 600, 5, 6, 5}};
    Array<KpDisplayMode> modes = game.GetDisplayModes();
    ASSERT_EQ(modes.Length(), 3);
    EXPECT_EQ(modes[1].width, 640);
    Array<KpGlfwVideoMode> video = game.GetGlfwVideoModes();
    EXPECT_EQ(video[1].green, 5) << "stored as red, green, blue";
    EXPECT_EQ(video[1].blue, 6);
    EXPECT_EQ(game.GetDesktopMode()->width, 1280);
}

}  // namespace
