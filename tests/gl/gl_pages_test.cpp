// The game's frames through real OpenGL (Mesa under Xvfb) with the build tree's art on texture pages and again,
// the very same draw list, with every sheet on a texture of its own: pixel for pixel the same picture. The menu
// with seven groups at art levels 1, 2 and 4, the loading screen, the options box, and a puzzle in play with the
// pause menu over it. The pictures are kept beside this program for a person to look at.
#include "tests/support/gl_app_fixture.h"
#include "tests/support/play_fixture.h"

namespace {

class PagesGl : public PuzzlePlayer<GlApp> {
protected:
    void Frame() override { Update(); }
    void PadButton(int, bool) override { FAIL() << "no pad in a real window"; }

    // Loads every sheet again, on pages or on textures of their own, keeping the frame in the draw list.
    void Reload(bool pages) {
        const Array<float> list = app->m_drawList.Resized(app->m_drawList.Length());
        const int count = app->m_drawCount;
        const Array<float> clear = app->m_clearColor.Resized(4);
        devices->graphics->UseTexturePages(pages);
        app->p_Reload();
        while (app->m_loadStep > 0) Update();
        for (int i = 0; i < list.Length(); ++i) app->m_drawList[i] = list[i];
        app->m_drawCount = count;
        for (int i = 0; i < 4; ++i) app->m_clearColor[i] = clear[i];
    }

    // The frame now in the draw list drawn from pages and from textures of their own: the same pixels.
    void ExpectTheSamePicture(const std::string& name) {
        ASSERT_TRUE(app->m_images[95]->m_surface->page) << "the art is on pages";
        Shot(name);
        const Array<int> paged = pixels;
        Reload(false);
        ASSERT_FALSE(app->m_images[95]->m_surface->page);
        Shot(name + "_own");
        int differing = 0;
        for (int i = 0; i < paged.Length(); ++i) differing += paged[i] != pixels[i];
        EXPECT_EQ(differing, 0) << name;
        Reload(true);
    }
    void Key(int code) { Tap(Device::Keyboard, code); }
};

class PagesMenuGl : public PagesGl, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(PagesMenuGl, WithSevenGroups) {
    const auto [w, h] = GetParam();
    Start(w, h);
    app->m_menuSel = 10;  // seven groups on the wheel
    app->m_wheelTarget = app->m_wheelAngle = -320;
    Frames(60);
    ExpectTheSamePicture("pages_menu_" + std::to_string(w) + "x" + std::to_string(h));
}

// Art levels 1, 2 and 4.
INSTANTIATE_TEST_SUITE_P(ArtLevels, PagesMenuGl,
                         ::testing::Values(std::pair{480, 360}, std::pair{640, 480}, std::pair{1280, 1024}));

TEST_F(PagesGl, TheLoadingScreenTheOptionsBoxAndAPuzzleUnderThePauseMenu) {
    Start(640, 480);
    app->p_Reload();
    Update();
    Update();  // two steps in: the loading screen with its logo and text
    ExpectTheSamePicture("pages_loading_640x480");
    while (app->m_loadStep > 0) Update();

    Frames(60);
    for (int i = 0; i < 3; ++i) Key(kKeyLeft);  // the cog
    Key(13);
    ASSERT_EQ(app->m_optionsOpen, 1);
    Frames(40);
    ExpectTheSamePicture("pages_options_640x480");
    Key(27);
    Frames(40);

    StartPuzzle(1);
    ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
    ExpectTheSamePicture("pages_play_640x480");
    Key(27);
    Frames(60);
    ExpectTheSamePicture("pages_pause_640x480");
}

}  // namespace
