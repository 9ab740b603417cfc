// BuildTreeHost: the desktop host with its data folder in the build tree (the generated art and sounds), for
// tests whose programs do not sit beside data/ as the game does. It lists the data files it was asked for, and
// each list of files asked to be decoded ahead and each art level it was told is shown; a test may point it at
// a data folder of its own instead, or hold files back as a web page's host does.
// Depends on the host (KpGlfwGame) and QUORLIX_BINARY_DIR, which every test program is built with.
#pragma once

#include <algorithm>
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
    // As a host that downloads art by level and decodes apart from the frame loop: the files of notArrived
    // have not arrived, and the next `unready` questions of readiness are answered "not yet".
    bool ImagesReady(const std::vector<String>& paths) override {
        if (unready > 0) {
            --unready;
            return false;
        }
        return KpGlfwGame::ImagesReady(paths);
    }
    bool DataArrived(const String& path) override {
        const std::string name = path.Slice(String("zindle://data/").Length()).ToUtf8();
        return std::find(notArrived.begin(), notArrived.end(), name) == notArrived.end();
    }
    void ShowingArtLevel(int level) override { levelsShown.push_back(level); }
    std::vector<std::string> notArrived;
    int unready = 0;
    std::vector<int> levelsShown;
    // Waits until the files asked to be decoded ahead are decoded (as far as the host decodes ahead at once).
    void WaitForDecodeAhead() { decodeAhead_.WaitForWorkers(); }
    std::vector<std::string> asked;  // data files by their names inside the data folder
    std::vector<std::vector<std::string>> aheads;
    std::string dataFolder = QUORLIX_BINARY_DIR "/data";
};
