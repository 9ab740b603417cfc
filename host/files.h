// Asset names, whole-file reading and the text decoding the host uses for files and the state store.
// Depends on the runtime (String). Asset names become virtual paths under "zindle://data/", which the host
// maps into the data folder beside the executable (or, installed, in the shared data tree); the progress record
// lives in "./.zindlestate".
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/string.h"

// The state file, in the current working directory.
inline constexpr const char* kStateFilePath = "./.zindlestate";
// The most of the state file that is read: ample for any record the game writes.
inline constexpr size_t kStateReadLimit = 1024 * 1024;

// The state file's full path, as a player looks for it (UTF-8), or the place the host names for it.
std::string StateFileForPlayer();

// Makes an asset name into a virtual path: names that carry a scheme or drive, or start with "./" or "/",
// come back unchanged; any other gets "zindle://data/" in front.
String kp_data_FixDataPath(const String& path);

// The data folder of a game whose executable lies in `appDir`: "data" beside it when that folder exists (the
// build tree), else the folder `installed` names relative to `appDir` when that one exists (an install, whose
// data lies in the shared data tree), else "data" beside it still, so that a missing folder fails to open as
// before. The installed one is given without "." or ".." steps.
String FindDataDirectory(const String& appDir, const String& installed);

// Where a host keeps the folders of the virtual roots "zindle://data/", "zindle://internal/" and
// "zindle://external/"; each is asked for only when a path names its root, so a folder found at some cost (the
// data folder) is found when first used.
struct VirtualFolders {
    std::function<String()> data, internal, external;
};

// A virtual path as a file-system path: a path that does not start with "zindle:" comes back unchanged; one under
// a root is that root's folder, "/", and the rest of the path; any other "zindle:" path is the empty text, which
// opens nothing.
String MapVirtualPath(const String& path, const VirtualFolders& folders);

// A whole file's bytes, read at its file-system path (UTF-8); none, with errno saying why, when it cannot be
// opened. Touches no String, so any thread may read with it.
std::optional<std::vector<unsigned char>> ReadWholeFile(const std::string& file);

// Decodes a whole file's bytes as text: UTF-16 after a byte order mark, otherwise UTF-8 (a leading mark
// skipped); text that is not valid UTF-8 comes back as one code unit per byte.
String DecodeFileText(const std::vector<unsigned char>& bytes);

// Encodes text as UTF-8 code unit by code unit, with no byte order mark.
std::vector<unsigned char> EncodeStateText(const String& text);
