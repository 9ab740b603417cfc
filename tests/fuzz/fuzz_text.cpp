// libFuzzer target for the host's text decoding: any bytes read as a whole file through LoadString (byte order
// marks, UTF-8, bytes as a fallback), then written back as the state store writes a record. Checks that the text
// never holds more code units than the file had bytes, and that what the store writes reads back the same.
#include <cstdint>
#include <cstdlib>

#include "host/files.h"
#include "tests/fuzz/memory_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryHost host;
    host.Serve(data, size);
    const String text = host.LoadString(String("./any.txt"));
    if (static_cast<size_t>(text.Length()) > size) std::abort();
    // NOTE: a text that starts with U+FEFF is written as a UTF-8 byte order mark, which reading skips.
    if (text.Length() > 0 && text[0] == 0xFEFF) return 0;
    if (DecodeFileText(EncodeStateText(text)) != text) std::abort();
    return 0;
}
