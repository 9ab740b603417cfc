// MemoryHost: the desktop host with every file it opens for reading served from one buffer in memory, so a fuzzer
// sends its input through the host's own file reading (LoadData, LoadString, LoadImageData, LoadAudioData) as if
// it were any file on disk. Depends on the host (KpZindleGame) and the C library's fmemopen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "backend.h"  // KpZindleGame

class MemoryHost : public KpZindleGame {
public:
    // The bytes every following open answers; they must outlive the reads.
    void Serve(const uint8_t* data, size_t size) {
        data_ = data;
        size_ = size;
    }
    FILE* OpenFile(const String& /*path*/, const String& mode) override {
        if (mode != String("rb")) return nullptr;
        // NOTE: fmemopen refuses an empty buffer; an empty file reads as /dev/null does.
        if (size_ == 0) return std::fopen("/dev/null", "rb");
        return fmemopen(const_cast<uint8_t*>(data_), size_, "rb");
    }

private:
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};
