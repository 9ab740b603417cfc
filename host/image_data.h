// The checks an image file passes before the host hands it to stb_image (host/image_data.cpp), shared with the
// tests. Depends on the C++ library only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The longest side of an image the host decodes: twice that of the largest art sheet (2048 at the "-hd2"
// level). Decoded, an image at the bound takes 64 MiB.
inline constexpr uint32_t kMaxImageSide = 4096;

// Whether bytes are a PNG signature and a run of chunks (length, type, data, checksum) that each lie inside the
// file, the first an image header of a size within the bound, the last the end chunk; and a file short enough
// that stb_image can be told its length.
bool PngWithinBounds(const std::vector<unsigned char>& bytes);

// An image file decoded, or what kept it from decoding.
struct DecodedImage {
    // 8-bit pixels from stb_image (malloc'd, for the taker to free); null when the file gave none.
    unsigned char* pixels = nullptr;
    int width = 0, height = 0, depth = 0;
    // The errno of a file that could not be opened or read; 0 when its bytes were read.
    int readError = 0;
    // Whether the bytes began as a PNG does: a damaged picture is told apart from a file that is none.
    bool png = false;
};

// Decodes the bytes of an image file: a PNG within the bounds above, through stb_image.
DecodedImage DecodeImageBytes(const std::vector<unsigned char>& bytes);
// Reads and decodes the image file at a file-system path (UTF-8). Safe on any thread.
DecodedImage DecodeImageFile(const std::string& file);

class KpGame;
class String;
// A host's LoadImageData: the decoding of the image at a (virtual) path, given one made ahead (or none: the
// file is then read through host now). A file that cannot be read or decoded is told to the player once and
// gives null; pixels handed over are counted toward the collector's next collection.
unsigned char* LoadImagePixels(KpGame& host, const String& path, std::optional<DecodedImage> image, int* width,
                               int* height, int* depth);
