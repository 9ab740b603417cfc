// The frame loop's schedule under a scripted clock: catch-up, dropped backlog, rate changes, suspension, and the
// guards every callback passes through.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "host/desktop/glfwgame.h"
#include "runtime/object.h"  // gc_ext_new_bytes, which loading moves
#include "tests/support/fake_glfw.h"

namespace {

// A delegate that counts what reaches it and lets a test act inside a callback.
struct RecordingDelegate : KpGameDelegate {
    int starts = 0, updates = 0, renders = 0, suspends = 0, resumes = 0;
    std::vector<double> updateTimes;
    std::function<void()> onStart, onUpdate, onRender;
    FakeGlfw* glfw = nullptr;

    void StartGame() override {
        ++starts;
        if (onStart) onStart();
    }
    void UpdateGame() override {
        ++updates;
        updateTimes.push_back(glfw->now);
        if (onUpdate) onUpdate();
    }
    void RenderGame() override {
        ++renders;
        if (onRender) onRender();
    }
    void SuspendGame() override { ++suspends; }
    void ResumeGame() override { ++resumes; }
};

struct LoopTest : ::testing::Test {
    ScopedFakeGlfw glfw;
    KpGlfwGame game;
    RecordingDelegate delegate;

    LoopTest() {
        delegate.glfw = &glfw.fake;
        game.SetDelegate(&delegate);
    }
    // Runs the loop until the clock passes seconds, then closes the window.
    void RunFor(double seconds) {
        auto previous = glfw->onEvents;
        glfw->onEvents = [=](FakeGlfw& fake) {
            if (previous) previous(fake);
            if (fake.now >= seconds) fake.windowOpen = false;
        };
        game.Run();
    }
};

TEST_F(LoopTest, SlowRendersGiveAboutTwentyFiveUpdatesPerSecond) {
    delegate.onStart = [&] { game.SetUpdateRate(60); };
    delegate.onRender = [&] { glfw->now += 0.100; };
    RunFor(10.0);
    // Frames alternate between four updates (then the backlog is dropped) and one on the restarted schedule.
    EXPECT_NEAR(delegate.updates / 10.0, 25.0, 1.0);
    EXPECT_NEAR(static_cast<double>(delegate.updates) / delegate.renders, 2.5, 0.1);
}

TEST_F(LoopTest, FastRendersRunAtTheRateAndSleepTheRest) {
    delegate.onStart = [&] { game.SetUpdateRate(60); };
    delegate.onRender = [&] { glfw->now += 0.001; };
    RunFor(5.0);
    EXPECT_NEAR(delegate.updates / 5.0, 60.0, 1.0);
    ASSERT_FALSE(glfw->sleeps.empty());
    for (double s : glfw->sleeps) EXPECT_LE(s, 1.0 / 60 + 1e-9);
    // The schedule advances by whole periods from its start, not from each update's end.
    for (size_t i = 2; i < delegate.updateTimes.size(); ++i) {
        EXPECT_NEAR(delegate.updateTimes[i] - delegate.updateTimes[i - 1], 1.0 / 60, 0.0011);
    }
}

TEST_F(LoopTest, RateZeroRunsOneUpdatePerFrameAndNeverSleeps) {
    delegate.onRender = [&] { glfw->now += 0.05; };
    RunFor(2.0);
    EXPECT_EQ(delegate.updates, delegate.renders - 1) << "every frame but the one whose events closed the window";
    EXPECT_TRUE(glfw->sleeps.empty());
}

TEST_F(LoopTest, FirstRenderComesBeforeFirstUpdate) {
    int rendersBeforeFirstUpdate = -1;
    delegate.onUpdate = [&] {
        if (rendersBeforeFirstUpdate < 0) rendersBeforeFirstUpdate = delegate.renders;
    };
    delegate.onRender = [&] { glfw->now += 0.01; };
    RunFor(0.5);
    EXPECT_EQ(rendersBeforeFirstUpdate, 1);
    EXPECT_EQ(delegate.starts, 1);
}

TEST_F(LoopTest, RateChangeInsideAnUpdateEndsThatFramesCatchUp) {
    delegate.onStart = [&] { game.SetUpdateRate(60); };
    std::vector<int> updatesPerFrame;
    int atLastRender = 0;
    delegate.onRender = [&] {
        updatesPerFrame.push_back(delegate.updates - atLastRender);
        atLastRender = delegate.updates;
        glfw->now += 0.100;  // far behind: frames would run four updates each
    };
    // Frames alternate between four updates and one; update 8 is the second of the fourth frame's four.
    delegate.onUpdate = [&] {
        if (delegate.updates == 8) game.SetUpdateRate(60);
    };
    RunFor(1.0);
    ASSERT_GE(updatesPerFrame.size(), 6u);
    EXPECT_EQ(updatesPerFrame[1], 1);
    EXPECT_EQ(updatesPerFrame[2], 4);
    EXPECT_EQ(updatesPerFrame[3], 1);
    EXPECT_EQ(updatesPerFrame[4], 2) << "the update that changed the rate was the last of its frame";
    EXPECT_EQ(updatesPerFrame[5], 1) << "the schedule restarts from the clock";
}

TEST_F(LoopTest, LosingFocusSuspendsUpdatesWhileRendersGoOn) {
    delegate.onStart = [&] { game.SetUpdateRate(60); };
    delegate.onRender = [&] { glfw->now += 0.010; };
    int rendersWhileSuspended = 0;
    glfw->onEvents = [&](FakeGlfw& fake) {
        fake.active = !(fake.now >= 1.0 && fake.now < 2.0);
        if (game.Suspended()) ++rendersWhileSuspended;
    };
    delegate.onUpdate = [&] {
        if (game.Suspended()) ADD_FAILURE() << "an update ran while suspended";
    };
    RunFor(3.0);
    EXPECT_EQ(delegate.suspends, 2) << "once for the lost focus, once as the window goes away at the end";
    EXPECT_EQ(delegate.resumes, 1);
    EXPECT_GT(glfw->waits, 0) << "a suspended loop blocks for events";
    EXPECT_GT(rendersWhileSuspended, 10);
    EXPECT_NEAR(delegate.updates, 120, 4) << "two seconds of play at 60 updates per second";
}

TEST(GuardedCallbacks, NothingReachesTheDelegateBeforeStartAndUpdatesStopWhileSuspended) {
    ScopedFakeGlfw glfw;
    KpGlfwGame game;
    RecordingDelegate delegate;
    delegate.glfw = &glfw.fake;
    game.SetDelegate(&delegate);

    game.UpdateGame();
    game.RenderGame();
    game.SuspendGame();
    game.ResumeGame();
    EXPECT_EQ(delegate.updates + delegate.renders + delegate.suspends + delegate.resumes, 0);

    game.StartGame();
    game.StartGame();
    EXPECT_EQ(delegate.starts, 1);

    game.ResumeGame();  // not suspended: nothing
    EXPECT_EQ(delegate.resumes, 0);
    game.SuspendGame();
    game.SuspendGame();
    EXPECT_EQ(delegate.suspends, 1);
    game.UpdateGame();
    game.RenderGame();
    EXPECT_EQ(delegate.updates, 0);
    EXPECT_EQ(delegate.renders, 1) << "renders go on while suspended";
    game.ResumeGame();
    game.UpdateGame();
    EXPECT_EQ(delegate.updates, 1);
}

TEST(GuardedCallbacks, FreedMemoryGoesBackOnceARunOfLoadingUpdatesEnds) {
    struct CountingGame : KpGlfwGame {
        int releases = 0;
        void ReleaseFreedMemory() override { ++releases; }
    };
    ScopedFakeGlfw glfw;
    CountingGame game;
    RecordingDelegate delegate;
    delegate.glfw = &glfw.fake;
    game.SetDelegate(&delegate);
    game.StartGame();
    // Updates that take pixels or samples from the C allocator, as loading steps do, marked 1.
    const int loads[] = {0, 1, 1, 1, 0, 0, 1, 0};
    const int wanted[] = {0, 0, 0, 0, 1, 1, 1, 2};
    int update = 0;
    delegate.onUpdate = [&] { gc_ext_new_bytes += loads[update] * 4096; };
    for (; update < 8; ++update) {
        game.UpdateGame();
        EXPECT_EQ(game.releases, wanted[update]) << "after update " << update;
    }
}

TEST(GuardedCallbacks, SetUpdateRateRestartsTheSchedule) {
    ScopedFakeGlfw glfw;
    KpGlfwGame game;
    game.SetUpdateRate(0);
    EXPECT_EQ(game.UpdateRate(), 0);
    game.SetUpdateRate(5);
    EXPECT_EQ(game.UpdateRate(), 5);
}

TEST(GuardedCallbacks, MillisecsTruncatesTheClock) {
    ScopedFakeGlfw glfw;
    KpGlfwGame game;
    glfw->now = 12.3456;
    EXPECT_EQ(game.Millisecs(), 12345);
}

TEST(HostDate, FillsOnlyAsManyElementsAsTheArrayHas) {
    KpGame game;
    Array<int> three(3);
    game.GetDate(three);
    EXPECT_GE(three[0], 2024);
    EXPECT_GE(three[1], 1);
    EXPECT_LE(three[1], 12);
    EXPECT_GE(three[2], 1);

    Array<int> eight(8);
    eight[6] = 99;
    eight[7] = 42;
    game.GetDate(eight);
    EXPECT_EQ(eight[6], 0);
    EXPECT_EQ(eight[7], 42);
    EXPECT_LE(eight[3], 23);
    EXPECT_LE(eight[5], 60);

    Array<int> empty;
    game.GetDate(empty);  // left alone
}

}  // namespace
