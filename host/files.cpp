// Files: opening by (virtual) path, reading whole files as bytes or text, and the state store.
#include "host/files.h"

#include <unistd.h>  // fsync, unlink, access

#include <cerrno>
#include <cstdint>  // SIZE_MAX
#include <cstdio>
#include <filesystem>  // is_directory, lexically_normal

#include "host/kpgame.h"
#include "host/notices.h"

String kp_data_FixDataPath(const String& path) {
    const int pair = path.Find(String(":/"));
    if (pair != -1 && path.Find(String("/")) == pair + 1) return path;
    if (path.StartsWith(String("./")) || path.StartsWith(String("/"))) return path;
    return String("zindle://data/") + path;
}

String MapVirtualPath(const String& path, const VirtualFolders& folders) {
    if (!path.StartsWith(String("zindle:"))) return path;
    const struct {
        const char* root;
        const std::function<String()>& folder;
    } roots[] = {{"zindle://data/", folders.data},
                 {"zindle://internal/", folders.internal},
                 {"zindle://external/", folders.external}};
    for (const auto& [root, folder] : roots) {
        const String prefix(root);
        if (path.StartsWith(prefix)) return folder() + String("/") + path.Slice(prefix.Length());
    }
    return String();
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

namespace {

// Reads a file in blocks from where it stands, to its end or until at least limit bytes are in (the last block
// may pass it); ferror and feof then tell which.
std::vector<unsigned char> ReadBlocks(FILE* file, size_t limit) {
    std::vector<unsigned char> bytes;
    unsigned char block[4096];
    size_t n;
    do {
        n = std::fread(block, 1, sizeof block, file);
        bytes.insert(bytes.end(), block, block + n);
    } while (n == sizeof block && bytes.size() < limit);
    return bytes;
}

}  // namespace

std::optional<std::vector<unsigned char>> ReadWholeFile(const std::string& file) {
    if (file.empty()) {
        errno = ENOENT;
        return std::nullopt;
    }
    FILE* stream = std::fopen(file.c_str(), "rb");
    if (!stream) return std::nullopt;
    std::vector<unsigned char> bytes = ReadBlocks(stream, SIZE_MAX);
    std::fclose(stream);
    return bytes;
}

std::optional<std::vector<unsigned char>> KpGame::LoadData(const String& path) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return std::nullopt;
    std::vector<unsigned char> bytes = ReadBlocks(file, SIZE_MAX);
    std::fclose(file);
    return bytes;
}

String KpGame::LoadString(const String& path) {
    auto bytes = LoadData(path);
    return bytes ? DecodeFileText(*bytes) : String();
}

void KpGame::TellAssetUnreadable(const String& path, int error) {
    const std::string file = PathToFilePath(path).ToUtf8();
    const String dataRoot("zindle://data/");
    if (path.StartsWith(dataRoot)) {
        // The data folder is what the file's path holds before the name inside it.
        const std::string name = path.Slice(dataRoot.Length()).ToUtf8();
        const std::string folder = file.size() > name.size() ? file.substr(0, file.size() - name.size() - 1) : "";
        std::error_code ignored;
        if (!folder.empty() && !std::filesystem::is_directory(folder, ignored)) {
            kpTellPlayer("data-folder", "the game's data folder " + folder + " is missing; the game runs without "
                                        "pictures and sounds. Your progress is not affected.");
            return;
        }
    }
    if (error == ENOENT) {
        kpTellPlayer("asset " + file, file + " is missing; the game runs without it.");
    } else {
        kpTellPlayer("asset " + file, file + " cannot be read (" + kpReason(error) + "); the game runs without it.");
    }
}

void KpGame::TellAssetDamaged(const String& path, const std::string& problem, const std::string& without) {
    const std::string file = PathToFilePath(path).ToUtf8();
    kpTellPlayer("asset " + file, file + " " + problem + "; " + without + ".");
}

std::string StateFileForPlayer() {
    if (KpGame::_game) {
        std::string place = KpGame::_game->StatePlaceForPlayer();
        if (!place.empty()) return place;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(kStateFilePath, error);
    return error ? std::string(kStateFilePath) : absolute.lexically_normal().string();
}

namespace {

// What a player can do about a failed save, by its cause.
std::string UntilSavingWorks(int error) {
    if (error == ENOSPC || error == EDQUOT) return "there is space on the disk again";
    if (error == EROFS || error == EACCES || error == EPERM) return "the folder can be written to";
    return "saving works again";
}

// The notice of a save that failed for the reason `error`; the old record, if any, is still whole.
void TellSaveFailed(int error) {
    const std::string where = StateFileForPlayer();
    const std::string reason = kpReason(error);
    if (access(kStateFilePath, F_OK) == 0) {
        kpTellPlayer("save", "progress could not be saved to " + where + " (" + reason +
                                 "); your earlier progress is kept, but nothing new is saved until " +
                                 UntilSavingWorks(error) + ".");
    } else {
        kpTellPlayer("save", "progress could not be saved to " + where + " (" + reason +
                                 "); the game runs on, but nothing you do is kept until " +
                                 UntilSavingWorks(error) + ".");
    }
}

// The notice of a state file that exists but could not be read for the reason `error`.
void TellStateUnreadable(int error) {
    kpTellPlayer("state-unreadable", "the saved progress in " + StateFileForPlayer() + " could not be read (" +
                                         kpReason(error) + "); the game starts without it and does not save over "
                                         "it, so it is still there once the file can be read.");
}

}  // namespace

String KpGame::LoadState() {
    errno = 0;
    FILE* file = OpenFile(String(kStateFilePath), String("rb"));
    if (!file) {
        const int error = errno;
        if (error == ENOENT || error == 0) {
            kpTellPlayer("state-new", "no saved progress yet; the game starts afresh and keeps your progress in " +
                                          StateFileForPlayer() + ".");
        } else {
            _stateUnreadable = true;
            TellStateUnreadable(error);
        }
        return String();
    }
    // NOTE: no record the game writes comes near the limit (the longest is 130,704 bytes): a larger file is
    // not progress, and reading all of it would only take memory. The first kStateReadLimit bytes are read.
    std::vector<unsigned char> bytes = ReadBlocks(file, kStateReadLimit);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    const bool more = !failed && !std::feof(file) && std::fgetc(file) != EOF;
    std::fclose(file);
    if (failed) {
        _stateUnreadable = true;
        TellStateUnreadable(error);
        return String();
    }
    if (more) {
        kpTellPlayer("state-large", StateFileForPlayer() + " is far larger than saved progress ever is; only its "
                                    "first " + std::to_string(kStateReadLimit / (1024 * 1024)) + " MB are read, "
                                    "and the next save replaces it with your progress.");
    }
    return DecodeFileText(bytes);
}

int KpGame::SaveState(const String& text) {
    // NOTE: a record that exists but could not be read is the player's progress all the same; replacing it
    // with this session's would lose it. It is left alone (the notice at loading said so).
    if (_stateUnreadable) return -1;
    // NOTE: the new record goes to a file beside the old one and is renamed over it only once it is wholly
    // written and flushed to disk, so a full disk or a crash mid-write leaves the previous record intact.
    const String tempPath = String(kStateFilePath) + String(".new");
    errno = 0;
    FILE* file = OpenFile(tempPath, String("wb"));
    if (!file) {
        TellSaveFailed(errno != 0 ? errno : EIO);
        return -1;
    }
    int error = 0;
    // Keeps the first failure's reason.
    auto check = [&error](bool ok) {
        if (!ok && error == 0) error = errno != 0 ? errno : EIO;
        return ok;
    };
    const std::vector<unsigned char> bytes = EncodeStateText(text);
    bool complete = check(bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    complete = check(std::fflush(file) == 0) && complete;
    complete = check(fsync(fileno(file)) == 0) && complete;
    complete = check(std::fclose(file) == 0) && complete;
    const std::string temp = PathToFilePath(tempPath).ToUtf8();
    if (!complete) {
        unlink(temp.c_str());
        TellSaveFailed(error);
        return -2;
    }
    if (!check(std::rename(temp.c_str(), PathToFilePath(String(kStateFilePath)).ToUtf8().c_str()) == 0)) {
        unlink(temp.c_str());
        TellSaveFailed(error);
        return -1;
    }
    if (kpToldPlayer("save")) {
        kpSettleNotice("save");
        kpTellPlayer("saved-again", "progress saved to " + StateFileForPlayer() + " again; nothing is lost.");
        kpSettleNotice("saved-again");
    }
    return 0;
}
