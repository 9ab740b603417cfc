// A test process's scratch folder: made on first use under the system's temporary folder, named uniquely, and
// removed with everything in it when the process exits, so test runs leave nothing behind and parallel test
// processes never share one.
#pragma once

#include <stdlib.h>  // mkdtemp
#include <unistd.h>  // getpid

#include <filesystem>
#include <string>

namespace scratch {

// The folder, made on first call.
inline const std::filesystem::path& Folder() {
    struct Owned {
        std::filesystem::path path;
        pid_t maker = getpid();
        Owned() {
            std::string pattern = (std::filesystem::temp_directory_path() / "quorlix-scratch-XXXXXX").string();
            if (mkdtemp(pattern.data())) path = pattern;
        }
        // NOTE: a death test's forked child runs this too as it exits; only the process that made the folder
        // removes it, so the tests after a death test still find their files.
        ~Owned() {
            std::error_code ignored;
            if (!path.empty() && getpid() == maker) std::filesystem::remove_all(path, ignored);
        }
    };
    static const Owned owned;
    return owned.path;
}

// The path of name in the folder.
inline std::string File(const std::string& name) { return (Folder() / name).string(); }

}  // namespace scratch
