// The checks an image file passes before the host hands it to stb_image (host/image_data.cpp), shared with the
// tests. Depends on the C++ library only.
#pragma once

#include <cstdint>
#include <vector>

// The longest side of an image the host decodes: twice that of the largest art sheet (2048 at the "-hd2"
// level). Decoded, an image at the bound takes 64 MiB.
inline constexpr uint32_t kMaxImageSide = 4096;

// Whether bytes are a PNG signature and a run of chunks (length, type, data, checksum) that each lie inside the
// file, the first an image header of a size within the bound, the last the end chunk; and a file short enough
// that stb_image can be told its length.
bool PngWithinBounds(const std::vector<unsigned char>& bytes);
