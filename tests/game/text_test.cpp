// Text layout and hit tests: where p_Text puts each glyph (alignment, kerning, scale, rotation, line breaks, the
// icon escapes in each control mode and in the blink), p_rstr, and the edges of every pointer test.
#include <vector>

#include "tests/support/app_fixture.h"

namespace {

constexpr int kFontSlot = 5;

struct Glyph {
    float x, y;
    int frame;
};

class TextTest : public AppFixture {
protected:
    TextTest() {
        OpenWindow(640, 480);
        UseFont(10, 10);
        app->p_CLS2D(0, 0, 0, 1);
    }

    // A font of the given advance and line height in slot 5, the current font.
    void UseFont(int advance, int lineHeight) {
        app->m_font = kFontSlot;
        app->m_imageInfo[kFontSlot * 3] = advance;
        app->m_imageInfo[kFontSlot * 3 + 1] = lineHeight;
    }

    // Records text afresh and returns its glyph records.
    std::vector<Glyph> Layout(const char* text, float alignX = 0, float alignY = 1) {
        app->m_drawCount = 0;
        app->p_Text(100, 50, String(text), alignX, alignY, 0);
        std::vector<Glyph> glyphs;
        for (int at = 0; at < app->m_drawCount; at += 15) {
            const float* r = &app->m_drawList[at];
            EXPECT_EQ(r[0], app->m_font);
            glyphs.push_back({r[1], r[2], static_cast<int>(r[6])});
        }
        return glyphs;
    }

    // Holds touch slot i at (x, y) in virtual units, as an update would have prepared it.
    void Hold(int i, int x, int y) {
        app->m_touchDown[i] = 1;
        app->m_touchX[i] = x;
        app->m_touchY[i] = y;
        app->m_pointerDown = 1;
    }
    void ReleaseAll() {
        for (int i = 0; i < 10; ++i) app->m_touchDown[i] = 0, app->m_touchX[i] = app->m_touchY[i] = -3717;
        app->m_pointerDown = 0;
    }
};

TEST_F(TextTest, PenStartsAfterTheLeadingSpaceAndAlignsOnTheMeasuredWidth) {
    auto g = Layout("Hi");
    ASSERT_EQ(g.size(), 2u) << "the leading space is never drawn";
    EXPECT_FLOAT_EQ(g[0].x, 110);
    EXPECT_EQ(g[0].frame, 'H' - 32);
    EXPECT_FLOAT_EQ(g[1].x, 120);
    EXPECT_FLOAT_EQ(g[0].y, 50);

    // Width 20 (the space and "H"): centred starts the pen at 90, right-aligned at 80.
    EXPECT_FLOAT_EQ(Layout("Hi", 1)[0].x, 100);
    EXPECT_FLOAT_EQ(Layout("Hi", 2)[0].x, 90);
    // alignY 0 puts the line's top at y: the centre-handled glyphs sit half a line lower; 2 half a line higher.
    EXPECT_FLOAT_EQ(Layout("Hi", 0, 0)[0].y, 55);
    EXPECT_FLOAT_EQ(Layout("Hi", 0, 2)[0].y, 45);

    EXPECT_TRUE(Layout("").empty());
    app->m_font = 100;  // past the last slot: no font info, nothing recorded
    EXPECT_TRUE(Layout("x").empty());
}

TEST_F(TextTest, KerningChangesTheAdvanceAndTheMeasuredWidth) {
    auto g = Layout("wix");
    EXPECT_FLOAT_EQ(g[1].x, 122) << "w advances 12";
    EXPECT_FLOAT_EQ(g[2].x, 129) << "i advances 7";
    EXPECT_FLOAT_EQ(Layout("wix", 2)[0].x, 100 - 29 + 10) << "width: space 10, w 12, i 7";

    UseFont(7, 10);  // the game's fonts: the table holds, so "H" advances 7 and "i" 4
    g = Layout("Hix");
    EXPECT_FLOAT_EQ(g[1].x, 114);
    EXPECT_FLOAT_EQ(g[2].x, 118);
    g = Layout("MWjsk");
    EXPECT_FLOAT_EQ(g[1].x - g[0].x, 8);
    EXPECT_FLOAT_EQ(g[2].x - g[1].x, 8);
    EXPECT_FLOAT_EQ(g[3].x - g[2].x, 6);
}

TEST_F(TextTest, ScaledWidthIsTruncatedAfterEachCharacterButThePenIsNot) {
    UseFont(7, 10);
    app->p_SetSize(1.5f, -3717);
    auto g = Layout("ab", 2);
    // Width: trunc(10.5) = 10, then trunc(10 + 10.5) = 20.
    EXPECT_FLOAT_EQ(g[0].x, 80 + 10.5f);
    EXPECT_FLOAT_EQ(g[1].x, 80 + 21.0f);
    app->p_SetSize(1, 3);
    EXPECT_FLOAT_EQ(Layout("a", 0, 0)[0].y, 50 + 15) << "half a line of height 30";
}

TEST_F(TextTest, RotatedTextRunsAlongItsAngle) {
    app->p_SetRot(90);
    auto g = Layout("Hi");
    EXPECT_NEAR(g[0].x, 100, 1e-4);
    EXPECT_NEAR(g[0].y, 60, 1e-4);
    EXPECT_NEAR(g[1].y, 70, 1e-4);
    EXPECT_EQ(app->m_drawList[3], -90) << "each glyph carries the rotation";
    // Centred: the start moves back along the text by half the width.
    EXPECT_NEAR(Layout("Hi", 1)[0].y, 50, 1e-4);
}

TEST_F(TextTest, LineBreaksStartOneAdvanceRightOfTheFirstLineAndALineLower) {
    auto g = Layout("a\\nb\\nc");
    ASSERT_EQ(g.size(), 3u) << "backslash and n draw nothing";
    EXPECT_FLOAT_EQ(g[0].x, 110);
    EXPECT_FLOAT_EQ(g[1].x, 110);
    EXPECT_FLOAT_EQ(g[1].y, 60);
    EXPECT_FLOAT_EQ(g[2].x, 110);
    EXPECT_FLOAT_EQ(g[2].y, 70);
    // A backslash before anything else is an ordinary glyph.
    g = Layout("a\\b");
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[1].frame, '\\' - 32);
}

TEST_F(TextTest, IconEscapesFollowTheControlModeAndBlink) {
    auto icon = [&](const char* text) { return Layout(text)[0].frame; };
    app->m_controlMode = 0;
    EXPECT_EQ(icon("\xAC" "J"), 112) << "keyboard keycap";
    EXPECT_EQ(icon("\xAC" "U"), 116);

    app->m_controlMode = 1;
    fake.now = 10.100;  // 100 ms into a 500 ms period: pressed forms show
    EXPECT_EQ(icon("\xAC" "J"), 109);
    EXPECT_EQ(icon("\xAC" "O"), 110);
    EXPECT_EQ(icon("\xAC" "Q"), 102) << "no pressed form";
    EXPECT_EQ(icon("\xAC" "D"), 104);
    fake.now = 10.300;
    EXPECT_EQ(icon("\xAC" "J"), 96);
    fake.now = 10.699;
    EXPECT_EQ(icon("\xAC" "J"), 109);

    app->m_controlMode = 2;  // pointer: pad icons that never blink
    fake.now = 10.100;
    EXPECT_EQ(icon("\xAC" "J"), 96);

    // An icon advances by its own adjust (4, or 6 for the shoulders); it counts 2 in the measured width.
    auto g = Layout("\xAC" "Jx");
    EXPECT_FLOAT_EQ(g[1].x - g[0].x, 14);
    g = Layout("\xAC" "Ux");
    EXPECT_FLOAT_EQ(g[1].x - g[0].x, 16);
    EXPECT_FLOAT_EQ(Layout("\xAC" "Jx", 2)[0].x, 100 - 22 + 10);
    // "¬" as the last character has no letter to take: an undrawn character that advances.
    g = Layout("a" "\xAC");
    EXPECT_EQ(g.size(), 1u);
}

TEST_F(TextTest, RstrPadsOnTheLeftAndKeepsTheLastCharacters) {
    EXPECT_EQ(app->p_rstr(42, 5, String("0")).ToUtf8(), "00042");
    EXPECT_EQ(app->p_rstr(123456, 3, String("0")).ToUtf8(), "456");
    EXPECT_EQ(app->p_rstr(-7, 4, String(" ")).ToUtf8(), "  -7");
    EXPECT_EQ(app->p_rstr(5, 3, String("ab")).ToUtf8(), "ab5");
    EXPECT_EQ(app->p_rstr(5, 0, String("0")).ToUtf8(), "");
}

TEST_F(TextTest, TouchAcceptsAMarginOfSixBeforeAndTwelveAfter) {
    ReleaseAll();
    auto touch = [&](int x, int y) {
        ReleaseAll();
        Hold(4, x, y);
        return app->p_Touch(84, 100, 200, 24);
    };
    EXPECT_EQ(touch(80, 97), 1);
    EXPECT_EQ(touch(295, 135), 1);
    EXPECT_EQ(touch(77, 110), 0);
    EXPECT_EQ(touch(78, 110), 0) << "the edges themselves are outside";
    EXPECT_EQ(touch(296, 110), 0);
    EXPECT_EQ(touch(100, 94), 0);
    EXPECT_EQ(touch(100, 136), 0);
    const float* last = &app->m_drawList[app->m_drawCount - 15];
    EXPECT_EQ(last[0], -3717) << "the rectangle is recorded";
    EXPECT_EQ(last[4], 200);
}

TEST_F(TextTest, RectangleAndRadiusTestsKeepTheirEdges) {
    ReleaseAll();
    Hold(0, 14, 0);
    EXPECT_EQ(app->p_MouseIn_Radius(0, 0, 20, 20), 1) << "196 <= 200";
    ReleaseAll();
    Hold(0, 15, 0);
    EXPECT_EQ(app->p_MouseIn_Radius(0, 0, 20, 20), 0);

    ReleaseAll();
    Hold(7, 11, 29);
    EXPECT_EQ(app->p_MouseIn(10, 10, 20, 20), 1);
    EXPECT_EQ(app->p_MouseIn(11, 10, 20, 20), 0) << "strictly inside";
    EXPECT_EQ(app->p_MouseIn(10, 9, 20, 20), 0);
    EXPECT_EQ(app->p_MouseIn_Centered(20, 20, 20, 20), 1);
    EXPECT_EQ(app->p_MouseIn_Centered(21, 20, 20, 20), 0);
    EXPECT_EQ(app->p_MouseIn_Centered(20, 19, 20, 20), 0);

    // A slot that is not held never counts, wherever its position says.
    ReleaseAll();
    app->m_touchX[2] = app->m_touchY[2] = 15;
    EXPECT_EQ(app->p_MouseIn(10, 10, 20, 20), 0);
    EXPECT_EQ(app->p_MouseIn_Radius(-3717, -3717, 4, 4), 0);
}

TEST_F(TextTest, ButtonHitsInsideTheScaledImageWhileThePointerIsDown) {
    // A 32 x 32 icon loaded at art level 2: 64 art pixels, half a unit each.
    app->m_imageInfo[97 * 3] = app->m_imageInfo[97 * 3 + 1] = 64;
    app->m_imageScale = 0.5f;
    ReleaseAll();
    Hold(0, 115, 100);
    EXPECT_EQ(app->p_Button(97, 100, 100, 3), 1);
    EXPECT_EQ(app->m_buttonHit, 1);
    EXPECT_EQ(app->m_drawList[app->m_drawCount - 15], 97) << "the image is recorded";
    EXPECT_EQ(app->m_drawList[app->m_drawCount - 15 + 6], 3);
    ReleaseAll();
    Hold(0, 116, 100);
    EXPECT_EQ(app->p_Button(97, 100, 100, 3), 0);
    EXPECT_EQ(app->m_buttonHit, 0);
    app->p_SetSize(2, -3717);
    EXPECT_EQ(app->p_Button(97, 100, 100, 3), 1) << "the draw scale widens it";
    app->m_pointerDown = 0;
    EXPECT_EQ(app->p_Button(97, 100, 100, 3), 0);
    app->m_pointerDown = 1;
    EXPECT_EQ(app->p_Button(100, 100, 100, 3), 0) << "no slot 100";
}

}  // namespace
