// Decoding image files into 8-bit pixels through Debian's stb_image.
#include <stb_image.h>

#include "host/glfwgame.h"
#include "runtime/object.h"

unsigned char* KpGlfwGame::LoadImageData(const String& path, int* width, int* height, int* depth) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    unsigned char* pixels = stbi_load_from_file(file, width, height, depth, 0);
    std::fclose(file);
    if (pixels) gc_ext_new_bytes += static_cast<int64_t>(*width) * *height * *depth;
    return pixels;
}
