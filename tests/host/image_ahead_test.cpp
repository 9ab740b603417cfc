// Decoding ahead: what a worker decodes is exactly what the loader would have decoded itself, missing and
// damaged files come back with the reason the player is told, a file no longer wanted is nobody's, and lists
// replaced while the worker is busy neither lose nor corrupt a decoding nor leak one.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "host/files.h"
#include "host/desktop/image_ahead.h"
#include "tests/support/scratch.h"

namespace {

const std::string kData = QUORLIX_BINARY_DIR "/data/";
// Sheets of every size the game loads: the three largest of the largest level, then smaller ones.
const std::vector<std::string> kSheets = {
    kData + "menu-hd2.png",          kData + "common/circle-hd2.png", kData + "BadgesA-hd2.png",
    kData + "common/Buttons-hd.png", kData + "fonts/Mira_White.png",  kData + "parts.png",
    kData + "common/icons.png",
};
constexpr size_t kFirstSmall = 3;

// The file's decoding on this thread, as the loader makes it when nothing was decoded ahead.
DecodedImage DecodedHere(const std::string& file) { return DecodeImageFile(file); }

void ExpectSameImage(const DecodedImage& ahead, const DecodedImage& here, const std::string& file) {
    SCOPED_TRACE(file);
    ASSERT_NE(ahead.pixels, nullptr);
    ASSERT_NE(here.pixels, nullptr);
    EXPECT_EQ(ahead.width, here.width);
    EXPECT_EQ(ahead.height, here.height);
    EXPECT_EQ(ahead.depth, here.depth);
    EXPECT_EQ(std::memcmp(ahead.pixels, here.pixels, static_cast<size_t>(here.width) * here.height * here.depth), 0);
}

std::string WriteScratch(const std::string& name, const std::string& bytes) {
    const std::string file = scratch::File(name);
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

TEST(DecodeAhead, WantedSheetsComeBackInOrderAsTheLoaderWouldDecodeThemAndOnlyAFewWaitAtOnce) {
    ImageDecodeAhead ahead;
    ahead.Want(kSheets);
    ahead.WaitForWorkers();
    // Two of the largest sheets fill what the workers hold (a second worker may finish a third): the sheet after
    // them is not begun, so its caller decodes it, and it is wanted no more.
    EXPECT_FALSE(ahead.Take(kSheets[kFirstSmall]).has_value());
    for (size_t i = 0; i < kSheets.size(); ++i) {
        if (i == kFirstSmall) continue;
        ahead.WaitForWorkers();
        std::optional<DecodedImage> image = ahead.Take(kSheets[i]);
        ASSERT_TRUE(image.has_value()) << kSheets[i];
        DecodedImage here = DecodedHere(kSheets[i]);
        ExpectSameImage(*image, here, kSheets[i]);
        std::free(image->pixels);
        std::free(here.pixels);
        EXPECT_FALSE(ahead.Take(kSheets[i]).has_value()) << "a sheet is handed over once";
    }
}

TEST(DecodeAhead, MissingDamagedAndForeignFilesComeBackWithTheReasonThePlayerIsTold) {
    const std::string missing = scratch::File("no-such-sheet.png");
    std::ifstream real(kData + "logo.png", std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(real)), std::istreambuf_iterator<char>());
    ASSERT_GT(png.size(), 100u);
    const std::string cut = WriteScratch("cut.png", png.substr(0, png.size() / 2));
    const std::string text = WriteScratch("words.png", "not a picture at all");

    ImageDecodeAhead ahead;
    ahead.Want({missing, cut, text});
    ahead.WaitForWorkers();
    for (const std::string& file : {missing, cut, text}) {
        std::optional<DecodedImage> image = ahead.Take(file);
        ASSERT_TRUE(image.has_value()) << file;
        EXPECT_EQ(image->pixels, nullptr) << file;
        if (file == missing) {
            EXPECT_EQ(image->readError, ENOENT);
        } else {
            EXPECT_EQ(image->readError, 0) << file;
            EXPECT_EQ(image->png, file == cut) << file;
        }
    }
}

TEST(DecodeAhead, AFileNoLongerWantedOrNeverWantedIsLeftToTheCaller) {
    ImageDecodeAhead ahead;
    ahead.Want({kSheets[0], kSheets[1]});
    ahead.WaitForWorkers();
    ahead.Want({kSheets[kFirstSmall]});
    EXPECT_FALSE(ahead.Take(kSheets[0]).has_value());
    EXPECT_FALSE(ahead.Take(kSheets[1]).has_value());
    EXPECT_FALSE(ahead.Take(kData + "logo.png").has_value());
    EXPECT_FALSE(ahead.Take("").has_value());
    ahead.WaitForWorkers();
    std::optional<DecodedImage> image = ahead.Take(kSheets[kFirstSmall]);
    ASSERT_TRUE(image.has_value());
    std::free(image->pixels);
}

TEST(DecodeAhead, ListsReplacedWhileTheWorkersAreBusyLoseNoDecodingAndLeakNone) {
    // Each round asks for a random run of sheets and takes a random part of it, as reloads interrupted by
    // further window changes would; whatever is handed over must be the sheet asked for, whole.
    std::vector<DecodedImage> expected;
    for (const std::string& file : kSheets) expected.push_back(DecodedHere(file));
    std::mt19937 random(20261209);
    {
        ImageDecodeAhead ahead;
        for (int round = 0; round < 40; ++round) {
            std::vector<std::string> wanted;
            std::vector<size_t> which;
            for (size_t i = 0; i < kSheets.size(); ++i) {
                if (random() % 2) {
                    wanted.push_back(kSheets[i]);
                    which.push_back(i);
                }
            }
            ahead.Want(wanted);
            for (size_t k = 0; k < which.size(); ++k) {
                if (random() % 3 == 0) continue;
                if (auto image = ahead.Take(kSheets[which[k]])) {
                    ExpectSameImage(*image, expected[which[k]], kSheets[which[k]]);
                    std::free(image->pixels);
                }
            }
        }
        // Going out of scope with decodings waiting and under way frees them (the leak checker of a
        // sanitized run says so) and returns.
        ahead.Want(kSheets);
    }
    for (DecodedImage& image : expected) std::free(image.pixels);
}

}  // namespace
