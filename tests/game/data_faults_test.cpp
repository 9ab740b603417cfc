// Missing and damaged data files: the whole loader runs over a data folder with files taken away, garbled or of
// the wrong size; the game tells the player once per file which one and what it does without it, leaves exactly
// those slots empty and plays on; a data folder missing altogether is told once, not file by file.
#include <filesystem>

#include "host/notices.h"
#include "tests/support/app_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr int kImageSlotsLoaded[] = {10, 11, 80, 85, 86, 90, 93, 94, 95, 96, 97, 98, 99};
constexpr int kCuesLoaded[] = {1, 2, 3, 4, 5, 95, 96, 98, 99};

class DataFaults : public AppFixture {
protected:
    DataFaults() {
        kpForgetNotices();
        data = folder + "/data";
        fs::copy(QUORLIX_BINARY_DIR "/data", data, fs::copy_options::recursive);
        host.dataFolder = data;
    }
    // Creates the application in a 640 x 480 window and runs the loading updates; answers standard error.
    std::string StartAndLoad() {
        OpenWindow(640, 480);
        ::testing::internal::CaptureStderr();
        ::testing::internal::CaptureStdout();
        app->p_OnCreate();
        Render();
        for (int i = 0; i < 15; ++i) Update();
        ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(app->m_loadStep, 0);
        return WithoutStateLines(::testing::internal::GetCapturedStderr());
    }
    // Standard error without the first run's line about the state file, which every fresh test folder gets.
    static std::string WithoutStateLines(const std::string& text) {
        std::string out;
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = text.find('\n', start);
            const std::string line = text.substr(start, end - start + 1);
            if (line.find("no saved progress yet") == std::string::npos) out += line;
            start = end == std::string::npos ? text.size() : end + 1;
        }
        return out;
    }
    // Plays a stretch of the menu and of a puzzle on the dark scheme, whose letters are the white font.
    void PlayOn() {
        app->m_settings[1] = 1;
        for (int i = 0; i < 60; ++i) Update(), Render();
        app->m_gameNum = 3;
        app->m_state = 11;
        for (int i = 0; i < 400; ++i) Update(), Render();
        EXPECT_EQ(app->m_state, 10) << "play goes on";
    }
    std::string data;
};

TEST_F(DataFaults, EachMissingOrDamagedFileIsToldOnceAndOnlyItsSlotStaysEmpty) {
    // A 640 x 480 window takes the art of level 2, the files named "-hd".
    fs::remove(data + "/common/light-hd.png");
    fs::resize_file(data + "/fonts/Mira_White-hd.png", 100);  // the signature and part of the header
    fs::copy_file(data + "/parts-hd.png", data + "/menu-hd.png", fs::copy_options::overwrite_existing);
    fs::resize_file(data + "/sfx/004.wav", 30);

    const std::string told = StartAndLoad();
    const std::string menu = "Quorlix: " + data + "/menu-hd.png is 256x256 pixels, too small for the 4 pictures of "
                             "512x512 it should hold (damaged or replaced); the game runs without it.\n";
    const std::string light = "Quorlix: " + data + "/common/light-hd.png is missing; the game runs without it.\n";
    const std::string font = "Quorlix: " + data + "/fonts/Mira_White-hd.png is damaged and cannot be shown; the game "
                             "runs without it.\n";
    const std::string sound = "Quorlix: " + data + "/sfx/004.wav is damaged or not a sound the game can play; the "
                              "game runs without that sound.\n";
    // In loading order: the menu art at step 6, the glow at 8, the white font at 9, the sound at 13.
    EXPECT_EQ(told, menu + light + font + sound);

    for (int slot : kImageSlotsLoaded) {
        EXPECT_EQ(static_cast<bool>(app->m_images[slot]), slot != 99 && slot != 86 && slot != 10) << "slot " << slot;
    }
    for (int cue : kCuesLoaded) EXPECT_EQ(static_cast<bool>(app->m_sounds[cue]), cue != 4) << "cue " << cue;

    // A reload at level 1 tells nothing, one at level 2 again nothing twice.
    ::testing::internal::CaptureStderr();
    for (int size : {600, 640}) {
        host.SetGlfwWindow(size, size * 3 / 4, 8, 8, 8, 0, 0, 0, false);
        kp_app_ValidateDeviceWindow(false);
        Render();
        for (int i = 0; i < 15; ++i) Update();
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    PlayOn();
}

TEST_F(DataFaults, AMissingDataFolderIsToldOnceAndTheGameStillRuns) {
    fs::remove_all(data);
    EXPECT_EQ(StartAndLoad(), "Quorlix: the game's data folder " + data +
                                  " is missing; the game runs without pictures and sounds. Your progress is not "
                                  "affected.\n");
    for (int slot : kImageSlotsLoaded) EXPECT_FALSE(app->m_images[slot]) << "slot " << slot;
    for (int cue : kCuesLoaded) EXPECT_FALSE(app->m_sounds[cue]) << "cue " << cue;
    PlayOn();
}

}  // namespace
