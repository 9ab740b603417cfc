// The pointer's paths through the menu and its overlays, at art levels 2 and 4 and in a wide window whose virtual
// screen is 360 units high: the cog opens the options box and its back cog closes it, the strip takes the focus
// and then opens the side panel, a press anywhere closes the panel, and each pause icon acts where it is drawn.
// Every press lands where the draw list shows the thing (or where the layout puts it), converted to window pixels
// at the window's own scale; presses just outside an edge show that the hit areas keep their size at each level.
#include "tests/support/play_fixture.h"

namespace {

constexpr int kIconSlot = 97, kButtonSlot = 95, kFontSlot = 90;
constexpr int kPauseFrame = 0, kQuitFrame = 1, kPlayFrame = 3, kResumeFrame = 3, kCogFrame = 8, kBackCogFrame = 10;

// NOTE: the parameter interface comes first so that the window size is known when the play fixture opens it.
class PointerPaths : public ::testing::WithParamInterface<WindowAtLevel>, public PlayFixture {
protected:
    PointerPaths() : PlayFixture(GetParam().width, GetParam().height) { Frames(40); }  // slid in

    void SetUp() override {
        ASSERT_EQ(app->m_hdLevel, GetParam().level);
        ASSERT_EQ(app->m_state, 1);
    }

    // Presses the pointer over a virtual point: the middle of its unit in window pixels.
    void PointerDown(float vx, float vy) {
        MouseDown((vx + 0.5f) * app->m_scaleX, (vy + 0.5f) * app->m_scaleY);
        Frame();
    }
    void Click(float vx, float vy) {
        PointerDown(vx, vy);
        MouseUp();
        Frame();
    }
    // The last image record of a slot and frame this update (the one on top), or null.
    const float* Drawn(int slot, int frame) const {
        const float* found = nullptr;
        for (int at = 0; at < app->m_drawCount; at += 15) {
            const float* r = &app->m_drawList[at];
            if (r[0] == static_cast<float>(slot) && r[6] == static_cast<float>(frame)) found = r;
        }
        return found;
    }
    // Clicks a drawn image at an offset from its position.
    void ClickDrawn(int slot, int frame, float dx = 0, float dy = 0) {
        const float* r = Drawn(slot, frame);
        ASSERT_NE(r, nullptr) << "slot " << slot << " frame " << frame << " is not drawn";
        Click(r[1] + dx, r[2] + dy);
    }
    // The interface font's text at height y, at draw scale 1, spaces left out as the font draws none.
    std::string TextAt(float y) const {
        std::string text;
        for (int at = 0; at < app->m_drawCount; at += 15) {
            const float* r = &app->m_drawList[at];
            if (r[0] == kFontSlot && r[4] == 1.0f && r[2] == y) text += static_cast<char>(r[6] + 32);
        }
        return text;
    }
};

TEST_P(PointerPaths, TheCogOpensTheOptionsAndTheBackCogClosesThemWithinTheirHitAreas) {
    const float* cog = Drawn(kButtonSlot, kCogFrame);
    ASSERT_NE(cog, nullptr);
    EXPECT_FLOAT_EQ(cog[1], static_cast<float>(app->m_wheelX));
    EXPECT_FLOAT_EQ(cog[2], kp_Search_jscrh - 64) << "the wheel keeps to the bottom of the screen";
    // The cog answers within the 64-unit square about the wheel's centre.
    ClickDrawn(kButtonSlot, kCogFrame, 33, 0);
    EXPECT_EQ(app->m_optionsOpen, 0) << "just outside the cog";
    ClickDrawn(kButtonSlot, kCogFrame, 31, -31);
    ASSERT_EQ(app->m_optionsOpen, 1);
    EXPECT_EQ(app->m_menuFocus, 0);
    Frames(30);
    ASSERT_EQ(app->m_optionsSlide, 30);

    // The back cog is a button of the cog's cell (64 units) at its draw scale, whatever the art level.
    const float* back = Drawn(kButtonSlot, kBackCogFrame);
    ASSERT_NE(back, nullptr);
    EXPECT_FLOAT_EQ(back[1], 100);
    EXPECT_FLOAT_EQ(back[2], 60);
    const float half = 32 * back[4];
    ClickDrawn(kButtonSlot, kBackCogFrame, half + 1, 0);
    ClickDrawn(kButtonSlot, kBackCogFrame, -half - 1, 0);
    EXPECT_EQ(app->m_optionsOpen, 1) << "just outside the back cog";
    EXPECT_FALSE(StateFileExists());
    ClickDrawn(kButtonSlot, kBackCogFrame, half - 1, half - 1);
    EXPECT_EQ(app->m_optionsOpen, 0);
    EXPECT_TRUE(StateFileExists()) << "closing saves";
    Frames(30);
    EXPECT_EQ(app->m_optionsSlide, 0);
    EXPECT_EQ(app->m_state, 1);
}

TEST_P(PointerPaths, TheStripTakesTheFocusThenOpensThePanelAndAnyPressClosesIt) {
    const float w = kp_Search_jscrw, h = kp_Search_jscrh;
    const float left = w - 140;  // the strip's edge once the menu has slid in
    const float y = h / 2 - 60;  // clear of the play button at the strip's foot
    Click(left - 1, y);
    EXPECT_EQ(app->m_menuFocus, 1) << "left of the strip";
    Click(left + 1, y);
    EXPECT_EQ(app->m_menuFocus, 2) << "a first press takes the focus";
    EXPECT_EQ(app->m_sidePanelOpen, 0);

    PointerDown(w - 8, 8);
    EXPECT_EQ(app->m_sidePanelOpen, 1) << "a second press opens the panel";
    // The engine figures in the panel's first frame: the virtual screen, then the window.
    EXPECT_EQ(TextAt(16), "DebugStats");
    EXPECT_EQ(TextAt(32), "Engine");
    EXPECT_EQ(TextAt(44), std::to_string(static_cast<int>(w)) + "x" + std::to_string(static_cast<int>(h)));
    EXPECT_EQ(TextAt(60), "Screen");
    EXPECT_EQ(TextAt(72), std::to_string(GetParam().width) + "x" + std::to_string(GetParam().height));
    EXPECT_EQ(TextAt(88), "FPS");
    EXPECT_EQ(TextAt(100), std::to_string(app->m_updateFpsAvg) + ":" + std::to_string(app->m_renderFpsAvg));
    Frames(30);
    MouseUp();
    Frames(30);
    EXPECT_EQ(app->m_sidePanelOpen, 1) << "holding the opening press closes nothing";

    // A press on the cog, which the panel covers: it closes the panel and opens nothing under it.
    Click(static_cast<float>(app->m_wheelX), static_cast<float>(app->m_wheelY));
    EXPECT_EQ(app->m_sidePanelOpen, 0);
    EXPECT_EQ(app->m_optionsOpen, 0);
    Frames(60);
    EXPECT_FLOAT_EQ(app->m_sidePanelX, 0);
    EXPECT_EQ(app->m_state, 1);
}

// A puzzle started from the play button and paused with the pause icon, all by the pointer; then the options icon
// (closed again by the back cog), resume, and after another pause, quit.
TEST_P(PointerPaths, EachPauseIconActsByAClickWhereItIsDrawn) {
    const float h = kp_Search_jscrh;
    Tap(Device::Keyboard, kKeyDown);  // the second group
    ClickDrawn(kIconSlot, kPlayFrame);
    ASSERT_TRUE(FramesUntil([&] { return app->m_state == 10 && Settled(); }));
    ASSERT_EQ(app->m_gameNum, 2);
    auto pause = [&] {
        ClickDrawn(kIconSlot, kPauseFrame);
        ASSERT_EQ(app->m_paused, 1);
        ASSERT_TRUE(FramesUntil([&] { return app->m_pausePanelY == static_cast<int>(h / 2); }, 30));
    };
    ASSERT_NO_FATAL_FAILURE(pause());
    const float* quit = Drawn(kIconSlot, kQuitFrame);
    ASSERT_NE(quit, nullptr);
    EXPECT_FLOAT_EQ(quit[1], 64) << "the icons are in once the panel is";

    ClickDrawn(kButtonSlot, kBackCogFrame);  // the options cog at the foot of the column
    ASSERT_EQ(app->m_optionsOpen, 1);
    Frames(30);
    ClickDrawn(kButtonSlot, kBackCogFrame);  // the box's own back cog, over the pause menu
    ASSERT_EQ(app->m_optionsOpen, 0);
    Frames(30);
    EXPECT_EQ(app->m_paused, 1) << "back in the pause menu";

    ClickDrawn(kIconSlot, kResumeFrame);
    EXPECT_EQ(app->m_pauseChoice, -1);
    ASSERT_TRUE(FramesUntil([&] { return app->m_paused == 0; }, 30));
    Frame();
    EXPECT_NE(Drawn(kIconSlot, kPauseFrame), nullptr) << "play goes on";

    ASSERT_NO_FATAL_FAILURE(pause());
    // Icons are 32-unit cells drawn at scale 2: 32 units either side of their middle.
    ClickDrawn(kIconSlot, kQuitFrame, 33, 0);
    ClickDrawn(kIconSlot, kQuitFrame, 0, -33);
    EXPECT_EQ(app->m_puzzleDone, 0) << "just outside the quit icon";
    ClickDrawn(kIconSlot, kQuitFrame, 31, -31);
    EXPECT_EQ(app->m_gaveUp, -1);
    EXPECT_EQ(app->m_puzzleDone, 1);
    ASSERT_TRUE(FramesUntil([&] { return app->m_state == 1; }, 200));
    EXPECT_EQ(app->m_settings[3], 1) << "the given-up puzzle is filed";
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, PointerPaths,
                         ::testing::Values(WindowAtLevel{640, 480, 2}, WindowAtLevel{1280, 960, 4}, WindowAtLevel{1280, 720, 4}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
