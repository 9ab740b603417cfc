// Sound file decoding: the RIFF/WAVE reader and Ogg Vorbis. Opening the file and choosing the decoder is the
// host's (audio_file.cpp), so that the decoders build on their own.
#include "host/audio_data.h"

#include <stb_vorbis.h>  // Debian's libstb builds stb_vorbis too

#include <cstdint>
#include <cstdlib>
#include <cstring>


namespace {

bool ReadTag(FILE* file, char tag[5]) {
    tag[4] = 0;
    return std::fread(tag, 1, 4, file) == 4;
}

int ReadInt(FILE* file) {
    unsigned char b[4];
    if (std::fread(b, 1, 4, file) != 4) return -1;
    return static_cast<int>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                            (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24));
}

int ReadShort(FILE* file) {
    unsigned char b[2];
    if (std::fread(b, 1, 2, file) != 2) return -1;
    return b[0] | (b[1] << 8);
}

// Bytes from the current position to the end of the file, or -1 when the file cannot tell.
long RemainingBytes(FILE* file) {
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long end = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return end - here;
}

}  // namespace

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz) {
    char tag[5];
    if (!ReadTag(file, tag) || std::strcmp(tag, "RIFF") != 0) return nullptr;
    ReadInt(file);
    if (!ReadTag(file, tag) || std::strcmp(tag, "WAVE") != 0) return nullptr;
    if (!ReadTag(file, tag) || std::strcmp(tag, "fmt ") != 0) return nullptr;
    const int formatLength = ReadInt(file);
    if (ReadShort(file) != 1) return nullptr;
    const int channelCount = ReadShort(file);
    const int rate = ReadInt(file);
    ReadInt(file);
    ReadShort(file);
    const int bits = ReadShort(file);
    const int bytesPerSample = bits >> 3;
    // NOTE: a header without channels or with under 8 bits per sample would divide by zero below: refused.
    if (channelCount <= 0 || bytesPerSample <= 0 || formatLength < 16) return nullptr;
    if (formatLength > 16 && std::fseek(file, formatLength - 16, SEEK_CUR) != 0) return nullptr;

    for (;;) {
        if (!ReadTag(file, tag)) return nullptr;
        const int size = ReadInt(file);
        // NOTE: a negative size would seek backwards (a hostile file could loop for ever) and a size beyond the
        // rest of the file would allocate blindly: both end the read.
        if (size < 0) return nullptr;
        const long remaining = RemainingBytes(file);
        if (remaining < 0 || size > remaining) return nullptr;
        if (std::strcmp(tag, "data") != 0) {
            // NOTE: RIFF pads a chunk of odd size with one byte; without skipping it, a valid file with an odd
            // chunk before its data would be read one byte off and refused.
            const long skip = size + (size & 1);
            if (std::fseek(file, skip <= remaining ? skip : size, SEEK_CUR) != 0) return nullptr;
            continue;
        }
        auto* block = static_cast<unsigned char*>(std::malloc(size > 0 ? static_cast<size_t>(size) : 1));
        if (!block) return nullptr;
        if (std::fread(block, 1, static_cast<size_t>(size), file) != static_cast<size_t>(size)) {
            std::free(block);
            return nullptr;
        }
        *length = size / (channelCount * bytesPerSample);
        *channels = channelCount;
        *format = bytesPerSample;
        *hertz = rate;
        return block;
    }
}

unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz) {
    int error = 0;
    stb_vorbis* vorbis = stb_vorbis_open_file(file, 0, &error, nullptr);
    if (!vorbis) return nullptr;
    const stb_vorbis_info info = stb_vorbis_get_info(vorbis);
    const int c = info.channels;
    if (c <= 0) {
        stb_vorbis_close(vorbis);
        return nullptr;
    }
    size_t limit = static_cast<size_t>(c) * 4096;
    size_t total = 0;
    auto* buffer = static_cast<short*>(std::malloc(limit * sizeof(short)));
    while (buffer) {
        const int n = stb_vorbis_get_frame_short_interleaved(vorbis, c, buffer + total,
                                                             static_cast<int>(limit - total));
        if (n == 0) break;
        total += static_cast<size_t>(n) * c;
        if (total + static_cast<size_t>(c) * 4096 > limit) {
            limit *= 2;
            auto* grown = static_cast<short*>(std::realloc(buffer, limit * sizeof(short)));
            if (!grown) std::free(buffer);
            buffer = grown;
        }
    }
    stb_vorbis_close(vorbis);
    if (!buffer) return nullptr;
    auto* trimmed = static_cast<short*>(std::realloc(buffer, total > 0 ? total * sizeof(short) : sizeof(short)));
    if (trimmed) buffer = trimmed;
    *length = static_cast<int>(total / c);
    *channels = c;
    *format = 2;
    *hertz = static_cast<int>(info.sample_rate);
    return reinterpret_cast<unsigned char*>(buffer);
}
