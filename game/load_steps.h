// The loading steps: what each of the fifteen loading updates puts into its image slots and sound cue slot, and
// the file of a sheet at an art level. Shared by the loader (loader.cpp) and the sharper art loaded while the
// game runs (sharper_art.cpp), which walk the same steps.
// Depends on the art levels (game/art_levels.h) and String.
#pragma once

#include <vector>

#include "framework/graphics/graphics.h"  // ImageMidHandle
#include "game/art_levels.h"                // the levels' suffixes
#include "runtime/string.h"

namespace load_steps {

constexpr int kImageSlots = 100;
// Font sheets: 128 glyph cells of 16 x 16 virtual units, 16 to a row.
constexpr int kFontCell = 16, kFontGlyphs = 128;
// Every image has its handle at its frames' centre.
constexpr int kLoadFlags = ImageMidHandle;
constexpr int kLoadingFont = 90;
constexpr int kLogoSlot = 93;

// The file of a base name at an art level: the level's suffix (game/art_levels.h), then ".png".
inline String LevelFile(const String& name, int level) {
    const std::string_view suffix = art::LevelOf(level).suffix;
    return name + String(suffix.data(), static_cast<int>(suffix.size())) + String(".png");
}

// One image a loading step puts into its slot: a sheet of frames cells of width x height virtual units, or a
// font (128 glyph cells of 16 x 16).
struct StepImage {
    int slot = 0;
    const char* name = nullptr;
    int width = 0, height = 0, frames = 0;
    bool font = false;
};
constexpr StepImage Font(int slot, const char* name) { return {slot, name, 0, 0, 0, true}; }

// What each loading step loads: up to two images, then up to one sound cue.
struct LoadStep {
    StepImage images[2];
    int imageCount = 0;
    int sound = -1;
};
constexpr int kNoSound = -1;
constexpr int kLastStep = 14, kLogoStep = 4, kLastFontStep = 10;
constexpr int kFontAdvance = 7, kFontLineHeight = 10;
constexpr LoadStep kLoadSteps[kLastStep + 1] = {
    {},
    {{{97, "common/icons", 32, 32, 16}}, 1, 96},
    {{{95, "common/Buttons", 64, 64, 16}}, 1, 1},
    {{{94, "common/dpad", 32, 32, 16}}, 1, 98},
    {{{kLogoSlot, "common/PLOVLogo", 256, 256, 1}}, 1, kNoSound},
    {{Font(kLoadingFont, "fonts/shadow_editundo")}, 1, 99},
    {{{99, "menu", 256, 256, 4}, {98, "logo", 256, 128, 1}}, 2, 95},
    {{{80, "BadgesA", 64, 64, 64}, {96, "parts", 8, 8, 256}}, 2, kNoSound},
    {{{85, "common/circle", 256, 256, 4}, {86, "common/light", 32, 32, 4}}, 2, kNoSound},
    {{Font(10, "fonts/Mira_White")}, 1, kNoSound},
    {{Font(11, "fonts/Mira_Black")}, 1, kNoSound},
    {{}, 0, 2},
    {{}, 0, 3},
    {{}, 0, 4},
    {{}, 0, 5},
};

// The image files of one loading step at an art level, in the order the step loads them.
inline std::vector<String> StepFiles(int step, int level) {
    std::vector<String> files;
    for (int i = 0; i < kLoadSteps[step].imageCount; ++i) {
        files.push_back(LevelFile(String(kLoadSteps[step].images[i].name), level));
    }
    return files;
}

}  // namespace load_steps
