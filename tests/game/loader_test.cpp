// Loading and the image slots, with the generated art of the build tree: the loading screen covers the first
// updates and holds the screens back until its last step, every slot is filled at the art level the window
// asks for, a new window size reloads everything (the jingle only once per run) with each sheet taking the
// layer of the one it replaces, and missing files are harmless.
#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/app_fixture.h"

namespace {

constexpr int kImageSlotsLoaded[] = {10, 11, 80, 85, 86, 90, 93, 94, 95, 96, 97, 98, 99};
constexpr int kCuesLoaded[] = {1, 2, 3, 4, 5, 95, 96, 98, 99};

class LoaderTest : public AppFixture {
protected:
    // Creates the application in a window of the given size and runs all fifteen loading updates.
    void StartAndLoad(int width, int height) {
        OpenWindow(width, height);
        ::testing::internal::CaptureStdout();
        app->p_OnCreate();
        ::testing::internal::GetCapturedStdout();
        Render();
        for (int i = 0; i < 15; ++i) Update();
        ASSERT_EQ(app->m_loadStep, 0);
    }
    bool Asked(const std::string& file) const {
        return std::find(host.asked.begin(), host.asked.end(), file) != host.asked.end();
    }
    const float* Record(int index) const { return &app->m_drawList[index * 15]; }

    // The texture pages the slots' sheets lie on, and their texels (layers of every page, packed or not).
    std::set<const hwTexturePage*> Pages() const {
        std::set<const hwTexturePage*> pages;
        for (int slot : kImageSlotsLoaded) {
            if (app->m_images[slot] && app->m_images[slot]->m_surface->page) {
                pages.insert(app->m_images[slot]->m_surface->page.Get());
            }
        }
        return pages;
    }
    static long Texels(const std::set<const hwTexturePage*>& pages) {
        long texels = 0;
        for (const hwTexturePage* page : pages) texels += long{page->layerWidth} * page->layerHeight * page->Layers();
        return texels;
    }
    // Runs a whole load as the frame loop does, a render after each update, and two frames after it.
    void LoadWithFrames() {
        for (int i = 0; i < 15; ++i) {
            Update();
            Render();
        }
        ASSERT_EQ(app->m_loadStep, 0);
        Render();
        Render();
    }
};

TEST_F(LoaderTest, TheLoadingScreenCoversFifteenUpdatesAndTheScreensRunOnlyAfterIt) {
    OpenWindow(640, 480);
    app->p_OnCreate();
    EXPECT_EQ(app->m_loadStep, 1);
    EXPECT_EQ(app->m_font, 90) << "the loading screen's font is ready before the first update";
    EXPECT_TRUE(app->m_images[93]) << "and so is the logo";
    EXPECT_EQ(app->m_clearColor[3], 1.0f);

    // The options box's slide stands for the screens: it moves only in updates that run them.
    app->m_optionsOpen = 1;
    Render();
    Update();
    EXPECT_EQ(app->m_state, 1);
    EXPECT_EQ(app->m_loadStep, 2);
    EXPECT_EQ(app->p_DrawRecordCount(), 33 + 1 + 10) << "33 dots, the logo and the ten glyphs of Loading...";
    for (int i = 2; i <= 15; ++i) {
        Update();
        EXPECT_EQ(app->m_optionsSlide, 0) << "update " << i;
    }
    EXPECT_EQ(app->m_loadStep, 0);
    Update();
    EXPECT_EQ(app->m_optionsSlide, 1) << "the update after the last step runs the screens";
}

// Where the dots, the logo and the text land is checked in pixels by the real-GL test; here the frame start
// and the order of the records (the logo over the outer ring, under the others).
TEST_F(LoaderTest, LoadingScreenEasesTheBackgroundToBlackAndLayersTheLogoOverTheOuterRing) {
    OpenWindow(640, 480);
    Render();
    app->m_bgRed = 160;
    app->m_bgGreen = 80;
    app->p_Reload();
    app->p_Rect(0, 0, 1, 1);  // a record of the previous frame
    app->p_WaitStart(1);
    EXPECT_FLOAT_EQ(app->m_clearColor[0], 140) << "the background loses an eighth towards black";
    EXPECT_FLOAT_EQ(app->m_clearColor[1], 70);
    EXPECT_EQ(app->m_clearColor[3], 1);
    EXPECT_EQ(app->m_spinRadius, 480);
    EXPECT_EQ(app->m_spinAngle, 3);
    EXPECT_EQ(app->p_DrawRecordCount(), 44) << "the previous frame's record is gone";
    EXPECT_EQ(Record(10)[12], 255) << "outer ring: blue";
    EXPECT_EQ(Record(11)[0], 93);
    EXPECT_EQ(Record(11)[4], 2) << "the logo at scale 2";
    EXPECT_EQ(Record(12)[10], 255) << "middle ring: orange";
    EXPECT_EQ(Record(34)[0], 90) << "Loading... in the loading font";
    EXPECT_EQ(Record(34)[4], 1);
}

TEST_F(LoaderTest, EverySlotIsFilledAtTheArtLevelOfTheWindow) {
    StartAndLoad(640, 480);
    EXPECT_EQ(app->m_hdLevel, 2) << "640 is a side of 631 or more";
    EXPECT_FLOAT_EQ(app->m_imageScale, 0.5f);
    for (int slot : kImageSlotsLoaded) EXPECT_TRUE(app->m_images[slot]) << "slot " << slot;
    for (int cue : kCuesLoaded) EXPECT_TRUE(app->m_sounds[cue]) << "cue " << cue;
    EXPECT_TRUE(Asked("menu-hd.png"));
    EXPECT_FALSE(Asked("menu.png"));
    EXPECT_EQ(app->m_images[99]->m_width, 512);
    EXPECT_EQ(app->m_imageInfo[99 * 3], 512);
    EXPECT_EQ(app->m_imageInfo[99 * 3 + 2], 4);
    EXPECT_EQ(app->m_images[96]->FrameCount(), 256);
    EXPECT_EQ(app->m_images[10]->m_width, 32) << "font cells are 16 units";
    EXPECT_EQ(app->m_imageInfo[10 * 3], 7) << "a font's info is its advance";
    EXPECT_EQ(app->m_imageInfo[10 * 3 + 1], 10);
    EXPECT_EQ(app->m_font, 90);
    EXPECT_EQ(app->m_images[93]->m_handleX, 256) << "handles at the frame's centre";
}

TEST_F(LoaderTest, ANewWindowSizeReloadsEverythingButTheJingle) {
    StartAndLoad(640, 480);
    EXPECT_EQ(app->m_jinglePlayed, 1);
    EXPECT_EQ(app->m_sfxChannelIndex, 1) << "one cue fired: the jingle";
    const c_Image* oldMenu = app->m_images[99].Get();
    app->m_state = 10;

    host.asked.clear();
    fake.width = 1920;
    fake.height = 1080;
    Render();
    EXPECT_EQ(app->m_loadStep, 1);
    for (int i = 0; i < 15; ++i) Update();
    EXPECT_EQ(app->m_loadStep, 0);
    EXPECT_EQ(app->m_state, 10) << "the game resumes in the same screen";
    EXPECT_EQ(app->m_hdLevel, 4);
    EXPECT_FLOAT_EQ(app->m_imageScale, 0.25f);
    EXPECT_TRUE(Asked("menu-hd2.png"));
    EXPECT_NE(app->m_images[99].Get(), oldMenu);
    EXPECT_EQ(app->m_imageInfo[99 * 3], 1024);
    EXPECT_EQ(app->m_images[99]->m_width, 1024);
    for (int slot : kImageSlotsLoaded) EXPECT_TRUE(app->m_images[slot]) << "slot " << slot;
    EXPECT_EQ(app->m_sfxChannelIndex, 1) << "the jingle does not play again";
}

// The sheets of steps fromStep..10 at a level, in the order the steps load them.
std::vector<std::string> StepSheets(int fromStep, const std::string& suffix) {
    const std::vector<std::pair<int, std::string>> sheets = {
        {1, "common/icons"},     {2, "common/Buttons"}, {3, "common/dpad"},   {4, "common/PLOVLogo"},
        {5, "fonts/shadow_editundo"}, {6, "menu"},      {6, "logo"},          {7, "BadgesA"},
        {7, "parts"},            {8, "common/circle"},  {8, "common/light"},  {9, "fonts/Mira_White"},
        {10, "fonts/Mira_Black"}};
    std::vector<std::string> files;
    for (const auto& [step, name] : sheets) {
        if (step >= fromStep) files.push_back(name + suffix + ".png");
    }
    return files;
}

TEST_F(LoaderTest, EachLoadAsksForItsSheetsAheadInStepOrderAndAsksAgainWhenTheArtLevelChanges) {
    OpenWindow(640, 480);
    ::testing::internal::CaptureStdout();
    app->p_OnCreate();
    ::testing::internal::GetCapturedStdout();
    ASSERT_FALSE(host.aheads.empty());
    EXPECT_EQ(host.aheads.back(), StepSheets(1, "-hd"));
    Render();
    for (int i = 0; i < 5; ++i) Update();
    ASSERT_EQ(app->m_loadStep, 6);

    // The window grows between two updates: the loader sees the new level before a render sees the new size,
    // and asks for the rest of its steps at that level.
    const size_t asks = host.aheads.size();
    fake.width = 1920;
    fake.height = 1080;
    Update();
    ASSERT_EQ(host.aheads.size(), asks + 1);
    EXPECT_EQ(host.aheads.back(), StepSheets(6, "-hd2"));
    EXPECT_EQ(app->m_imageInfo[99 * 3], 1024) << "step 6 loaded the menu at the new level";

    // The render sees the new size and starts loading again from the first step, all of it asked for anew.
    Render();
    EXPECT_EQ(app->m_loadStep, 1);
    EXPECT_EQ(host.aheads.back(), StepSheets(1, "-hd2"));
    for (int i = 0; i < 15; ++i) Update();
    EXPECT_EQ(app->m_loadStep, 0);
    EXPECT_EQ(host.aheads.size(), asks + 2) << "a load at one level asks once";
    for (int slot : kImageSlotsLoaded) EXPECT_TRUE(app->m_images[slot]) << "slot " << slot;
    EXPECT_EQ(app->m_imageInfo[85 * 3], 1024);
}

TEST_F(LoaderTest, EachSheetTakesTheLayerOfTheOneItReplacesAndReloadsLeaveThePagesAsTheyWere) {
    StartAndLoad(640, 480);
    Render();
    Render();
    const auto pages = Pages();
    const long texels = Texels(pages);
    ASSERT_GE(pages.size(), 3u);
    const hwSurface& buttons = *app->m_images[95]->m_surface;
    EXPECT_EQ(app->m_images[90]->m_surface->page, buttons.page) << "the medals and the names share a page";

    // Replacing a sheet gives its pixels and its layer up at once, for the sheet loaded next.
    const StrongRef<hwSurface> old = app->m_images[95]->m_surface;
    const hwTexturePage* page = old->page.Get();
    const int layer = old->layer;
    app->p_LoadImg(95, String("common/Buttons"), 64, 64, 16, 1);
    EXPECT_EQ(old->pixels, nullptr);
    EXPECT_EQ(old->page, nullptr);
    EXPECT_EQ(app->m_images[95]->m_surface->page.Get(), page);
    EXPECT_EQ(app->m_images[95]->m_surface->layer, layer);

    // A whole reload at the same level, then at level 4 and back (one window all along): the same pages with
    // the same layers in the end.
    app->p_Reload();
    LoadWithFrames();
    EXPECT_EQ(Pages(), pages);
    EXPECT_EQ(Texels(Pages()), texels);
    fake.width = 1920;
    fake.height = 1080;
    Render();
    LoadWithFrames();
    EXPECT_EQ(app->m_hdLevel, 4);
    for (const hwTexturePage* p : Pages()) EXPECT_TRUE(p->Current()) << "packed, no layer of level 2 left";
    fake.width = 640;
    fake.height = 480;
    Render();
    LoadWithFrames();
    EXPECT_EQ(app->m_hdLevel, 2);
    EXPECT_EQ(Texels(Pages()), texels);
    for (const hwTexturePage* p : Pages()) EXPECT_TRUE(p->Current());
}

TEST_F(LoaderTest, ArtLevelFollowsTheLargerSide) {
    auto level = [&](int w, int h) {
        kp_app__devWidth = w;
        kp_app__devHeight = h;
        app->p_ChooseArtLevel();
        EXPECT_FLOAT_EQ(app->m_imageScale, 1.0f / app->m_hdLevel);
        return app->m_hdLevel;
    };
    EXPECT_EQ(level(630, 630), 1);
    EXPECT_EQ(level(320, 240), 1);
    EXPECT_EQ(level(631, 400), 2);
    EXPECT_EQ(level(400, 631), 2);
    EXPECT_EQ(level(640, 480), 2);
    EXPECT_EQ(level(1024, 768), 2);
    EXPECT_EQ(level(1230, 1230), 2);
    EXPECT_EQ(level(1231, 400), 4);
    EXPECT_EQ(level(1920, 1080), 4);
    kp_Search_UseHDImages = 0;
    EXPECT_EQ(level(1920, 1080), 1);
}

TEST_F(LoaderTest, AMissingFileLeavesItsSlotEmptyAndNothingDrawsFromIt) {
    OpenWindow(640, 480);
    Render();
    app->p_Reload();
    app->p_LoadImg(86, String("common/no-such-light"), 32, 32, 4, 1);
    EXPECT_FALSE(app->m_images[86]);
    EXPECT_EQ(app->m_imageInfo[86 * 3], 64) << "the info is set all the same";
    app->p_LoadFont(12, String("fonts/no-such-font"), 7, 10);
    EXPECT_FALSE(app->m_images[12]);
    app->p_CLS2D(0, 0, 0, 1);
    app->p_DrawImg(86, 10, 10, 0);
    app->p_Text(10, 10, String("invisible"), 0, 0, 0);
    EXPECT_GT(app->p_DrawRecordCount(), 1);
    Render();  // records naming an empty slot draw nothing, and nothing fails
    app->p_LoadImg(100, String("menu"), 256, 256, 4, 1);  // no slot 100: refused, nothing written past the slots
    app->p_LoadImg(-1, String("menu"), 256, 256, 4, 1);
}

}  // namespace

// A host that downloads art by level (a web page) starts the game on the level that has arrived; the level the
// window asks for, arriving later, comes in behind the screens: no update shows the loading screen again, each
// step waits until the host has its sheets, every slot changes level in the same update, each sheet keeps its
// size on the screen, and the host hears of both levels. A window change meanwhile drops the half-loaded art.
TEST_F(LoaderTest, SharperArtArrivingLaterGoesInAtOnceWithoutTheLoadingScreen) {
    host.notArrived = {"logo-hd2.png", "logo-hd.png"};
    StartAndLoad(1280, 960);
    ASSERT_EQ(app->m_hdLevel, 1);
    // A sheet's width on the screen; a font's info is its advance, the same at every level.
    auto shownWidth = [&](int slot) {
        const bool font = slot == 10 || slot == 11 || slot == 90;
        return static_cast<float>(app->m_imageInfo[slot * 3]) * (font ? 1.0f : app->m_imageScale);
    };
    std::vector<const c_Image*> firstImages;
    std::vector<float> shownWidths;
    for (int slot : kImageSlotsLoaded) {
        firstImages.push_back(app->m_images[slot].Get());
        shownWidths.push_back(shownWidth(slot));
    }

    host.notArrived.clear();
    host.unready = 5;
    int updates = 0;
    while (app->m_hdLevel == 1 && updates < 100) {
        Update();
        Render();
        ++updates;
        ASSERT_EQ(app->m_loadStep, 0) << "the loading screen came back";
        if (app->m_hdLevel != 1) break;
        for (size_t i = 0; i < std::size(kImageSlotsLoaded); ++i) {
            ASSERT_EQ(app->m_images[kImageSlotsLoaded[i]].Get(), firstImages[i]) << "a slot changed before the rest";
        }
    }
    ASSERT_EQ(app->m_hdLevel, 4);
    // Ten steps load sheets, one an update, after five answers of "not yet".
    EXPECT_GE(updates, 15);
    EXPECT_EQ(host.levelsShown, (std::vector<int>{1, 4}));
    for (size_t i = 0; i < std::size(kImageSlotsLoaded); ++i) {
        const int slot = kImageSlotsLoaded[i];
        ASSERT_TRUE(app->m_images[slot]) << slot;
        EXPECT_NE(app->m_images[slot].Get(), firstImages[i]) << slot;
        EXPECT_EQ(shownWidth(slot), shownWidths[i]) << slot;
    }
    EXPECT_EQ(app->m_images[99]->m_width, 256 * 4);
    EXPECT_TRUE(Asked("menu-hd2.png"));

    // Sharper art half loaded when the window changes: the load the change starts takes over.
    host.notArrived = {"logo-hd2.png"};
    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    kp_app_ValidateDeviceWindow(false);
    Render();
    LoadWithFrames();
    EXPECT_EQ(app->m_hdLevel, 2);
    host.SetGlfwWindow(1280, 960, 8, 8, 8, 0, 0, 0, false);
    kp_app_ValidateDeviceWindow(false);
    Render();
    LoadWithFrames();
    ASSERT_EQ(app->m_hdLevel, 2) << "level 4 has not arrived";
    host.notArrived.clear();
    for (int i = 0; i < 4; ++i) Update();
    ASSERT_NE(app->m_sharpLevel, 0);
    host.SetGlfwWindow(800, 600, 8, 8, 8, 0, 0, 0, false);
    kp_app_ValidateDeviceWindow(false);
    Render();
    LoadWithFrames();
    EXPECT_EQ(app->m_hdLevel, 2);
    EXPECT_EQ(app->m_sharpLevel, 0);
    for (int slot = 0; slot < 100; ++slot) EXPECT_FALSE(app->m_sharpImages[slot]) << slot;
}
