// The eased background colour, the star field (placing, drifting, wrapping round with its redraws) and the
// finishing panel's timeline over a finished or abandoned puzzle and then over the menu.
#include "tests/support/play_fixture.h"

namespace {

using Backdrop = AppFixture;

TEST_F(Backdrop, TheBackgroundEasesAnEighthOfTheWayAndStartsTheFrame) {
    app->p_Rect(0, 0, 1, 1);
    app->p_DoBG(160, 80, 20, -123);
    EXPECT_FLOAT_EQ(app->m_clearColor[0], 20);
    EXPECT_FLOAT_EQ(app->m_clearColor[1], 10);
    EXPECT_FLOAT_EQ(app->m_clearColor[2], 2.5f);
    EXPECT_FLOAT_EQ(app->m_clearColor[3], 1);
    EXPECT_EQ(app->m_drawCount, 0) << "the frame starts empty";
    app->p_DoBG(-123, -123, -123, 2);  // keeps the targets; alpha kept within 0..1
    EXPECT_FLOAT_EQ(app->m_clearColor[0], 20 + 140 * 0.125f);
    EXPECT_FLOAT_EQ(app->m_clearColor[3], 1);
    app->p_DoBG(-122, -123, -500, -0.5f);  // -122 is a colour: the red target becomes -122
    EXPECT_LT(app->m_clearColor[0], app->m_bgRed + 1);
    EXPECT_FLOAT_EQ(app->m_bgTargetRed, -122);
    EXPECT_FLOAT_EQ(app->m_bgTargetGreen, 80);
    EXPECT_FLOAT_EQ(app->m_clearColor[3], 0);
    for (int i = 0; i < 200; ++i) app->p_DoBG(160, 80, 20, -123);
    EXPECT_NEAR(app->m_clearColor[0], 160, 0.01);
}

TEST_F(Backdrop, ResettingStarsPlacesCountPlusOneOrKeepsTheCountOutsideItsRange) {
    // The number of stars a reset moves, a moment later on the clock.
    auto movedBy = [&](int count) {
        std::vector<float> before(app->m_stars.begin(), app->m_stars.end());
        fake.now += 0.5;
        app->p_ResetStars(count);
        int moved = 0;
        for (int s = 0; s < 510; ++s) moved += app->m_stars[s * 10 + 1] != before[static_cast<size_t>(s * 10 + 1)];
        return moved;
    };
    EXPECT_EQ(movedBy(100), 101) << "stars 0 to 100";
    EXPECT_EQ(app->m_starCount, 100);
    EXPECT_EQ(movedBy(0), 101);
    EXPECT_EQ(app->m_starCount, 100);
    EXPECT_EQ(movedBy(7), 8);
    EXPECT_EQ(movedBy(600), 8);
    EXPECT_EQ(app->m_starCount, 7);
    for (int s = 0; s <= 7; ++s) {
        const float* star = &app->m_stars[s * 10];
        EXPECT_TRUE(star[0] >= 0 && star[0] <= 255 && star[0] == std::floor(star[0]));
        EXPECT_TRUE(star[1] >= -8 && star[1] < 648);
        EXPECT_TRUE(star[3] >= 0.2f && star[3] < 0.8f);
        EXPECT_TRUE(star[6] >= -0.5f && star[6] < 0.5f);
    }
}

TEST_F(Backdrop, AStarDriftsByItsShareAndComesBackAsANewStarPastTheEdge) {
    app->m_starCount = 0;
    float* star = &app->m_stars[0];
    star[0] = 5, star[1] = 100, star[2] = 200, star[3] = 0.8f, star[5] = 10, star[6] = 0.25f;
    app->p_DoStars(0, 0.25f);
    EXPECT_FLOAT_EQ(star[2], 200.2f);
    EXPECT_FLOAT_EQ(star[5], 10.25f);
    ASSERT_EQ(app->m_drawCount, 15) << "one record per star";
    const float* record = &app->m_drawList[0];
    EXPECT_EQ(record[0], 96);
    EXPECT_FLOAT_EQ(record[3], -10.25f) << "the angle is stored as a rotation";
    EXPECT_FLOAT_EQ(record[7], 0.8f) << "its share is its alpha";
    EXPECT_EQ(record[6], 5);

    // Past the bottom margin (480 + 16) it reappears 512 higher, with a new x, share and sprite drawn in order.
    star[2] = 495.9f;
    const int seed = kp_app_Millisecs();
    int32_t state = seed;
    for (int i = 0; i < 21; ++i) state = kp_random_Step(state);
    float draws[3];
    for (float& d : draws) d = kp_random_Value(state = kp_random_Step(state));
    app->p_DoStars(0, 0.25f);
    EXPECT_FLOAT_EQ(star[2], 495.9f + 0.2f - 512);
    EXPECT_FLOAT_EQ(star[1], draws[0] * 656 - 8);
    EXPECT_FLOAT_EQ(star[3], 0.2f + 0.6f * draws[1]);
    EXPECT_FLOAT_EQ(star[0], std::floor(draws[2] * 255.99f));
}

class Panel : public PlayFixture {
protected:
    void EndPuzzle(bool gaveUp) {
        StartPuzzle(3);
        app->m_puzzleDone = 1;
        app->m_gaveUp = gaveUp ? -1 : 0;
    }
    // The panel's rectangles this frame: the dimming, then the yellow and orange bands.
    std::vector<const float*> Rects() const {
        std::vector<const float*> rects;
        for (int at = 0; at < app->m_drawCount; at += 15) {
            if (app->m_drawList[at] == -3717.0f) rects.push_back(&app->m_drawList[at]);
        }
        return rects;
    }
    std::string Words() const {
        std::string text;
        for (int at = 0; at < app->m_drawCount; at += 15) {
            const float* r = &app->m_drawList[at];
            if (r[0] == 90.0f && r[4] == 4.0f && r[10] == 255 && r[11] == 180) text += static_cast<char>(r[6] + 32);
        }
        return text;
    }
};

TEST_F(Panel, RisesOverTheGridForNinetyFramesThenFadesOverTheMenu) {
    EndPuzzle(false);
    Frame();
    EXPECT_EQ(app->m_finishTimer, 1);
    EXPECT_TRUE(Rects().empty()) << "nothing drawn in the first frame";
    for (int t = 1; t <= 88; ++t) {
        Frame();
        const auto rects = Rects();
        ASSERT_EQ(rects.size(), 3u) << t;
        EXPECT_FLOAT_EQ(rects[0][7], std::min(t / 40.0f, 0.7f));
        const float band = std::min(12.0f * t, 216.0f);
        EXPECT_FLOAT_EQ(rects[1][4], 2 * band);
        EXPECT_FLOAT_EQ(rects[2][1], 640 - 2 * band);
        EXPECT_EQ(app->m_keyLatch, 1);
        EXPECT_EQ(app->m_state, 10);
    }
    EXPECT_EQ(Words(), "GroupComplete!");
    Frame();
    EXPECT_EQ(app->m_state, 2) << "the 90th frame hands over";
    EXPECT_EQ(app->m_finishTimer, 73);
    int fading = 0;
    while (app->m_finishTimer > 0 && fading < 100) {
        Frame();
        ++fading;
    }
    EXPECT_EQ(fading, 37);
}

TEST_F(Panel, AGiveUpSaysGivenUp) {
    EndPuzzle(true);
    Frames(20);
    EXPECT_EQ(Words(), "GivenUp");
}

}  // namespace
