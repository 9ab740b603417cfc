// Files: asset names, virtual roots beside the executable, the data folder of an installed game, decoding whole
// files as text, and a state store that never loses the previous record to a failed write.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/files.h"
#include "host/desktop/glfwgame.h"
#include "host/notices.h"

namespace {

std::string Bytes(const String& s) { return s.ToBytes(); }

String Decode(std::initializer_list<unsigned char> bytes) { return DecodeFileText(std::vector<unsigned char>(bytes)); }

TEST(AssetNames, BareNamesGoIntoTheDataFolder) {
    EXPECT_EQ(Bytes(kp_data_FixDataPath(String("graphics/logo.png"))), "zindle://data/graphics/logo.png");
    EXPECT_EQ(Bytes(kp_data_FixDataPath(String("c:/x.png"))), "c:/x.png");
    EXPECT_EQ(Bytes(kp_data_FixDataPath(String("/x.png"))), "/x.png");
    EXPECT_EQ(Bytes(kp_data_FixDataPath(String("./x.png"))), "./x.png");
    EXPECT_EQ(Bytes(kp_data_FixDataPath(String("a/b:/c"))), "zindle://data/a/b:/c");
    EXPECT_EQ(Bytes(kp_data_FixDataPath(String("zindle://internal/s.txt"))), "zindle://internal/s.txt");
}

// A desktop host whose executable stands where the test says.
struct PlacedHost : KpGlfwGame {
    explicit PlacedHost(const char* folder) { _appDir = String(folder); }
};

TEST(AssetNames, VirtualRootsMapBesideTheExecutable) {
    PlacedHost host("C:/Games/Q");
    EXPECT_EQ(Bytes(host.PathToFilePath(String("zindle://data/font.png"))), "C:/Games/Q/data/font.png");
    EXPECT_EQ(Bytes(host.PathToFilePath(String("zindle://internal/s.txt"))), "C:/Games/Q/internal/s.txt");
    EXPECT_EQ(Bytes(host.PathToFilePath(String("zindle://external/e.txt"))), "C:/Games/Q/external/e.txt");
    EXPECT_EQ(Bytes(host.PathToFilePath(String("zindle://other/x"))), "");
    EXPECT_EQ(Bytes(host.PathToFilePath(String("./.zindlestate"))), "./.zindlestate");
    EXPECT_EQ(host.OpenFile(String("zindle://other/x"), String("rb")), nullptr);
}

TEST(AssetNames, TheRealExecutablesFolderComesFromTheProcess) {
    KpGlfwGame host;
    const std::string data = Bytes(host.PathToFilePath(String("zindle://data/x")));
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    EXPECT_EQ(data, self + "/data/x");
}

// An installed game keeps its executable in <prefix>/bin and its data in <prefix>/share/quorlix/data; the build
// tree keeps data/ beside the executable, and that one wins wherever it exists.
TEST(DataFolder, BesideTheExecutableWinsThenTheInstalledOneThenBesideAgain) {
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/quorlix-prefix-XXXXXX";
    const fs::path prefix = mkdtemp(pattern);
    fs::create_directories(prefix / "bin");
    const String bin = String::FromUtf8((prefix / "bin").string());
    const String installed("../share/quorlix/data");

    EXPECT_EQ(Bytes(FindDataDirectory(bin, installed)), (prefix / "bin/data").string()) << "neither folder exists";
    fs::create_directories(prefix / "share/quorlix/data");
    EXPECT_EQ(Bytes(FindDataDirectory(bin, installed)), (prefix / "share/quorlix/data").string())
        << "the installed folder, without the .. step";
    std::ofstream(prefix / "bin/data") << "a file, not a folder";
    EXPECT_EQ(Bytes(FindDataDirectory(bin, installed)), (prefix / "share/quorlix/data").string());
    fs::remove(prefix / "bin/data");
    fs::create_directories(prefix / "bin/data");
    EXPECT_EQ(Bytes(FindDataDirectory(bin, installed)), (prefix / "bin/data").string());
    fs::remove_all(prefix);
}

TEST(FileText, ByteOrderMarksChooseTheEncoding) {
    const char16_t bar[] = {'1', '2', '|', 0};
    EXPECT_EQ(Decode({0xEF, 0xBB, 0xBF, 0x31, 0x32, 0x7C}), String(bar));
    const char16_t seven[] = {'7', '|', 0};
    EXPECT_EQ(Decode({0xFF, 0xFE, 0x37, 0x00, 0x7C, 0x00}), String(seven));
    EXPECT_EQ(Decode({0xFE, 0xFF, 0x00, 0x37, 0x00, 0x7C, 0x41}), String(seven)) << "an odd last byte is ignored";
    EXPECT_EQ(Decode({0xEF, 0xBB, 0xBF}).Length(), 0);
    EXPECT_EQ(Decode({}).Length(), 0);
}

TEST(FileText, Utf8SequencesDecodeAndBrokenOnesFallBackToBytes) {
    const String e = Decode({0x61, 0xC3, 0xA9, 0xE2, 0x82, 0xAC});
    ASSERT_EQ(e.Length(), 3);
    EXPECT_EQ(e[1], 0xE9);
    EXPECT_EQ(e[2], 0x20AC);
    const String cut = Decode({0xC3});
    ASSERT_EQ(cut.Length(), 1);
    EXPECT_EQ(cut[0], 195);
    const String bad = Decode({0xEF, 0xBB, 0xBF, 0x41, 0xFF, 0x42});
    ASSERT_EQ(bad.Length(), 3) << "the mark stays skipped, every later byte is a unit";
    EXPECT_EQ(bad[1], 0xFF);
}

struct StateStore : ::testing::Test {
    std::filesystem::path previous = std::filesystem::current_path();
    std::string folder;
    StateStore() {
        char pattern[] = "/tmp/quorlix-state-XXXXXX";
        folder = mkdtemp(pattern);
        std::filesystem::current_path(folder);
    }
    ~StateStore() override {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }
    std::string Read() {
        std::ifstream in(folder + "/.zindlestate", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(StateStore, WritesUtf8WithoutAMarkAndReadsItBack) {
    KpGlfwGame host;
    EXPECT_EQ(host.LoadState().Length(), 0) << "no file reads as the empty text";
    EXPECT_EQ(host.SaveState(String("1|2|")), 0);
    EXPECT_EQ(Read(), "1|2|");
    const char16_t units[] = {'-', 0xE9, '|', 0};
    EXPECT_EQ(host.SaveState(String(units)), 0);
    EXPECT_EQ(Read(), "-\xC3\xA9|");
    EXPECT_EQ(host.LoadState(), String(units));
    EXPECT_EQ(host.SaveState(String()), 0);
    EXPECT_EQ(Read(), "");
    EXPECT_FALSE(std::filesystem::exists(folder + "/.zindlestate.new"));
}

TEST_F(StateStore, AWriteThatFailsHalfwayLeavesTheOldRecord) {
    KpGlfwGame host;
    ASSERT_EQ(host.SaveState(String("old|record|")), 0);
    // A disk that fills up after 1000 bytes: the file-size limit makes every write beyond it fail.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &limited);
    const int result = host.SaveState(String(std::string(100000, '7').c_str()));
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(result, -2);
    EXPECT_EQ(Read(), "old|record|");
    EXPECT_FALSE(std::filesystem::exists(folder + "/.zindlestate.new"));
}

TEST_F(StateStore, AFolderThatCannotBeWrittenAnswersMinusOne) {
    if (geteuid() == 0) {
        // Root writes anywhere: a folder in the way of the temporary file stands in for a read-only one.
        std::filesystem::create_directory(folder + "/.zindlestate.new");
    } else {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    KpGlfwGame host;
    EXPECT_EQ(host.SaveState(String("1|")), -1);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
}

TEST_F(StateStore, LoadDataReadsEveryByteInBlocks) {
    std::vector<unsigned char> bytes(4096 * 3 + 17);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7);
    std::ofstream(folder + "/blob", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                            static_cast<std::streamsize>(bytes.size()));
    KpGame host;
    auto read = host.LoadData(String("./blob"));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, bytes);
    std::ofstream(folder + "/exact", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 4096);
    EXPECT_EQ(host.LoadData(String("./exact"))->size(), 4096u);
    EXPECT_FALSE(host.LoadData(String("./missing")).has_value());
    EXPECT_EQ(host.LoadString(String("./missing")).Length(), 0);
}

// What the player is told about the state file, and that nothing told ever costs them the old record.
struct StateNotices : StateStore {
    StateNotices() { kpForgetNotices(); }
    std::string state = folder + "/.zindlestate";
    // Runs body with the file size limited to 2000 bytes, so every longer write fails as on a full disk.
    // NOTE: the limit holds for the file that captures standard error too, which stays well below it.
    template <class Body>
    void OnAFullDisk(Body body) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = 2000;
        setrlimit(RLIMIT_FSIZE, &limited);
        body();
        setrlimit(RLIMIT_FSIZE, &saved);
    }
};

TEST_F(StateNotices, AFailedSaveIsToldOnceAndTheFirstSaveThatWorksAgainToo) {
    KpGlfwGame host;
    ASSERT_EQ(host.SaveState(String("old|record|")), 0);
    const String big(std::string(100000, '7').c_str());
    ::testing::internal::CaptureStderr();
    OnAFullDisk([&] {
        EXPECT_EQ(host.SaveState(big), -2);
        EXPECT_EQ(host.SaveState(big), -2);
    });
    EXPECT_EQ(host.SaveState(String("new|")), 0);
    std::filesystem::remove(state);
    OnAFullDisk([&] { EXPECT_EQ(host.SaveState(big), -2); });
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Quorlix: progress could not be saved to " + state +
                  " (File too large); your earlier progress is kept, but nothing new is saved until saving works "
                  "again.\n"
                  "Quorlix: progress saved to " + state + " again; nothing is lost.\n"
                  "Quorlix: progress could not be saved to " + state +
                  " (File too large); the game runs on, but nothing you do is kept until saving works again.\n");
    EXPECT_FALSE(std::filesystem::exists(state)) << "nothing half-written is left behind";
}

TEST_F(StateNotices, ARecordThatCannotBeReadIsToldAndNeverSavedOver) {
    // A host for which the state file exists but refuses to be opened for reading.
    struct Refusing : KpGlfwGame {
        FILE* OpenFile(const String& path, const String& mode) override {
            if (path == String(kStateFilePath) && mode == String("rb")) {
                errno = EACCES;
                return nullptr;
            }
            return KpGlfwGame::OpenFile(path, mode);
        }
    } host;
    std::ofstream(state) << "5|";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(host.LoadState().Length(), 0);
    EXPECT_EQ(host.SaveState(String("1|2|")), -1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Quorlix: the saved progress in " + state +
                  " could not be read (Permission denied); the game starts without it and does not save over it, so "
                  "it is still there once the file can be read.\n");
    EXPECT_EQ(Read(), "5|");

    // A folder where the file should be opens, but reading it fails.
    std::filesystem::remove(state);
    std::filesystem::create_directory(state);
    KpGlfwGame plain;
    ::testing::internal::CaptureStderr();
    kpForgetNotices();
    EXPECT_EQ(plain.LoadState().Length(), 0);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("could not be read (Is a directory)"), std::string::npos);
}

TEST_F(StateNotices, AFirstRunSaysWhereProgressWillBeKept) {
    KpGlfwGame host;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(host.LoadState().Length(), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Quorlix: no saved progress yet; the game starts afresh and keeps your progress in " + state + ".\n");
}

TEST_F(StateNotices, OnlyTheFirstMegabyteOfAHugeStateFileIsRead) {
    {
        std::ofstream out(state, std::ios::binary);
        const std::string block(1 << 20, '9');
        for (int i = 0; i < 100; ++i) out << block;
    }
    KpGlfwGame host;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(host.LoadState().Length(), static_cast<int>(kStateReadLimit));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Quorlix: " + state + " is far larger than saved progress ever is; only its first 1 MB are read, and "
              "the next save replaces it with your progress.\n");
    std::filesystem::resize_file(state, kStateReadLimit);
    EXPECT_EQ(host.LoadState().Length(), static_cast<int>(kStateReadLimit)) << "a file of exactly the limit is whole";
}

}  // namespace
