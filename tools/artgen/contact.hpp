// Contact sheets: one picture per art level showing every sheet, for a person to look over.
// Depends on cairo. They are read back from the written files, so they show exactly what the game will load.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace artgen {

struct ContactEntry {
  std::string name;
  std::filesystem::path file;
};

// Writes the contact sheet of one level; returns false when a file cannot be read or written.
bool writeContactSheet(const std::vector<ContactEntry>& entries, int level, const std::filesystem::path& out);

}  // namespace artgen
