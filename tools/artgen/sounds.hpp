// The game's sound effects, synthesised: nine cues written as 16-bit mono PCM WAV files.
#pragma once

#include <filesystem>

namespace artgen {

// Writes every cue into `folder` (created if missing); returns false when a file cannot be written.
bool writeSounds(const std::filesystem::path& folder);

}  // namespace artgen
