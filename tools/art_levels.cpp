// quorlix_art_levels: writes the art levels of game/art_levels.h for the web build: a script the page loads
// before its own (art-levels.js: the global quorlixArtLevels) and a file the data split includes
// (art-levels.cmake: the packages and each level's suffix).
// Usage: quorlix_art_levels <output folder>
// Depends on game/art_levels.h alone.
// NOTE: a file whose text is unchanged is not written again, so the web build, which reads the CMake file as it
// configures, configures again only when the levels change.
#include <cstdio>
#include <filesystem>  // create_directories
#include <fstream>
#include <sstream>
#include <string>

#include "game/art_levels.h"

namespace fs = std::filesystem;

namespace {

std::string JsString(std::string_view text) { return "'" + std::string(text) + "'"; }

// The page's script: the levels from the largest down, and the base package.
std::string LevelsScript() {
    std::ostringstream out;
    out << "// The art levels of game/art_levels.h, written by tools/art_levels.cpp for the page "
           "(web/page/quorlix-page.js).\n"
        << "'use strict';\n"
        << "var quorlixArtLevels = {\n"
        << "  base: " << JsString(art::kBasePackage) << ",\n"
        << "  levels: [\n";
    for (const art::Level& level : art::kLevels) {
        out << "    {level: " << level.level << ", side: " << level.side << ", suffix: " << JsString(level.suffix)
            << ", package: " << JsString(level.package) << "},\n";
    }
    out << "  ],\n};\n";
    return out.str();
}

// The data split's (web/split-data.cmake) and the site's (web/CMakeLists.txt) view of the same.
std::string LevelsCMake() {
    std::ostringstream out;
    out << "# The art levels of game/art_levels.h, written by tools/art_levels.cpp for the web build.\n"
        << "set(QUORLIX_BASE_PACKAGE \"" << art::kBasePackage << "\")\n"
        << "set(QUORLIX_ART_LEVELS";
    for (const art::Level& level : art::kLevels) out << ' ' << level.level;
    out << ")\n";
    for (const art::Level& level : art::kLevels) {
        out << "set(QUORLIX_ART_SUFFIX_" << level.level << " \"" << level.suffix << "\")\n"
            << "set(QUORLIX_ART_PACKAGE_" << level.level << " \"" << level.package << "\")\n";
    }
    out << "set(QUORLIX_PACKAGES \"" << art::kBasePackage << '"';
    for (const art::Level& level : art::kLevels) out << " \"" << level.package << '"';
    out << ")\n";
    return out.str();
}

// Writes text to file unless the file holds it already; false when it cannot be written.
bool WriteIfChanged(const fs::path& file, const std::string& text) {
    std::ifstream in(file, std::ios::binary);
    if (in) {
        std::ostringstream old;
        old << in.rdbuf();
        if (old.str() == text) return true;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) std::fprintf(stderr, "quorlix_art_levels: cannot write %s\n", file.c_str());
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorlix_art_levels <output folder>\n");
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "quorlix_art_levels: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    const bool ok = WriteIfChanged(folder / "art-levels.js", LevelsScript()) &
                    WriteIfChanged(folder / "art-levels.cmake", LevelsCMake());
    return ok ? 0 : 1;
}
