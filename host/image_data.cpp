// Decoding image files into 8-bit pixels through Debian's stb_image. A file that is missing or does not decode
// is told to the player (once per file) and gives no pixels.
#include <stb_image.h>

#include <cerrno>
#include <string>

#include "host/glfwgame.h"
#include "runtime/object.h"

unsigned char* KpGlfwGame::LoadImageData(const String& path, int* width, int* height, int* depth) {
    errno = 0;
    FILE* file = OpenFile(path, String("rb"));
    if (!file) {
        TellAssetUnreadable(path, errno != 0 ? errno : ENOENT);
        return nullptr;
    }
    unsigned char* pixels = stbi_load_from_file(file, width, height, depth, 0);
    std::fclose(file);
    if (!pixels) {
        // The decoder's own reasons ("outofdata", "bad zlib header") mean nothing to a player; a file that is
        // no picture at all is told apart from one that is a damaged picture.
        const bool picture = std::string(stbi_failure_reason()) != "unknown image type";
        TellAssetDamaged(path, picture ? "is damaged and cannot be shown" : "is not a picture the game can show",
                         "the game runs without it");
        return nullptr;
    }
    gc_ext_new_bytes += static_cast<int64_t>(*width) * *height * *depth;
    return pixels;
}
