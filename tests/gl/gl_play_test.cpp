// The play screen through real OpenGL (Mesa under Xvfb): the application, loaded with the build tree's generated
// art, plays the tutorial in a real window at 640 x 480 and at 1280 x 1024, and its own render pass draws it.
// The pictures (light and dark schemes with a selection and the hint marker, and the finishing panel) are kept
// beside this program for a person to look at; the checks read the letters, markers and panel back.
#include "tests/support/gl_app_fixture.h"
#include "tests/support/play_fixture.h"

namespace {

class PlayGl : public PuzzlePlayer<GlApp> {
protected:
    void Frame() override { Update(); }
    void PadButton(int, bool) override { FAIL() << "no pad in a real window"; }

    // Plays the tutorial's first word in, then starts a selection elsewhere and stops it half grown.
    void ShowSelectionAndHint(bool dark, const std::string& name) {
        if (dark) {
            Press(67);  // C: the dark scheme
            Frame();
            Release(67);
        }
        ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
        const Placement at = FindWord();
        // A selection two rows below the word's start, running right: it shows while the hint stays clear.
        const int row = at.y <= 9 ? at.y + 3 : at.y - 3;
        auto [px, py] = CellOnScreen(1, row);
        MouseDown(px, py);
        Frame();
        auto [qx, qy] = CellOnScreen(2, row);
        this->input->p_MouseEvent(KpEventMouseMove, -1, qx, qy);
        Frame();
        MouseUp();
        Frames(2);
        ASSERT_EQ(Slot(play::kLength), 3);
        Shot(name);
        const float cs = std::min((kp_Search_jscrw - 32) / 13, (kp_Search_jscrh - 32) / 13) * app->m_scaleX;
        // The markers are orange and yellow at half strength: far warmer than the letters or either background.
        auto warm = [](Rgb p) { return p.r - p.b > 70; };
        // The hint: a warm disc under the word's first letter; the selection: discs along its row (the frame shows
        // it as it stood before this update grew it).
        auto [hx, hy] = CellOnScreen(at.x, at.y);
        EXPECT_GT(Count(int(hx - cs / 2), int(hy - cs / 2), int(hx + cs / 2), int(hy + cs / 2), warm), cs * cs / 8);
        auto [sx, sy] = CellOnScreen(3, row);
        EXPECT_GT(Count(int(sx - cs / 2), int(sy - cs / 2), int(sx + cs / 2), int(sy + cs / 2), warm), cs * cs / 8);
        // Letters: dark ink on the light scheme, white on the dark, in the middle of every cell.
        auto ink = [dark](Rgb p) { return dark ? p.r > 230 && p.g > 230 && p.b > 230 : p.r < 40 && p.g < 40 && p.b < 40; };
        int inked = 0;
        for (int x = 0; x < 13; ++x) {
            auto [cx, cy] = CellOnScreen(x, 12);
            inked += Count(int(cx - cs / 3), int(cy - cs / 3), int(cx + cs / 3), int(cy + cs / 3), ink) > cs ? 1 : 0;
        }
        EXPECT_EQ(inked, 13) << "every letter of the bottom row shows";
        // The grid is centred: between the word list and the word in play, its ink reaches as far either way.
        auto [topX, topY] = CellOnScreen(0, 0);
        auto [endX, endY] = CellOnScreen(12, 12);
        int first = width, last = -1;
        for (int y = int(topY - cs / 2); y < int(endY + cs / 2); ++y) {
            for (int x = int(width * 0.16); x < int(width * 0.86); ++x) {
                if (!ink(At(x, y))) continue;
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
        EXPECT_NEAR((first + last) / 2.0, width / 2.0, cs / 4) << "ink from " << first << " to " << last;
        (void)topX, (void)endX;
    }
};

TEST_F(PlayGl, TheTutorialAt640x480InBothSchemes) {
    Start(640, 480);
    StartPuzzle(1);
    ShowSelectionAndHint(false, "play_light_640x480");
    StartPuzzle(1);
    ShowSelectionAndHint(true, "play_dark_640x480");
}

TEST_F(PlayGl, TheTutorialAt1280x1024InBothSchemes) {
    Start(1280, 1024);
    ASSERT_EQ(app->m_hdLevel, 4);
    StartPuzzle(1);
    ShowSelectionAndHint(false, "play_light_1280x1024");
    StartPuzzle(1);
    ShowSelectionAndHint(true, "play_dark_1280x1024");
}

TEST_F(PlayGl, TheFinishingPanelAfterTheTutorial) {
    Start(640, 480);
    StartPuzzle(1);
    ASSERT_TRUE(PlayPuzzle(Device::Mouse));
    Frames(40);
    Shot("finishing_panel_640x480");
    // The bands at their full length: yellow from the left at 0.45 of the height, orange from the right at 0.55,
    // each reaching past the middle; the verdict is written over them.
    auto yellow = [](Rgb p) { return p.r > 130 && p.g > 130 && p.b < 80; };
    auto orange = [](Rgb p) { return p.r > 130 && p.g > 50 && p.g < 120 && p.b < 60; };
    EXPECT_GT(Count(0, 210, 140, 222, yellow), 140 * 12 * 9 / 10);
    EXPECT_GT(Count(330, 210, 420, 222, yellow), 90 * 12 * 9 / 10);
    EXPECT_EQ(Count(440, 205, 640, 227, yellow), 0);
    EXPECT_GT(Count(560, 258, 640, 270, orange), 80 * 12 * 9 / 10);
    EXPECT_GT(Count(210, 258, 300, 270, orange), 90 * 12 * 9 / 10);
    // Dimmed to 0.7: the pale play background is now dark.
    EXPECT_LT(At(320, 400).r, 100);
}

}  // namespace
