// The main menu's frame as the recording OpenGL stand-in sees it, with the build tree's art: at every art level
// and with four to seven groups on the wheel, the whole frame (clear, logo, strip, play button, hub, cogs, ring,
// each group's medal and name, the maker's logo) costs at most twelve draw calls.
#include "tests/support/app_fixture.h"
#include "tests/support/gl_recorder.h"

namespace {

constexpr int kButtonSlot = 95, kCogLayers = 3;

class MenuFrame : public AppFixture, public ::testing::WithParamInterface<std::pair<int, int>> {
protected:
    void SetUp() override {
        OpenWindow(GetParam().first, GetParam().second);
        app->p_OnCreate();
        Render();
        while (app->m_loadStep > 0) Frame();
        for (int i = 0; i < 60; ++i) Frame();  // the menu slides in
        ASSERT_EQ(app->m_state, 1);
    }
    void Frame() {
        fake.now += 1.0 / 60.0;
        Update();
        Render();
    }
    // Turns the wheel to a group as a walk of the wheel would leave it.
    void TurnTo(int group) {
        app->m_menuSel = group;
        app->m_wheelTarget = app->m_wheelAngle = -32.0f * static_cast<float>(group);
        for (int i = 0; i < 10; ++i) Frame();
    }
    int Groups() const {
        int medals = 0;
        for (int at = 0; at < app->m_drawCount; at += 15) medals += app->m_drawList[at] == kButtonSlot;
        return medals - kCogLayers;
    }
    // Draw calls of one render of the frame in the draw list.
    long DrawCalls() {
        glrec::ClearLog();
        Render();
        return glrec::Gl().drawCalls;
    }
};

TEST_P(MenuFrame, TakesAtMostTwelveDrawCallsWithFourToSevenGroups) {
    for (const auto& [group, groups] : {std::pair{0, 4}, {1, 5}, {2, 6}, {10, 7}}) {
        TurnTo(group);
        ASSERT_EQ(Groups(), groups) << "selected group " << group;
        EXPECT_LE(DrawCalls(), 12) << groups << " groups at art level " << app->m_hdLevel;
    }
}

// Art levels 1, 2 and 4.
INSTANTIATE_TEST_SUITE_P(ArtLevels, MenuFrame,
                         ::testing::Values(std::pair{480, 360}, std::pair{640, 480}, std::pair{1280, 1024}));

}  // namespace
