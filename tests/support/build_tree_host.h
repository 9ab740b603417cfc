// BuildTreeHost: the desktop host with its data folder in the build tree (the generated art and sounds), for
// tests whose programs do not sit beside data/ as the game does. It lists the data files it was asked for, and
// each list of files asked to be decoded ahead; a test may point it at a data folder of its own instead.
// Depends on the host (KpGlfwGame) and QUORLIX_BINARY_DIR, which every test program is built with.
#pragma once

#include <string>
#include <vector>

#include "host/desktop/glfwgame.h"

class BuildTreeHost : public KpGlfwGame {
public:
    String PathToFilePath(const String& path) override {
        const String prefix("zindle://data/");
        if (!path.StartsWith(prefix)) return KpGlfwGame::PathToFilePath(path);
        asked.push_back(path.Slice(prefix.Length()).ToUtf8());
        return String::FromUtf8(dataFolder + "/") + path.Slice(prefix.Length());
    }
    void DecodeImagesAhead(const std::vector<String>& paths) override {
        std::vector<std::string>& names = aheads.emplace_back();
        const String prefix("zindle://data/");
        for (const String& path : paths) names.push_back(path.Slice(prefix.Length()).ToUtf8());
        KpGlfwGame::DecodeImagesAhead(paths);
    }
    // Waits until the files asked to be decoded ahead are decoded (as far as the host decodes ahead at once).
    void WaitForDecodeAhead() { decodeAhead_.WaitForWorkers(); }
    std::vector<std::string> asked;  // data files by their names inside the data folder
    std::vector<std::vector<std::string>> aheads;
    std::string dataFolder = QUORLIX_BINARY_DIR "/data";
};
