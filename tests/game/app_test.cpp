// The application object's shell: start values, the system keys, pointer and touch slots, the latches, the
// order and gating of each update, the fitting of the virtual screen, and suspend and resume.
#include "tests/support/app_fixture.h"

namespace {

using App = AppFixture;

TEST_F(App, CreationStartsInTheMenuAtSixtyUpdatesWithDefaultSettings) {
    OpenWindow(640, 480);
    ::testing::internal::CaptureStdout();
    app->p_OnCreate();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Highscores Loaded\n") << "a first start finds no record";
    EXPECT_EQ(app->m_state, 1);
    EXPECT_EQ(kp_app_UpdateRate(), 60);
    EXPECT_EQ(host.UpdateRate(), 60);
    EXPECT_EQ(app->m_lastDevWidth, 640);
    EXPECT_EQ(app->m_gameNum, 2);
    EXPECT_EQ(app->m_menuSlide, -32);
    EXPECT_EQ(app->m_pauseChoice, -1);
    EXPECT_EQ(app->m_pausePanelY, -64);
    EXPECT_EQ(app->m_settings[5], 1);
    EXPECT_EQ(app->m_settings[12], 10);
    EXPECT_EQ(app->m_settings[14], 1);
    EXPECT_EQ(app->m_menuSel, 0) << "the record's last group (0 on a first start) wins over the start value";
    EXPECT_EQ(app->m_menuFocus, 1);
    EXPECT_EQ(app->m_starCount, 100);
}

TEST_F(App, FitsTheDesignScreenToTheWindow) {
    app->p_FitScreen(1280, 720);
    EXPECT_FLOAT_EQ(app->m_scaleX, 2.0f);
    EXPECT_FLOAT_EQ(app->m_scaleY, 2.0f);
    EXPECT_FLOAT_EQ(kp_Search_jscrw, 640.0f);
    EXPECT_FLOAT_EQ(kp_Search_jscrh, 360.0f);
    EXPECT_EQ(app->m_landscape, 1);

    app->p_FitScreen(800, 600);
    EXPECT_FLOAT_EQ(app->m_scaleX, 1.25f);
    EXPECT_FLOAT_EQ(kp_Search_jscrw, 640.0f);
    EXPECT_FLOAT_EQ(kp_Search_jscrh, 480.0f);

    app->p_FitScreen(480, 800);  // taller than wide: f = 1.5, the height fits
    EXPECT_NEAR(app->m_scaleY, 800.0f / 720.0f, 1e-5);
    EXPECT_FLOAT_EQ(kp_Search_jscrw, 432.0f);
    EXPECT_FLOAT_EQ(kp_Search_jscrh, 720.0f);
    EXPECT_EQ(app->m_landscape, 0);
}

TEST_F(App, AZeroSizedWindowKeepsTheLastFitting) {
    app->p_FitScreen(1280, 720);
    app->p_FitScreen(0, 720);
    app->p_FitScreen(1280, 0);
    EXPECT_FLOAT_EQ(app->m_scaleX, 2.0f);
    EXPECT_FLOAT_EQ(kp_Search_jscrh, 360.0f);
    OpenWindow(640, 480);
    fake.width = fake.height = 0;  // minimised
    input->p_MouseEvent(KpEventMouseMove, -1, 100, 100);
    Render();
    Update();
    EXPECT_EQ(app->m_mouseX, 50) << "still converted with the last scale";
}

TEST_F(App, PointerAndTouchesAreConvertedToVirtualUnits) {
    OpenWindow(1280, 720);
    Render();  // fitting: scale 2
    MouseDown(300, 200);
    Update();
    EXPECT_EQ(app->m_mouseX, 150);
    EXPECT_EQ(app->m_mouseY, 100);
    EXPECT_EQ(app->m_pointerDown, 1);
    EXPECT_EQ(app->m_touchDown[0], 1) << "the left button is the first touch";
    EXPECT_EQ(app->m_touchX[0], 150);
    for (int i = 1; i < 10; ++i) {
        EXPECT_EQ(app->m_touchDown[i], 0);
        EXPECT_EQ(app->m_touchX[i], -3717);
        EXPECT_EQ(app->m_touchY[i], -3717);
    }
    input->p_TouchEvent(KpEventTouchDown, 3, 40, 60);
    MouseUp();
    Update();
    EXPECT_EQ(app->m_pointerDown, 1) << "any held touch holds the pointer";
    EXPECT_EQ(app->m_touchX[3], 20);
    EXPECT_EQ(app->m_touchY[3], 30);
    EXPECT_EQ(app->m_touchX[0], -3717);
}

TEST_F(App, PointerLatchClearsOnlyWhenNothingIsPressed) {
    OpenWindow(640, 480);
    Render();
    app->m_pointerLatch = 1;
    MouseDown(10, 10);
    Update();
    EXPECT_EQ(app->m_pointerLatch, 1);
    MouseUp();
    Update();
    EXPECT_EQ(app->m_pointerLatch, 0);
}

TEST_F(App, KeyLatchHoldsWhileAnyControlIsHeld) {
    OpenWindow(640, 480);
    Render();
    app->m_keyLatch = 1;
    Press(90);  // Z: select
    Update();
    EXPECT_EQ(app->m_keyLatch, 1);
    Release(90);
    Press(65);  // A: left
    Update();
    EXPECT_EQ(app->m_keyLatch, 1);
    Release(65);
    Press(81);  // Q: no action
    Update();
    EXPECT_EQ(app->m_keyLatch, 0);
}

TEST_F(App, BackInTheMenuClosesTheSidePanelAndLatches) {
    OpenWindow(640, 480);
    Render();
    app->m_state = 1;
    app->m_sidePanelOpen = 1;
    Press(27);
    Update();
    EXPECT_EQ(app->m_sidePanelOpen, 0);
    EXPECT_EQ(app->m_keyLatch, 1);
    EXPECT_EQ(app->m_pointerLatch, 1);
    // Held on: nothing more (the key latch stays set), and in play the panel rule does not apply.
    app->m_sidePanelOpen = 1;
    Update();
    EXPECT_EQ(app->m_sidePanelOpen, 1);
}

TEST_F(App, AnOpenOptionsBoxSwallowsEveryPress) {
    OpenWindow(640, 480);
    Render();
    app->m_optionsOpen = 1;
    Update();
    EXPECT_EQ(app->m_keyLatch, 1);
    EXPECT_EQ(app->m_pointerLatch, 1);
    for (int i = 0; i < 40; ++i) Update();
    EXPECT_EQ(app->m_optionsSlide, 30) << "slides in one step an update, up to 30";
    app->m_optionsOpen = 0;
    Update();
    EXPECT_EQ(app->m_optionsSlide, 29);
}

TEST_F(App, ReturningToTheMenuHandsOverInTheSameUpdate) {
    OpenWindow(640, 480);
    Render();
    app->m_state = 2;
    Update();
    EXPECT_EQ(app->m_state, 1);
}

TEST_F(App, LoadingHoldsTheScreensButNotTheSystemKeys) {
    OpenWindow(640, 480);
    Render();
    app->m_loadStep = 3;
    app->m_state = 2;
    app->m_optionsOpen = 1;
    app->m_sidePanelOpen = 1;
    Press(113);  // F2
    Update();
    EXPECT_EQ(app->m_state, 2) << "no screen runs while loading";
    EXPECT_EQ(app->m_optionsSlide, 0);
    EXPECT_EQ(app->m_sidePanelX, 0);
    EXPECT_EQ(app->m_debugFlag2, 1);
}

TEST_F(App, SidePanelEasesOpenAndShut) {
    OpenWindow(640, 480);
    Render();
    app->m_sidePanelOpen = 1;
    for (int i = 0; i < 100; ++i) Update();
    EXPECT_FLOAT_EQ(app->m_sidePanelX, 500.0f) << "snaps to the target of jscrw - 140";
    app->m_sidePanelOpen = 0;
    Update();
    EXPECT_FLOAT_EQ(app->m_sidePanelX, 437.5f);
    for (int i = 0; i < 100; ++i) Update();
    EXPECT_FLOAT_EQ(app->m_sidePanelX, 0.0f);
}

TEST_F(App, SystemKeysToggleDebugAndFullscreen) {
    OpenWindow(640, 480);
    Render();
    Press(112);
    Update();
    EXPECT_EQ(kp_Search_DebugMode, 1);
    Release(112);
    Press(112);
    Update();
    EXPECT_EQ(kp_Search_DebugMode, 0);
    Press(122);  // F11
    Update();
    EXPECT_EQ(app->m_fullscreen, 1);
    EXPECT_TRUE(fake.fullscreen);
    EXPECT_EQ(fake.width, 1280);
}

TEST_F(App, F4AndTheCloseKeyQuitWithoutSaving) {
    OpenWindow(640, 480);
    Render();
    // The sound device runs threads of its own: a child forked beside them may find a lock they held.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Press(115);
            Update();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            Press(KpKeyClose);
            Update();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(StateFileExists());
}

TEST_F(App, ChangedWindowSizeRestartsLoading) {
    OpenWindow(640, 480);
    Render();
    EXPECT_EQ(app->m_loadStep, 0);
    fake.width = 800;
    Render();
    EXPECT_EQ(app->m_loadStep, 1);
    EXPECT_EQ(app->m_lastDevWidth, 800);
}

TEST_F(App, FrameRatesKeepTheirFiguresWhenTheClockStandsStill) {
    OpenWindow(640, 480);
    fake.now = 1.0;
    Update();
    fake.now = 1.020;
    Update();
    EXPECT_EQ(app->m_updateFps, 50);
    EXPECT_EQ(app->m_updateFpsAvg, (50 + 9 * (1000 / 1000)) / 10);
    Update();  // the clock has not moved
    EXPECT_EQ(app->m_updateFps, 50);
}

TEST_F(App, SuspendInPlayPausesWithThePanelHalfWayAndSaves) {
    OpenWindow(640, 480);
    Render();
    app->m_state = 10;
    app->p_OnSuspend();
    EXPECT_EQ(app->m_paused, 1);
    EXPECT_EQ(app->m_pauseChoice, 1);
    EXPECT_EQ(app->m_pausePanelY, 240);
    EXPECT_EQ(kp_app_UpdateRate(), 5);
    EXPECT_TRUE(StateFileExists());
    app->p_OnResume();
    EXPECT_EQ(app->m_paused, 1) << "play comes back paused";
    EXPECT_EQ(kp_app_UpdateRate(), 60);
}

TEST_F(App, SuspendInTheMenuDoesNotPause) {
    OpenWindow(640, 480);
    Render();
    app->m_state = 1;
    app->m_paused = 1;
    app->p_OnSuspend();
    EXPECT_EQ(app->m_paused, 0);
    EXPECT_EQ(app->m_pausePanelY, 0);
    EXPECT_TRUE(StateFileExists());
}

}  // namespace
