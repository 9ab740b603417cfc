// Files: opening by (virtual) path, reading whole files as bytes or text, and the state store.
#include "host/files.h"

#include <unistd.h>  // fsync, unlink

#include <cstdio>
#include <filesystem>  // is_directory, lexically_normal

#include "host/kpgame.h"

String kp_data_FixDataPath(const String& path) {
    const int pair = path.Find(String(":/"));
    if (pair != -1 && path.Find(String("/")) == pair + 1) return path;
    if (path.StartsWith(String("./")) || path.StartsWith(String("/"))) return path;
    return String("zindle://data/") + path;
}

String FindDataDirectory(const String& appDir, const String& installed) {
    namespace fs = std::filesystem;
    const String beside = appDir + String("/data");
    std::error_code error;
    if (fs::is_directory(fs::path(beside.ToUtf8()), error)) return beside;
    const fs::path shared = (fs::path(appDir.ToUtf8()) / fs::path(installed.ToUtf8())).lexically_normal();
    if (fs::is_directory(shared, error)) {
        std::string folder = shared.string();
        if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        return String::FromUtf8(folder);
    }
    return beside;
}

String DecodeFileText(const std::vector<unsigned char>& bytes) {
    const size_t n = bytes.size();
    std::u16string units;
    if (n >= 2 && ((bytes[0] == 0xFE && bytes[1] == 0xFF) || (bytes[0] == 0xFF && bytes[1] == 0xFE))) {
        const bool bigEndian = bytes[0] == 0xFE;
        for (size_t i = 2; i + 1 < n; i += 2) {
            units.push_back(static_cast<char16_t>(bigEndian ? (bytes[i] << 8) | bytes[i + 1]
                                                            : bytes[i] | (bytes[i + 1] << 8)));
        }
        return String(units.data(), static_cast<int>(units.size()));
    }
    size_t start = (n > 2 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) ? 3 : 0;
    bool valid = true;
    for (size_t i = start; i < n && valid;) {
        const unsigned lead = bytes[i];
        if (lead < 0x80) {
            units.push_back(static_cast<char16_t>(lead));
            i += 1;
        } else if ((lead & 0xE0) == 0xC0 && i + 1 < n && (bytes[i + 1] & 0xC0) == 0x80) {
            units.push_back(static_cast<char16_t>(((lead & 31) << 6) | (bytes[i + 1] & 63)));
            i += 2;
        } else if ((lead & 0xF0) == 0xE0 && i + 2 < n && (bytes[i + 1] & 0xC0) == 0x80 &&
                   (bytes[i + 2] & 0xC0) == 0x80) {
            units.push_back(static_cast<char16_t>(((lead << 12) & 0xFFFF) | ((bytes[i + 1] & 63) << 6) |
                                                  (bytes[i + 2] & 63)));
            i += 3;
        } else {
            valid = false;
        }
    }
    if (!valid) {
        units.clear();
        for (size_t i = start; i < n; ++i) units.push_back(static_cast<char16_t>(bytes[i]));
    }
    return String(units.data(), static_cast<int>(units.size()));
}

std::vector<unsigned char> EncodeStateText(const String& text) {
    std::string utf8 = text.ToUtf8();
    return std::vector<unsigned char>(utf8.begin(), utf8.end());
}

FILE* KpGame::OpenFile(const String& path, const String& mode) {
    String file = PathToFilePath(path);
    if (file.Empty()) return nullptr;
    // Paths are handed to the file system as UTF-8, this platform's wide-path encoding.
    return std::fopen(file.ToUtf8().c_str(), mode.ToUtf8().c_str());
}

std::optional<std::vector<unsigned char>> KpGame::LoadData(const String& path) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return std::nullopt;
    std::vector<unsigned char> bytes;
    unsigned char block[4096];
    size_t n;
    do {
        n = std::fread(block, 1, sizeof block, file);
        bytes.insert(bytes.end(), block, block + n);
    } while (n == sizeof block);
    std::fclose(file);
    return bytes;
}

String KpGame::LoadString(const String& path) {
    auto bytes = LoadData(path);
    return bytes ? DecodeFileText(*bytes) : String();
}

String KpGame::LoadState() { return LoadString(String(kStateFilePath)); }

int KpGame::SaveState(const String& text) {
    // NOTE: the new record goes to a file beside the old one and is renamed over it only once it is wholly
    // written and flushed to disk, so a full disk or a crash mid-write leaves the previous record intact.
    const String tempPath = String(kStateFilePath) + String(".new");
    FILE* file = OpenFile(tempPath, String("wb"));
    if (!file) return -1;
    const std::vector<unsigned char> bytes = EncodeStateText(text);
    bool complete = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    complete = std::fflush(file) == 0 && complete;
    complete = fsync(fileno(file)) == 0 && complete;
    complete = std::fclose(file) == 0 && complete;
    const std::string temp = PathToFilePath(tempPath).ToUtf8();
    if (!complete) {
        unlink(temp.c_str());
        return -2;
    }
    if (std::rename(temp.c_str(), PathToFilePath(String(kStateFilePath)).ToUtf8().c_str()) != 0) {
        unlink(temp.c_str());
        return -1;
    }
    return 0;
}
