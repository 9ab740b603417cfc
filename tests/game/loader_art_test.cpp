// The loader's image slots against the art generator's own sheet table, at art levels 1, 2 and 4: every sheet the
// generator draws at every level lands in one slot, cut into the generator's cells (frame size in pixels, frame
// count, frames walked as the generator lays them out), and the slot's info says the same.
// Depends on the generator's sheet table (tools/artgen), the build tree's generated art and AppFixture.
// NOTE: the slots are matched to files by what each loading update asked for, never by a copy of the loading steps,
// so a step that names a sheet with cells of another size fails here, whichever side changed.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/app_fixture.h"
#include "tools/artgen/art.hpp"

namespace {

class LoaderArt : public AppFixture, public ::testing::WithParamInterface<WindowAtLevel> {
protected:
    // The generator's sheets drawn at every level, by their file at the level.
    static std::map<std::string, artgen::Sheet> SheetFiles(int level) {
        const char* suffix = level == 4 ? "-hd2" : level == 2 ? "-hd" : "";
        std::map<std::string, artgen::Sheet> files;
        for (auto group : {artgen::fontSheets, artgen::interfaceSheets, artgen::buttonSheets, artgen::menuSheets,
                           artgen::spriteSheets, artgen::brandSheets}) {
            for (artgen::Sheet& sheet : group()) {
                if (sheet.allLevels) files.emplace(sheet.name + suffix + ".png", std::move(sheet));
            }
        }
        return files;
    }
};

TEST_P(LoaderArt, EverySheetLandsInOneSlotCutIntoTheGeneratorsCells) {
    const int level = GetParam().level;
    const std::map<std::string, artgen::Sheet> sheets = SheetFiles(level);
    OpenWindow(GetParam().width, GetParam().height);
    ::testing::internal::CaptureStdout();
    app->p_OnCreate();
    ::testing::internal::GetCapturedStdout();
    Render();

    // Each slot an update fills holds the one file of that update whose picture has the size of the slot's.
    std::map<int, std::string> fileOf;
    while (app->m_loadStep > 0) {
        std::vector<const c_Image*> before;
        for (int slot = 0; slot < 100; ++slot) before.push_back(app->m_images[slot].Get());
        host.asked.clear();
        Update();
        for (int slot = 0; slot < 100; ++slot) {
            const c_Image* image = app->m_images[slot].Get();
            if (!image || image == before[static_cast<size_t>(slot)]) continue;
            // NOTE: a file not yet decoded ahead is asked for twice, by the decoder and by the read.
            std::vector<std::string> files;
            for (const std::string& file : std::set<std::string>(host.asked.begin(), host.asked.end())) {
                const auto sheet = sheets.find(file);
                if (sheet == sheets.end()) continue;
                const artgen::Sheet& s = sheet->second;
                const int rows = (s.frames + s.columns - 1) / s.columns;
                if (image->m_surface->Width() == s.cellW * level * s.columns &&
                    image->m_surface->Height() == s.cellH * level * rows) {
                    files.push_back(file);
                }
            }
            ASSERT_EQ(files.size(), 1u) << "slot " << slot << " holds no single sheet of its update";
            fileOf[slot] = files[0];
        }
    }
    ASSERT_EQ(app->m_hdLevel, level);

    std::set<std::string> loaded;
    for (int slot = 0; slot < 100; ++slot) {
        if (!app->m_images[slot]) continue;
        ASSERT_TRUE(fileOf.contains(slot)) << "slot " << slot << " was filled by no loading update";
        const std::string& file = fileOf[slot];
        EXPECT_TRUE(loaded.insert(file).second) << file << " is in two slots";
        const artgen::Sheet& sheet = sheets.at(file);
        const c_Image& image = *app->m_images[slot];
        const int cellW = sheet.cellW * level, cellH = sheet.cellH * level;
        EXPECT_EQ(image.m_width, cellW) << file;
        EXPECT_EQ(image.m_height, cellH) << file;
        ASSERT_EQ(image.FrameCount(), sheet.frames) << file;
        for (int f = 0; f < sheet.frames; ++f) {
            ASSERT_EQ(image.m_frames[f]->m_x, f % sheet.columns * cellW) << file << " frame " << f;
            ASSERT_EQ(image.m_frames[f]->m_y, f / sheet.columns * cellH) << file << " frame " << f;
        }
        EXPECT_EQ(app->m_imageInfo[slot * 3 + 2], sheet.frames) << file;
        // NOTE: a font's info is its advance and line height in virtual units, not its cell.
        if (!sheet.name.starts_with("fonts/")) {
            EXPECT_EQ(app->m_imageInfo[slot * 3], cellW) << file;
            EXPECT_EQ(app->m_imageInfo[slot * 3 + 1], cellH) << file;
        }
    }
    for (const auto& [file, sheet] : sheets) EXPECT_TRUE(loaded.contains(file)) << file << " is in no slot";
}

INSTANTIATE_TEST_SUITE_P(ArtLevels, LoaderArt,
                         ::testing::Values(WindowAtLevel{480, 360, 1}, WindowAtLevel{640, 480, 2}, WindowAtLevel{1280, 1024, 4}),
                         [](const auto& info) { return "Level" + std::to_string(info.param.level); });

}  // namespace
