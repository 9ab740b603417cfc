// libFuzzer target for the RIFF/WAVE reader: any bytes, read through an in-memory file exactly as the game
// reads a file from disk. Built with clang's -fsanitize=fuzzer,address,undefined (see CMakeLists.txt); the
// memory limit of the smoke run turns an allocation larger than the input into a failure.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "host/audio_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;  // fmemopen refuses an empty buffer
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* pcm = LoadWAV(file, &length, &channels, &format, &hertz);
    std::fclose(file);
    if (!pcm) return 0;
    // A decoded block never claims more bytes than the file held, and every one of them is readable.
    const size_t bytes = static_cast<size_t>(length) * channels * format;
    if (length < 0 || channels <= 0 || format <= 0 || bytes > size) std::abort();
    volatile unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum = sum + pcm[i];
    std::free(pcm);
    return 0;
}
