// Sound file decoding: the RIFF/WAVE reader and Ogg Vorbis. Opening the file and choosing the decoder is the
// host's (audio_file.cpp), so that the decoders build on their own.
#include "host/audio_data.h"

#include <stb_vorbis.h>  // Debian's libstb builds stb_vorbis too

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>  // the decoder's memory block
#include <new>     // nothrow
#include <optional>
#include <vector>


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

// The rest of an open file, or none when it cannot be read whole or is too long for stb_vorbis to address.
std::optional<std::vector<unsigned char>> ReadRest(FILE* file) {
    const long remaining = RemainingBytes(file);
    if (remaining < 0 || remaining > INT32_MAX) return std::nullopt;
    std::vector<unsigned char> bytes(static_cast<size_t>(remaining));
    if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) return std::nullopt;
    return bytes;
}

uint32_t LittleEndian32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// The second packet of an Ogg stream (a Vorbis stream's comment header), put together from its pages as
// stb_vorbis reads them: the first page holds the identification header alone (one segment of 30 bytes), the
// packet starts a page, and each page it continues on says so. None when the pages end first or break that
// layout.
std::optional<std::vector<unsigned char>> SecondPacket(const std::vector<unsigned char>& bytes) {
    std::vector<unsigned char> packet;
    size_t at = 0;
    for (int page = 0; bytes.size() - at >= 27; ++page) {
        const unsigned char* header = &bytes[at];
        if (std::memcmp(header, "OggS", 4) != 0 || header[4] != 0) return std::nullopt;
        const size_t segments = header[26];
        if (bytes.size() - at - 27 < segments) return std::nullopt;
        const unsigned char* lacing = header + 27;
        size_t data = at + 27 + segments;
        if (page == 0) {
            if (segments != 1 || lacing[0] != 30 || bytes.size() - data < 30) return std::nullopt;
            at = data + 30;
            continue;
        }
        const bool continued = (header[5] & 1) != 0;
        if (continued != !packet.empty()) return std::nullopt;
        for (size_t s = 0; s < segments; ++s) {
            if (bytes.size() - data < lacing[s]) return std::nullopt;
            packet.insert(packet.end(), bytes.begin() + static_cast<ptrdiff_t>(data),
                          bytes.begin() + static_cast<ptrdiff_t>(data + lacing[s]));
            data += lacing[s];
            if (lacing[s] < 255) return packet;
        }
        at = data;
    }
    return std::nullopt;
}

// Whether a Vorbis comment header's vendor text and every comment lie inside the packet, with the framing bit
// after them.
// NOTE: stb_vorbis takes these lengths as they stand: one past the packet (a damaged or cut file) makes it
// write outside the memory it set aside for the text.
bool CommentHeaderWellFormed(const std::vector<unsigned char>& packet) {
    const size_t n = packet.size();
    if (n < 7 || packet[0] != 3 || std::memcmp(&packet[1], "vorbis", 6) != 0) return false;
    size_t at = 7;
    if (n - at < 4) return false;
    const uint32_t vendor = LittleEndian32(&packet[at]);
    at += 4;
    if (vendor > n - at) return false;
    at += vendor;
    if (n - at < 4) return false;
    const uint32_t count = LittleEndian32(&packet[at]);
    at += 4;
    for (uint32_t i = 0; i < count; ++i) {
        if (n - at < 4) return false;
        const uint32_t length = LittleEndian32(&packet[at]);
        at += 4;
        if (length > n - at) return false;
        at += length;
    }
    return at < n && (packet[at] & 1) != 0;
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
    // NOTE: stb_vorbis takes all the memory of its set-up and decoding from this block instead of the C
    // allocator. Its set-up sizes tables from counts in the file's headers, so a damaged file could otherwise
    // make it ask for far more than any sound needs, and some of its failure paths leave what they took
    // unfreed. The largest set-up oggenc makes, at any quality, rate and channel count, takes about 220 KiB.
    constexpr int kDecoderMemory = 1 << 20;
    std::unique_ptr<char[]> arena(new (std::nothrow) char[kDecoderMemory]);
    if (!arena) return nullptr;
    const stb_vorbis_alloc alloc{arena.get(), kDecoderMemory};
    const auto bytes = ReadRest(file);
    if (!bytes) return nullptr;
    const auto comments = SecondPacket(*bytes);
    if (!comments || !CommentHeaderWellFormed(*comments)) return nullptr;
    int error = 0;
    stb_vorbis* vorbis =
        stb_vorbis_open_memory(bytes->data(), static_cast<int>(bytes->size()), &error, &alloc);
    if (!vorbis) return nullptr;
    const stb_vorbis_info info = stb_vorbis_get_info(vorbis);
    const int c = info.channels;
    // Samples of any other layout could not be played (the sample loader knows mono and stereo only), and a
    // rate past the integer range would reach OpenAL as a negative one.
    if ((c != 1 && c != 2) || info.sample_rate > static_cast<unsigned>(INT32_MAX)) {
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
