// The game's icon: the title logo's "Q" on a warm brown tile, for the desktop's icon theme.
// Depends on cairo (through art.hpp) and the DejaVu outlines. Each size is drawn from the same vectors, so every
// size is sharp; the smaller ones leave out the faint letter grid, which would only blur there.
#pragma once

#include <filesystem>

namespace artgen {

// The pixel sizes the icon is drawn at: the desktop's icon theme takes 48 to 256, the web page's manifest 192 and
// 512 (a phone's home screen).
inline constexpr int kIconSizes[] = {48, 64, 128, 192, 256, 512};

// Writes "<size>x<size>.png" into `folder` for every icon size; returns false when a file cannot be written.
bool writeIcons(const std::filesystem::path& folder);

}  // namespace artgen
