// A key held while the window is re-opened, on a real window under a virtual X display, typed with xdotool's
// XTest keys: the game gets exactly one key-up for it, and no key-down from the keyboard's repeat afterwards; once
// let go of (whether or not the new window saw it repeat), the next press of it arrives as usual.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xlib.h>  // the keyboard's repeat and the focus, which xdotool cannot set

#include "host/desktop/glfwgame.h"

namespace {

// Remembers the key events the host delivers.
struct Keys : KpGameDelegate {
    void KeyEvent(int event, int data) override {
        if (data == 13 && (event == KpEventKeyDown || event == KpEventKeyUp)) events.push_back(event);
    }
    std::vector<int> events;
};

class HeldKey : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(glfw2::Init()); }

    void SetUp() override {
        game.SetDelegate(&keys);
        game.StartGame();
        Open();
    }
    // Opens (or re-opens) the 640 x 480 window and gives it the focus, as a window manager would.
    void Open() {
        game.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        Pump(0.2);
        ASSERT_EQ(std::system("xdotool windowfocus --sync $(xdotool search --onlyvisible --name '^Quorlix$' | tail -n1)"), 0);
        Pump(0.1);
    }
    // Runs the event pump for a while, as the frame loop does.
    void Pump(double seconds) {
        for (double t = 0; t < seconds; t += 0.01) {
            glfw2::SwapBuffers();
            game.UpdateEvents();
            glfw2::Sleep(0.01);
        }
    }
    static void Xdotool(const std::string& args) { ASSERT_EQ(std::system(("xdotool " + args).c_str()), 0); }
    int Count(int event) const { return static_cast<int>(std::count(keys.events.begin(), keys.events.end(), event)); }

    KpGlfwGame game;
    Keys keys;
};

TEST_F(HeldKey, RepeatsAfterAReopeningAreNotANewPressAndTheNextPressIs) {
    Xdotool("keydown Return");
    Pump(0.2);
    ASSERT_EQ(Count(KpEventKeyDown), 1);
    Open();
    EXPECT_EQ(Count(KpEventKeyUp), 1) << "one key-up as the window changes";
    Pump(1.5);  // the keyboard repeats after 660 ms, 25 times a second
    EXPECT_EQ(Count(KpEventKeyDown), 1) << "no key-down from the repeat";
    Xdotool("keyup Return");
    Pump(0.2);
    Xdotool("keydown Return");
    Pump(0.2);
    Xdotool("keyup Return");
    Pump(0.2);
    EXPECT_EQ(Count(KpEventKeyDown), 2) << "a fresh press after letting go";
}

TEST_F(HeldKey, AKeyLetGoBeforeItRepeatsIsPressedAgainAsUsual) {
    Xdotool("keydown Return");
    Pump(0.2);
    Open();
    Xdotool("keyup Return");  // before the repeat's first 660 ms: the new window never sees it
    Pump(0.3);
    Xdotool("keydown Return");
    Pump(0.2);
    Xdotool("keyup Return");
    Pump(0.2);
    EXPECT_EQ(Count(KpEventKeyDown), 2);
}

// The new window's first repeat of the hold comes to it as a press, since it never saw the key go down. Let go of
// while the game is busy (no events read), that repeat waits in the queue just ahead of the release.
TEST_F(HeldKey, AKeyLetGoJustAfterItBeganToRepeatWhileTheGameWasBusyIsNotPressedTwice) {
    const auto pressed = std::chrono::steady_clock::now();
    Xdotool("keydown Return");
    Pump(0.2);
    Open();
    // The keyboard's first repeat comes 660 ms after the press; let go of 100 ms after that, with no events read.
    std::this_thread::sleep_until(pressed + std::chrono::milliseconds(760));
    Xdotool("keyup Return");
    Pump(0.3);
    EXPECT_EQ(Count(KpEventKeyDown), 1) << "the repeat is not a new press";
    Xdotool("keydown Return");
    Pump(0.2);
    Xdotool("keyup Return");
    Pump(0.2);
    EXPECT_EQ(Count(KpEventKeyDown), 2) << "a fresh press after letting go";
}

// F11 re-opens the window as a fullscreen one, which takes no focus of its own, so the game waits suspended for
// events; the key is let go of meanwhile. A while later the window is given the focus and the key is pressed at
// once: that press comes in one batch with the focus and must not be taken for a stale repeat of the old hold.
TEST_F(HeldKey, AKeyLetGoWhileTheGameWaitsSuspendedIsPressedAgainAsUsual) {
    // The keyboard does not repeat here (a repeat reaching the new window would end the hold there), and while
    // the key is let go of no window has the focus, so the game's own has no event to wake it.
    struct NoRepeat {
        Display* x = XOpenDisplay(nullptr);
        NoRepeat() {
            XAutoRepeatOff(x);
            XSync(x, False);
        }
        ~NoRepeat() {
            XAutoRepeatOn(x);
            XCloseDisplay(x);
        }
    } keyboard;
    Xdotool("keydown Return");
    Pump(0.2);
    game.SetGlfwWindow(1280, 1024, 8, 8, 8, 0, 0, 0, true);
    Pump(0.2);
    ASSERT_TRUE(game.Suspended()) << "the fullscreen window took the focus";
    XSetInputFocus(keyboard.x, None, RevertToNone, CurrentTime);
    XSync(keyboard.x, False);
    Pump(0.2);
    Xdotool("keyup Return");
    ASSERT_EQ(std::system("(sleep 0.5; xdotool windowfocus $(xdotool search --onlyvisible --class GLFW-Application | "
                          "tail -n1) key Return) &"),
              0);
    Pump(1.2);
    EXPECT_EQ(Count(KpEventKeyDown), 2) << "the press that came with the focus";
}

}  // namespace
