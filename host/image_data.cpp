// Decoding image files into 8-bit pixels through Debian's stb_image: only PNG files, and only after their chunk
// layout has been checked. A file that is missing or does not decode is told to the player (once per file) and
// gives no pixels.
// NOTE: stb_image sizes its buffers from a chunk's length field and from the image header before it has read
// the data behind them, so a damaged file of a few bytes could make it ask for up to 4 GiB; and it decodes many
// more formats than the game's art uses, each one more way in for a damaged file. A PNG whose every chunk lies
// inside the file, and whose sides are within kMaxImageSide, is handed to it from memory.
#include "host/image_data.h"

#include <stb_image.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "host/files.h"  // ReadWholeFile
#include "host/kpgame.h"
#include "runtime/object.h"

namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian32(const unsigned char* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

}  // namespace

bool PngWithinBounds(const std::vector<unsigned char>& bytes) {
    if (bytes.size() > static_cast<size_t>(INT32_MAX)) return false;
    if (bytes.size() < sizeof kPngSignature || std::memcmp(bytes.data(), kPngSignature, sizeof kPngSignature) != 0) {
        return false;
    }
    size_t at = sizeof kPngSignature;
    bool first = true;
    while (bytes.size() - at >= 12) {
        const uint32_t length = BigEndian32(&bytes[at]);
        if (length > bytes.size() - at - 12) return false;
        const unsigned char* type = &bytes[at + 4];
        if (first) {
            if (std::memcmp(type, "IHDR", 4) != 0 || length < 8) return false;
            const uint32_t width = BigEndian32(type + 4), height = BigEndian32(type + 8);
            if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide) return false;
            first = false;
        }
        if (std::memcmp(type, "IEND", 4) == 0) return true;
        at += 12 + static_cast<size_t>(length);
    }
    return false;
}

DecodedImage DecodeImageBytes(const std::vector<unsigned char>& bytes) {
    DecodedImage image;
    image.png = bytes.size() >= sizeof kPngSignature &&
                std::memcmp(bytes.data(), kPngSignature, sizeof kPngSignature) == 0;
    if (PngWithinBounds(bytes)) {
        image.pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &image.width,
                                             &image.height, &image.depth, 0);
    }
    return image;
}

namespace {

// The decoding of a file's bytes as read, or why they could not be read (errno, as the read left it).
DecodedImage DecodeRead(const std::optional<std::vector<unsigned char>>& bytes) {
    if (bytes) return DecodeImageBytes(*bytes);
    DecodedImage unread;
    unread.readError = errno != 0 ? errno : ENOENT;
    return unread;
}

}  // namespace

DecodedImage DecodeImageFile(const std::string& file) {
    errno = 0;
    return DecodeRead(ReadWholeFile(file));
}

unsigned char* LoadImagePixels(KpGame& host, const String& path, std::optional<DecodedImage> image, int* width,
                               int* height, int* depth) {
    if (!image) {
        errno = 0;
        image = DecodeRead(host.LoadData(path));
    }
    if (image->readError != 0) {
        host.TellAssetUnreadable(path, image->readError);
        return nullptr;
    }
    if (!image->pixels) {
        host.TellAssetDamaged(path, image->png ? "is damaged and cannot be shown" : "is not a picture the game can show",
                              "the game runs without it");
        return nullptr;
    }
    *width = image->width;
    *height = image->height;
    *depth = image->depth;
    gc_ext_new_bytes += static_cast<int64_t>(*width) * *height * *depth;
    return image->pixels;
}
