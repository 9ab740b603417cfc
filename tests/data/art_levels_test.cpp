// Tests of the art levels as the web build gets them: the files quorlix_art_levels writes out of
// game/art_levels.h, read the way the page (art-levels.js, run by Node.js) and the site's data split
// (web/split-data.cmake) read them.
// Depends on GoogleTest and game/art_levels.h. QUORLIX_ART_LEVELS names the tool, QUORLIX_CMAKE the build's
// cmake, QUORLIX_NODE Node.js (empty: the page's file is not run), QUORLIX_SOURCE_DIR the sources.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>      // popen
#include <cstdlib>     // std::system
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>    // getpid, for a private scratch folder
#include <vector>

#include "game/art_levels.h"

namespace fs = std::filesystem;

namespace {

class ArtLevelsOut : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = fs::temp_directory_path() / ("quorlix-art-levels-" + std::to_string(getpid()));
        fs::remove_all(scratch_);
        ASSERT_EQ(Run(std::string(QUORLIX_ART_LEVELS) + " " + (scratch_ / "levels").string()), 0);
    }
    void TearDown() override { fs::remove_all(scratch_); }

    static int Run(const std::string& command) { return std::system(command.c_str()); }

    // What a command prints.
    static std::string Output(const std::string& command) {
        std::string text;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[512];
            while (size_t got = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, got);
            pclose(pipe);
        }
        return text;
    }

    fs::path scratch_;
};

// Every level's files, a file kept in every window's package and the built-in font go to their packages; a name
// that only looks like a level's (a suffix not at the end) stays at the smallest level.
TEST_F(ArtLevelsOut, TheDataSplitPutsEachFileInItsLevelsPackage) {
    const fs::path data = scratch_ / "data", out = scratch_ / "packages";
    struct Case {
        std::string file, package;
    };
    std::vector<Case> cases = {{"dravo_font.png", std::string(art::kBasePackage)},
                               {"sfx/jingle.wav", std::string(art::kBasePackage)}};
    for (const art::Level& level : art::kLevels) {
        const std::string suffix(level.suffix), package(level.package);
        cases.push_back({"menu" + suffix + ".png", package});
        cases.push_back({"common/circle" + suffix + ".png", package});
    }
    const std::string largest(art::kLevels[0].suffix);
    cases.push_back({"odd" + largest + "x.png", std::string(art::kLevels[std::size(art::kLevels) - 1].package)});
    for (const Case& c : cases) {
        fs::create_directories((data / c.file).parent_path());
        std::ofstream(data / c.file) << c.file;
    }
    ASSERT_EQ(Run(std::string(QUORLIX_CMAKE) + " -DDATA=" + data.string() + " -DOUT=" + out.string() +
                  " -DLEVELS=" + (scratch_ / "levels" / "art-levels.cmake").string() + " -P " +
                  QUORLIX_SOURCE_DIR + "/web/split-data.cmake"),
              0);
    for (const Case& c : cases) {
        EXPECT_TRUE(fs::exists(out / c.package / "data" / c.file)) << c.file << " belongs in " << c.package;
        int copies = 0;
        for (const auto& package : fs::directory_iterator(out)) copies += fs::exists(package.path() / "data" / c.file);
        EXPECT_EQ(copies, 1) << c.file << " is in one package only";
    }
}

// The page's script holds every level as the game has it, from the largest down, and the base package.
TEST_F(ArtLevelsOut, ThePagesLevelsAreTheGames) {
    if (std::string(QUORLIX_NODE).empty()) GTEST_SKIP() << "no Node.js to run the page's file";
    const std::string script = (scratch_ / "levels" / "art-levels.js").string();
    const std::string printed =
        Output(std::string(QUORLIX_NODE) + " -e \"const vm = require('vm'); const c = {}; vm.createContext(c); " +
               "vm.runInContext(require('fs').readFileSync('" + script + "', 'utf8') + " +
               "';this.out = JSON.stringify(quorlixArtLevels)', c); console.log(c.out)\"");
    std::string expected = "{\"base\":\"" + std::string(art::kBasePackage) + "\",\"levels\":[";
    for (const art::Level& level : art::kLevels) {
        if (&level != art::kLevels) expected += ",";
        expected += "{\"level\":" + std::to_string(level.level) + ",\"side\":" + std::to_string(level.side) +
                    ",\"suffix\":\"" + std::string(level.suffix) + "\",\"package\":\"" + std::string(level.package) +
                    "\"}";
    }
    expected += "]}\n";
    EXPECT_EQ(printed, expected);
}

// Written again with nothing changed, the files keep their time, so the web build is not configured again.
TEST_F(ArtLevelsOut, AnUnchangedFileIsNotWrittenAgain) {
    const fs::path file = scratch_ / "levels" / "art-levels.cmake";
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(file, old);
    ASSERT_EQ(Run(std::string(QUORLIX_ART_LEVELS) + " " + (scratch_ / "levels").string()), 0);
    EXPECT_EQ(fs::last_write_time(file), old);
}

}  // namespace
