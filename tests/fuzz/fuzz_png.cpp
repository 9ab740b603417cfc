// libFuzzer target for images: any bytes as an art file, decoded by the host (LoadImageData), kept and
// premultiplied by the graphics device's surface loader, and cut into frames by the image loader, exactly as the
// game loads a sheet (no window is open, so no texture is made). Checks that a surface's pixel block holds
// width x height x depth readable bytes and that every frame lies inside the surface.
#include <cstdint>
#include <cstdlib>

#include "framework/graphics/graphics.h"
#include "framework/graphics/hwgraphics.h"
#include "framework/graphics/hwsurface.h"
#include "runtime/object.h"
#include "tests/fuzz/memory_host.h"

namespace {
MemoryHost host;
hwGraphics* device = nullptr;

void CheckSurface(const hwSurface& s) {
    if (s.width <= 0 || s.height <= 0 || s.depth < 1 || s.depth > 4 || !s.pixels) std::abort();
    const size_t bytes = static_cast<size_t>(s.width) * static_cast<size_t>(s.height) * static_cast<size_t>(s.depth);
    volatile unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum = sum + s.pixels[i];
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    device = new hwGraphics(&host);
    device->Retain();  // the one device, for the whole run
    kp_graphics_SetGraphicsDevice(device);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    host.Serve(data, size);
    {
        // A sheet of 8x8 cells with a border column, as the fonts are loaded.
        StrongRef<c_Image> image = kp_graphics_LoadImage2(String("any.png"), 8, 8, 6, ImagePadX | ImageMidHandle);
        if (image) {
            const hwSurface& s = *image->m_surface;
            CheckSurface(s);
            for (const auto& frame : image->m_frames) {
                if (frame->m_x < 0 || frame->m_y < 0 || frame->m_x + image->m_width > s.width ||
                    frame->m_y + image->m_height > s.height) {
                    std::abort();
                }
            }
        }
    }
    gc_collect();
    return 0;
}
