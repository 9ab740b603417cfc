// The art levels, written once: the window side that asks for each, the suffix its files carry and the web
// package that holds them. The loader (game/loader.cpp) and the art generator read them here; the web page and
// the site's data split get them from tools/art_levels.cpp, which the desktop build runs to write them out.
// Depends on nothing: plain constant data, so a build-time tool can include it with no other layer.
#pragma once

#include <cstddef>      // size_t
#include <iterator>     // std::size
#include <string_view>

namespace art {

// One art level: the art's pixels per virtual unit.
struct Level {
    int level;                 // pixels per virtual unit
    int side;                  // a window side of this many device pixels or more asks for it
    std::string_view suffix;   // before ".png" in its files' names
    std::string_view package;  // the web package holding its files
};

// The levels from the largest down: a window takes the first whose side it reaches.
inline constexpr Level kLevels[] = {
    {4, 1231, "-hd2", "level4"},
    {2, 631, "-hd", "level2"},
    {1, 0, "", "level1"},
};
// The web package of what every window uses whatever its level: the sounds and the built-in font.
inline constexpr std::string_view kBasePackage = "base";

// The art level a window of this many device pixels on its longer side asks for.
constexpr const Level& LevelForSide(int side) {
    for (const Level& level : kLevels) {
        if (side >= level.side) return level;
    }
    return kLevels[std::size(kLevels) - 1];
}

// The entry of a level number; the smallest level for a number that is none.
constexpr const Level& LevelOf(int level) {
    for (const Level& entry : kLevels) {
        if (entry.level == level) return entry;
    }
    return kLevels[std::size(kLevels) - 1];
}

// NOTE: the page and the data split rely on these: the last level takes every window and has no suffix, and
// the sides fall with the levels, so the first match is the largest level a window reaches.
static_assert(kLevels[std::size(kLevels) - 1].side == 0 && kLevels[std::size(kLevels) - 1].suffix.empty(),
              "the smallest art level takes every window and its files have no suffix");
static_assert([] {
    for (size_t i = 1; i < std::size(kLevels); ++i) {
        if (kLevels[i].side >= kLevels[i - 1].side || kLevels[i].level >= kLevels[i - 1].level) return false;
    }
    return true;
}(), "the art levels go from the largest down, each asked for by a smaller side");

}  // namespace art
