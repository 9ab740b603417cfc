// The catalogue's lookups, the random generator's sequence, and grid generation: the filling, the placement of
// every word inside the grid, the tutorial's directions, the resets of a new puzzle and its word list.
#include "tests/support/play_fixture.h"

namespace {

TEST(Catalogue, LooksUpWordsByRemainderAndNamesTheGroup) {
    kp_GetAWordFunc_Init();
    EXPECT_EQ(kp_GetAWordFunc_GroupName.ToUtf8(), "Group");
    EXPECT_EQ(kp_GetAWordFunc_GetAWord(0, 0).ToUtf8(), "TUTORIAL");
    EXPECT_EQ(kp_GetAWordFunc_GroupName.ToUtf8(), "Tutorial");
    EXPECT_EQ(kp_GetAWordFunc_GetAWord(3, 6).ToUtf8(), "APPLES");
    EXPECT_EQ(kp_GetAWordFunc_GetAWord(3, -1).ToUtf8(), "BANANAS") << "a negative remainder picks word 5";
    EXPECT_EQ(kp_GetAWordFunc_GetAWord(3, -4).ToUtf8(), "BANANAS");
    EXPECT_EQ(kp_GetAWordFunc_GetAWord(3, -6).ToUtf8(), "APPLES");
    EXPECT_EQ(kp_GetAWordFunc_GetAWord(21, 3).ToUtf8(), "LINKEDLN");
    EXPECT_EQ(kp_GetAWordFunc_GetAWord(56, 2).ToUtf8(), "PENTAGON");
    EXPECT_EQ(kp_GetAWordFunc_GroupName.ToUtf8(), "Geometry");
    kp_GetAWordFunc_GroupSize = 0;
    EXPECT_TRUE(kp_GetAWordFunc_GetAWord(57, 0).Empty());
    EXPECT_TRUE(kp_GetAWordFunc_GetAWord(-1, 0).Empty());
    EXPECT_EQ(kp_GetAWordFunc_GroupName.ToUtf8(), "Geometry") << "an unknown group leaves the name alone";
    EXPECT_EQ(kp_GetAWordFunc_GroupSize, 6);
}

TEST(Catalogue, EveryGroupHoldsSixCapitalWordsThatFitTheGrid) {
    for (int group = 0; group <= 56; ++group) {
        for (int word = 0; word < 6; ++word) {
            const String text = kp_GetAWordFunc_GetAWord(group, word);
            EXPECT_GE(text.Length(), 4) << group;
            EXPECT_LE(text.Length(), 12) << group;
            for (int i = 0; i < text.Length(); ++i) EXPECT_TRUE(text[i] >= 'A' && text[i] <= 'Z') << group;
        }
        EXPECT_LE(kp_GetAWordFunc_GroupName.Length(), 20) << group;
    }
}

TEST(Generator, StepsFromItsStartValueAndFromASeed) {
    kp_random_Init();
    EXPECT_EQ(kp_random_Seed, 1234);
    EXPECT_FLOAT_EQ(kp_random_Rnd(), 0.71430767f);
    EXPECT_EQ(static_cast<uint32_t>(kp_random_Seed), 0xb6dcde09u);
    EXPECT_FLOAT_EQ(kp_random_Rnd2(10, 20), 10 + 10 * 0.20701307f);
    EXPECT_FLOAT_EQ(kp_random_Rnd3(2), 2 * 0.74954182f);

    c_MyApp app;
    app.p_SeedRnd(5);
    EXPECT_EQ(kp_random_Seed, -84654044) << "the seed advanced 21 steps";
    EXPECT_FLOAT_EQ(kp_random_Rnd(), 0.35584956f);
    int seen[5] = {};
    for (int i = 0; i < 2000; ++i) {
        const int n = app.p_Rand(0, 3);
        ASSERT_TRUE(n >= 0 && n <= 3) << n;
        ++seen[n];
    }
    for (int n = 0; n < 4; ++n) EXPECT_GT(seen[n], 300) << n;
}

class Grids : public PlayFixture {
protected:
    // The direction (0 across, 1 down, 2 backwards, 3 up) in which the word in play reads from its first letter.
    int LaidDirection() const {
        const int x = static_cast<int>(Slot(play::kFirstLetterX)), y = static_cast<int>(Slot(play::kFirstLetterY));
        const int dx[4] = {1, 0, -1, 0}, dy[4] = {0, 1, 0, -1};
        for (int d = 0; d < 4; ++d) {
            bool reads = true;
            for (int i = 0; i < app->m_word.Length() && reads; ++i) {
                const int cx = x + dx[d] * i, cy = y + dy[d] * i;
                reads = cx >= 0 && cx < 13 && cy >= 0 && cy < 13 && Letter(cx, cy) == app->m_word[i];
            }
            if (reads) return d;
        }
        return -1;
    }
};

TEST_F(Grids, ANewPuzzleLaysItsFirstWordOverItsOwnLettersAndListsTheGroup) {
    app->m_player[510] = 42;  // beyond the play values
    app->m_gameNum = 1;
    app->m_state = 11;
    Frame();
    EXPECT_EQ(app->m_state, 10);
    EXPECT_EQ(app->m_word.ToUtf8(), "TUTORIAL");
    EXPECT_EQ(app->m_wordLast, 7);
    EXPECT_EQ(Slot(play::kWordCounter), 0);
    EXPECT_EQ(Slot(play::kCursorX), 6);
    EXPECT_EQ(Slot(play::kCursorY), 6);
    EXPECT_EQ(Slot(510), 42) << "a new puzzle clears play values 0..499 only";
    EXPECT_EQ(app->m_wordList[0].ToUtf8(), "Tutorial");
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(app->m_wordList[i].ToUtf8(), "???");
    EXPECT_EQ(LaidDirection(), 0);
    for (int x = 0; x < 13; ++x) {
        for (int y = 0; y < 13; ++y) {
            EXPECT_NE(String("TUORIAL").Find(String::FromChar(Letter(x, y))), -1);
            EXPECT_EQ(app->m_grid[c_MyApp::kGridOffsets + play::Cell(x, y)], -960.0f) << "two screens up";
            const float speed = app->m_grid[c_MyApp::kGridSpeeds + play::Cell(x, y)];
            EXPECT_TRUE(speed >= 8 && speed <= 16) << speed;
        }
    }
    EXPECT_EQ(app->m_grid[play::Cell(13, 0)], 0.0f) << "entries past column 12 are never written";
}

TEST_F(Grids, TheTutorialForcesEachWordsDirection) {
    const int expected[5] = {0, 0, 1, 2, 3};
    app->m_gameNum = 1;
    for (int trial = 0; trial < 20; ++trial) {
        app->p_LoadGame();
        for (int word = 0; word < 5; ++word) {
            EXPECT_EQ(LaidDirection(), expected[word]) << app->m_word.ToUtf8();
            fake.now += 0.017;
            app->p_Jumble(0);
        }
    }
}

TEST_F(Grids, TwelveLetterWordsFitInEveryDirection) {
    // Group 7's first word is MASTERSYSTEM: laid across it starts in column 0 or 1, backwards in 11 or 12.
    int seen[4] = {};
    for (int trial = 0; trial < 400; ++trial) {
        fake.now += 0.001;
        app->m_player[play::kWordCounter] = -1;
        app->p_Jumble(7);
        ASSERT_EQ(app->m_word.ToUtf8(), "MASTERSYSTEM");
        const int d = LaidDirection();
        ASSERT_GE(d, 0) << "the word lies inside the grid";
        ++seen[d];
        const int x = static_cast<int>(Slot(play::kFirstLetterX)), y = static_cast<int>(Slot(play::kFirstLetterY));
        const int along = d == 0 || d == 2 ? x : y;
        EXPECT_TRUE(d < 2 ? along <= 1 : along >= 11) << "direction " << d << " starts at " << along;
    }
    for (int d = 0; d < 4; ++d) EXPECT_GT(seen[d], 40) << d;
}

TEST_F(Grids, GoingPastTheSixthWordEndsThePuzzleAndLaysWordZeroAgain) {
    app->m_gameNum = 4;
    app->p_LoadGame();
    app->m_player[play::kWordCounter] = 4;
    app->p_Jumble(3);
    EXPECT_EQ(app->m_puzzleDone, 0);
    EXPECT_EQ(app->m_word.ToUtf8(), "BANANAS");
    app->p_Jumble(3);
    EXPECT_EQ(app->m_puzzleDone, 1);
    EXPECT_EQ(app->m_wordNum, 6);
    EXPECT_EQ(app->m_word.ToUtf8(), "APPLES");
}

}  // namespace
