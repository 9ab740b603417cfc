// An upright window (450 x 900, a virtual screen of 360 x 720): the texts a player reads that the landscape
// layout would cut off at its edges (the options' labels, the word in play, "PAUSED", the finishing panel's words)
// end inside the screen and the panel, drawn smaller. Landscape windows keep every scale (the other tests check
// their labels at scale 2).
#include "tests/support/play_fixture.h"

namespace {

class Upright : public PlayFixture {
protected:
    Upright() : PlayFixture(450, 900) {}

    // The furthest right any letter of the current font reaches among records drawn at heights top..bottom, and
    // the smallest scale they were drawn at.
    std::pair<float, float> TextReach(float top, float bottom) const {
        float right = -1e9f, scale = 1e9f;
        for (int at = 0; at < app->m_drawCount; at += 15) {
            const float* r = &app->m_drawList[at];
            if (r[0] != static_cast<float>(app->m_font) || r[2] < top || r[2] > bottom) continue;
            right = std::max(right, r[1] + 8 * r[4]);  // a glyph's cell is 16 units wide, centred on the pen
            scale = std::min(scale, r[4]);
        }
        return {right, scale};
    }
};

TEST_F(Upright, TextsThatWouldRunOffTheScreenAreShrunkToFit) {
    ASSERT_EQ(app->m_landscape, 0);
    const float w = kp_Search_jscrw, h = kp_Search_jscrh;
    ASSERT_FLOAT_EQ(w, 360);

    // The group with a twelve-letter word, played until that word is in play: it stands below the grid.
    StartPuzzle(8);
    for (int word = 0; word < 6 && app->m_word.Length() < 12; ++word) ASSERT_TRUE(PlayWord(Device::Mouse));
    ASSERT_EQ(app->m_word.Length(), 12);
    ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
    auto [wordRight, wordScale] = TextReach(h - 64, h);
    EXPECT_LE(wordRight, w) << "the word in play runs off the screen";
    EXPECT_LT(wordScale, 4);

    // "PAUSED", then the panel of a give-up.
    Tap(Device::Keyboard, 27);
    Frames(20);
    auto [pausedRight, pausedScale] = TextReach(h / 2 - 40, h / 2 + 40);
    EXPECT_LE(pausedRight, w) << "\"PAUSED\" runs off the screen";
    Tap(Device::Keyboard, kKeyUp);
    Tap(Device::Keyboard, kKeyZ);
    ASSERT_TRUE(FramesUntil([&] { return app->m_finishTimer >= 60; }, 100));
    auto [panelRight, panelScale] = TextReach(0, h);
    EXPECT_LE(panelRight, w) << "the panel's words run off the screen";
    ASSERT_TRUE(FramesUntil([&] { return app->m_state == 1 && app->m_finishTimer == 0; }, 200));

    // Every options row ends inside the box's panel, which leaves 50 units at each side.
    for (int i = 0; i < 3; ++i) Tap(Device::Keyboard, kKeyLeft);
    Tap(Device::Keyboard, 13);
    Frames(31);
    ASSERT_EQ(app->m_optionsSlide, 30);
    for (int row = 1; row <= 4; ++row) {
        const float y = 130 + 40 * static_cast<float>(row - 1) + 10;
        auto [labelRight, labelScale] = TextReach(y - 1, y + 1);
        EXPECT_LE(labelRight, w - 50) << "row " << row;
        EXPECT_GT(labelScale, 1) << "row " << row << " stays legible";
    }
}

}  // namespace
