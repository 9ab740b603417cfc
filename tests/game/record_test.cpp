// The progress record: the text it writes, a stored record read and written back exactly, exact round trips, and
// how each kind of damage is contained.
#include <climits>
#include <map>
#include <random>
#include <set>

#include "host/notices.h"
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

// A record written out as a player's file holds it loads into exactly its fields, and saving those fields gives the
// same text byte for byte. NOTE: a change to the order of fields or bits, made to saving and loading alike, still
// round-trips; this text is what tells that every stored record would then load as damaged.
TEST_F(Record, AStoredRecordLoadsIntoItsFieldsAndSavesBackByteForByte) {
    // Settings: dark colours, group 17 played last, sound quiet, music at the second level, the on-screen pad at
    // (96, 72) and size 12, the left stick normal and the right one flipped, -7 in the last entry; their checksum.
    std::string text = "0|1|0|17|0|1|2|1|0|0|96|72|12|0|1|1|0|0|0|0|0|0|0|0|-7|1833|";
    // Badge words: flags 0 and 31 (a negative word), 98 and 101, and 255 alone (bit 31 only); their sum wraps to 37.
    text += "-2147483647|0|0|36|0|0|0|-2147483648|37|";
    // Rows: best and last results in turn, then the row's checksum, for groups 0, 2, 17 and 55. Rows 512 and 514
    // repeat the last results of groups 0 and 2 as best results.
    const std::map<int, std::string> rows = {
        {0, "6|5|6|6|5|6|0|0|0|0|0|0|0|0|0|0|0|0|0|0|153|"},
        {2, "4|3|3|4|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|70|"},
        {17, "6|2|2|6|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|200|"},
        {55, "3|3|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|186|"},
        {512, "5|0|6|0|6|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|86|"},
        {514, "3|0|4|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|32|"},
    };
    std::string zeros;
    for (int i = 0; i < 21; ++i) zeros += "0|";
    for (int r = 0; r < 517; ++r) text += rows.contains(r) ? rows.at(r) : zeros;
    ASSERT_EQ(Fields(text).size(), 10892u);

    WriteStateFile(text);
    EXPECT_EQ(LoadFresh(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    const int settings[25] = {0, 1, 0, 17, 0, 1, 2, 1, 0, 0, 96, 72, 12, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, -7};
    for (int i = 0; i < 25; ++i) EXPECT_EQ(app->m_settings[i], settings[i]) << "setting " << i;
    const std::set<int> flags = {0, 31, 98, 101, 255};
    for (int k = 0; k < 256; ++k) EXPECT_EQ(app->m_badges[k], flags.contains(k)) << "badge " << k;
    // Best results of group g at 10g on, last results at 5120 + 10g on; every other entry stays 0.
    const std::map<int, int> scores = {{0, 6},    {1, 6},    {2, 5},     {5120, 5},  {5121, 6},  {5122, 6},
                                       {20, 4},   {21, 3},   {5140, 3},  {5141, 4},  {170, 6},   {171, 2},
                                       {5290, 2}, {5291, 6}, {550, 3},   {5670, 3}};
    for (int i = 0; i < 25600; ++i) {
        ASSERT_EQ(app->m_scores[i], scores.contains(i) ? scores.at(i) : 0) << "entry " << i;
    }
    EXPECT_EQ(app->m_menuSel, 17);

    app->p_Save();
    EXPECT_EQ(StateFile(), text);
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

// Every field at the ends of the 32-bit range, with checksums that wrap: the record round-trips exactly and the
// menu, the options box and a puzzle run on such values without an overflow (UBSan watches in a sanitizer build).
TEST_F(Record, FieldsAtTheThirtyTwoBitLimitsRoundTripAndPlayOn) {
    for (int i = 0; i < 25; ++i) app->m_settings[i] = i % 2 ? INT_MAX : INT_MIN;
    app->m_settings[10] = app->m_settings[11] = app->m_settings[12] = INT_MAX;  // the clamps keep large values
    app->m_settings[14] = 1;
    app->m_badges.Fill(true);  // every word -1
    for (int i = 0; i < 25600; ++i) app->m_scores[i] = i % 3 ? INT_MAX : INT_MIN;
    app->p_Save();
    StrongRef<c_MyApp> saved = app;
    EXPECT_EQ(LoadFresh(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    for (int i = 0; i < 25; ++i) EXPECT_EQ(app->m_settings[i], saved->m_settings[i]) << "setting " << i;
    for (int k = 0; k < 256; ++k) ASSERT_TRUE(app->m_badges[k]);
    for (int i = 0; i < 5120 + 560; ++i) ASSERT_EQ(app->m_scores[i], saved->m_scores[i]) << "entry " << i;

    OpenWindow(640, 480);
    ::testing::internal::CaptureStdout();
    app->p_OnCreate();
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(app->m_menuSel, 55) << "a group beyond the last selects the last";
    Render();
    for (int i = 0; i < 40; ++i) Update(), Render();
    app->m_optionsOpen = 1;
    for (int i = 0; i < 60; ++i) Update(), Render();
    app->m_optionsOpen = 0;
    app->m_gameNum = 2;
    app->m_state = 11;
    for (int i = 0; i < 300; ++i) Update(), Render();
    EXPECT_EQ(app->m_state, 10);
}

// Records with too few or too many fields restore every whole section and row they hold, and nothing else.
TEST_F(Record, WrongFieldCountsRestoreWhatIsWholeAndNoMore) {
    FillProgress(21);
    app->p_Save();
    const std::vector<std::string> whole = Fields(StateFile());
    StrongRef<c_MyApp> saved = app;
    auto cut = [&](size_t n) {
        std::vector<std::string> f(whole.begin(), whole.begin() + static_cast<long>(std::min(n, whole.size())));
        return f;
    };

    WriteStateFile(Join(cut(26)));
    EXPECT_EQ(LoadFresh(), "Settings Loaded\nHighscores Loaded\n");
    EXPECT_EQ(app->m_settings[7], saved->m_settings[7]);
    WriteStateFile(Join(cut(33)));
    EXPECT_EQ(LoadFresh(), "Settings Loaded\nHighscores Loaded\n") << "seven badge words: the section is skipped";
    WriteStateFile(Join(cut(34)));
    EXPECT_EQ(LoadFresh(), "Settings Loaded\nBadge Checksum Invalid\nHighscores Loaded\n")
        << "eight words: the empty field after the last bar is the checksum, 0";
    WriteStateFile(Join(cut(35)));
    EXPECT_EQ(LoadFresh(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    EXPECT_EQ(app->m_scores[0], 0) << "no row was there";

    // Every row that is read, without the five that never are: all of it loads.
    WriteStateFile(Join(cut(35 + 512 * 21)));
    EXPECT_EQ(LoadFresh(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    for (int i = 0; i < 560; ++i) ASSERT_EQ(app->m_scores[i], saved->m_scores[i]);

    // Junk after a whole record is never read.
    std::vector<std::string> longer = whole;
    for (int i = 0; i < 5000; ++i) longer.push_back(i % 2 ? "-1" : "2147483647");
    WriteStateFile(Join(longer));
    EXPECT_EQ(LoadFresh(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    for (int i = 0; i < 560; ++i) ASSERT_EQ(app->m_scores[i], saved->m_scores[i]);
    for (int i = 0; i < 560; ++i) ASSERT_EQ(app->m_scores[5120 + i], saved->m_scores[5120 + i]);
}

// Bytes that never were a record, and a state file of 100 MB: loading neither crashes nor takes the memory such a
// file would need, and the next save writes a whole record over it.
TEST_F(Record, BinaryJunkAndAHundredMegabytesLoadWithoutHarm) {
    std::mt19937 random(5);
    for (int round = 0; round < 20; ++round) {
        std::string junk(static_cast<size_t>(random() % 200000), '\0');
        for (char& c : junk) c = random() % 7 == 0 ? '|' : static_cast<char>(random());
        WriteStateFile(junk);
        LoadFresh();
        EXPECT_EQ(app->m_settings[14], 1);
        EXPECT_GE(app->m_menuSel, 0);
        EXPECT_LE(app->m_menuSel, 55);
    }
    {
        std::ofstream out(std::string(folder) + "/.zindlestate", std::ios::binary);
        const std::string block = std::string(1 << 20, '\xff') + "|";
        for (int i = 0; i < 100; ++i) out << block;
    }
    LoadFresh();
    app->p_Save();
    EXPECT_EQ(Fields(StateFile()).size(), 10892u);
}

// Beside the load messages on standard output, the player is told on standard error what was damaged and what
// was kept.
TEST_F(Record, DamageIsToldToThePlayerBesideTheLoadMessages) {
    kpForgetNotices();
    FillProgress(22);
    app->p_Save();
    std::vector<std::string> f = Fields(StateFile());
    f[5] = "2";
    f[35 + 9 * 21 + 20] = "1";
    f[35 + 30 * 21 + 20] = "1";
    f.resize(35 + 40 * 21 + 3);
    WriteStateFile(Join(f));
    const std::string state = std::string(folder) + "/.zindlestate";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(LoadFresh(), "Settings Checksum Invalid\nBadges Loaded\nHighscores Loaded\n");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Quorlix: the settings saved in " + state +
                  " were damaged and are back to their defaults; your results are kept.\n"
                  "Quorlix: the results of 2 groups saved in " + state +
                  " were damaged and have been cleared; the rest of your progress is kept.\n"
                  "Quorlix: the progress saved in " + state +
                  " ends early (the file was cut short); what it holds is loaded, and the rest starts afresh.\n");
}

}  // namespace
