// The progress record: the text it writes, exact round trips, and how each kind of damage is contained.
#include <climits>
#include <random>

#include "tests/support/app_fixture.h"

namespace {

std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        out.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    return out;
}

std::string Join(const std::vector<std::string>& fields) {
    std::string text;
    for (const auto& f : fields) text += f + "|";
    return text;
}

struct Record : AppFixture {
    // A fresh application object loading whatever the state file holds; answers what it printed.
    std::string LoadFresh() {
        app = MakeRef<c_MyApp>();
        app->m_settings[5] = 1;
        ::testing::internal::CaptureStdout();
        app->p_Load();
        return ::testing::internal::GetCapturedStdout();
    }
    void FillProgress(unsigned seed) {
        std::mt19937 random(seed);
        for (int i = 0; i < 25; ++i) app->m_settings[i] = static_cast<int>(random() % 200) - 20;
        app->m_settings[14] = 1;
        app->m_settings[10] = app->m_settings[11] = 64 + static_cast<int>(random() % 10);
        app->m_settings[12] = 8 + static_cast<int>(random() % 10);
        for (int k = 0; k < 256; ++k) app->m_badges[k] = random() % 3 == 0;
        for (int g = 0; g < 56; ++g) {
            for (int j = 0; j < 10; ++j) {
                app->m_scores[10 * g + j] = static_cast<int>(random() % 7);
                app->m_scores[5120 + 10 * g + j] = static_cast<int>(random() % 7);
            }
        }
    }
};

TEST_F(Record, FirstStartWritesTheDefaultRecord) {
    app->p_OnCreate();
    app->p_Save();
    const std::vector<std::string> f = Fields(StateFile());
    ASSERT_EQ(f.size(), 10892u);
    EXPECT_EQ(StateFile().back(), '|');
    EXPECT_EQ(f[5], "1");
    EXPECT_EQ(f[10], "64");
    EXPECT_EQ(f[11], "64");
    EXPECT_EQ(f[12], "10");
    EXPECT_EQ(f[14], "1");
    EXPECT_EQ(f[25], "1483");
    for (int k = 26; k <= 34; ++k) EXPECT_EQ(f[size_t(k)], "0");
    for (size_t i = 35; i < f.size(); ++i) ASSERT_EQ(f[i], "0") << "field " << i;
}

TEST_F(Record, RoundTripsEveryPlayableGroupExactly) {
    FillProgress(7);
    app->m_badges[31] = true;  // bit 31 makes the first word negative
    app->m_badges[255] = true;
    const Array<int> settings = app->m_settings;
    app->p_Save();
    StrongRef<c_MyApp> saved = app;
    EXPECT_EQ(LoadFresh(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    for (int i = 0; i < 25; ++i) EXPECT_EQ(app->m_settings[i], saved->m_settings[i]) << "setting " << i;
    for (int k = 0; k < 256; ++k) EXPECT_EQ(app->m_badges[k], saved->m_badges[k]) << "badge " << k;
    for (int g = 0; g < 56; ++g) {
        for (int j = 0; j < 10; ++j) {
            ASSERT_EQ(app->m_scores[10 * g + j], saved->m_scores[10 * g + j]);
            ASSERT_EQ(app->m_scores[5120 + 10 * g + j], saved->m_scores[5120 + 10 * g + j]);
        }
    }
    const int group = std::clamp(saved->m_settings[3], 0, 55);
    EXPECT_EQ(app->m_menuSel, group) << "the menu keeps to the groups it offers";
    EXPECT_FLOAT_EQ(app->m_wheelTarget, -32.0f * static_cast<float>(group));
    EXPECT_LT(std::stoll(Fields(StateFile())[26]), 0) << "badge word 0 with bit 31 set is written negative";
}

TEST_F(Record, RowChecksumWeighsBestAndLastResults) {
    int* best = &app->m_scores[20];
    int* last = &app->m_scores[5120 + 20];
    best[0] = 6, best[1] = 5, best[2] = 5;
    last[0] = 4, last[1] = 6;
    app->p_Save();
    const std::vector<std::string> f = Fields(StateFile());
    EXPECT_EQ(f[35 + 2 * 21 + 20], "135");
}

TEST_F(Record, WrongSettingsChecksumResetsOnlyTheSettings) {
    FillProgress(11);
    app->m_badges[3] = true;
    app->p_Save();
    std::vector<std::string> f = Fields(StateFile());
    f[5] = "2";  // edited without fixing C1
    WriteStateFile(Join(f));
    const int best = app->m_scores[10 * 40];
    EXPECT_EQ(LoadFresh(), "Settings Checksum Invalid\nBadges Loaded\nHighscores Loaded\n");
    EXPECT_EQ(app->m_settings[5], 1);
    EXPECT_EQ(app->m_settings[3], 0);
    EXPECT_EQ(app->m_settings[10], 64) << "the clamps still apply";
    EXPECT_TRUE(app->m_badges[3]);
    EXPECT_EQ(app->m_scores[10 * 40], best);
}

TEST_F(Record, WrongBadgeChecksumClearsOnlyTheFlags) {
    FillProgress(12);
    app->m_badges[40] = true;
    app->p_Save();
    std::vector<std::string> f = Fields(StateFile());
    f[34] = "12345";
    WriteStateFile(Join(f));
    const int last = app->m_scores[5120 + 10 * 7 + 3];
    const int setting = app->m_settings[2];
    EXPECT_EQ(LoadFresh(), "Settings Loaded\nBadge Checksum Invalid\nHighscores Loaded\n");
    for (int k = 0; k < 256; ++k) EXPECT_FALSE(app->m_badges[k]);
    EXPECT_EQ(app->m_scores[5120 + 10 * 7 + 3], last);
    EXPECT_EQ(app->m_settings[2], setting);
}

TEST_F(Record, WrongRowChecksumClearsThatGroupAlone) {
    FillProgress(13);
    app->m_scores[10 * 9] = 6;
    app->m_scores[10 * 10] = 5;
    app->p_Save();
    std::vector<std::string> f = Fields(StateFile());
    f[35 + 9 * 21 + 20] = "999999";
    WriteStateFile(Join(f));
    EXPECT_EQ(LoadFresh(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n") << "no message for a row";
    for (int j = 0; j < 10; ++j) {
        EXPECT_EQ(app->m_scores[90 + j], 0);
        EXPECT_EQ(app->m_scores[5120 + 90 + j], 0);
    }
    EXPECT_EQ(app->m_scores[100], 5);
}

TEST_F(Record, RecordCutInARowRestoresTheWholeRowsBeforeIt) {
    FillProgress(14);
    for (int j = 0; j < 10; ++j) app->m_scores[10 * 41 + j] = 3;
    app->p_Save();
    std::vector<std::string> f = Fields(StateFile());
    f.resize(35 + 40 * 21 + 7);  // seven fields into row 40
    WriteStateFile(Join(f));
    StrongRef<c_MyApp> saved = app;
    app = MakeRef<c_MyApp>();
    app->m_scores[10 * 41] = -5;  // what the game held before loading
    ::testing::internal::CaptureStdout();
    app->p_Load();
    ::testing::internal::GetCapturedStdout();
    for (int g = 0; g < 40; ++g) ASSERT_EQ(app->m_scores[10 * g + 4], saved->m_scores[10 * g + 4]) << g;
    EXPECT_EQ(app->m_scores[10 * 40], 0);
    EXPECT_EQ(app->m_scores[10 * 41], -5) << "rows past the cut keep what they had";
}

TEST_F(Record, ExactlyTwentyFiveFieldsCountAsInvalidSettings) {
    WriteStateFile("0|0|0|7|0|1|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|");
    EXPECT_EQ(LoadFresh(), "Settings Checksum Invalid\nHighscores Loaded\n");
    EXPECT_EQ(app->m_settings[3], 0);
}

TEST_F(Record, ClampsApplyWhateverTheFileSays) {
    app->m_settings[12] = 3;
    app->m_settings[10] = 5;
    app->m_settings[14] = 40;
    app->p_Save();
    EXPECT_EQ(LoadFresh(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    EXPECT_EQ(app->m_settings[12], 10);
    EXPECT_EQ(app->m_settings[10], 64);
    EXPECT_EQ(app->m_settings[11], 64);
    EXPECT_EQ(app->m_settings[14], 1);
}

TEST_F(Record, HostileTextLoadsWithoutHarm) {
    std::string hostile;
    for (int i = 0; i < 20000; ++i) hostile += (i % 3 ? "99999999999999999999|" : "-x|\xff\xfe|");
    WriteStateFile(hostile);
    LoadFresh();
    EXPECT_EQ(app->m_settings[14], 1);
    WriteStateFile(std::string(300000, '|'));
    EXPECT_EQ(LoadFresh(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n") << "all zeros add up";
    WriteStateFile("\xEF\xBB\xBF");
    EXPECT_EQ(LoadFresh(), "Highscores Loaded\n");
}

}  // namespace
