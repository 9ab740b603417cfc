// Images and frames: cutting a surface into frames, the flag bits, the image loaders and the font choice.
// Depends on the graphics device (surfaces), the host (asset paths, errors, the player's notices).
#include <string>
#include <vector>

#include "framework/graphics/graphics.h"
#include "framework/graphics/hwsurface.h"  // hwTexturesFilling
#include "host/errors.h"
#include "host/files.h"
#include "host/kpgame.h"

c_Frame* c_Frame::m_new(int x, int y) {
    m_x = x;
    m_y = y;
    return this;
}

namespace {
StrongRef<c_Frame> NewFrame(int x, int y) {
    StrongRef<c_Frame> frame = MakeRef<c_Frame>();
    frame->m_new(x, y);
    return frame;
}

// Whether frameCount cells of frameWidth x frameHeight, walked as p_Init2 walks them from (0, 0), all lie in a
// sw x sh rectangle.
bool FramesFit(int frameWidth, int frameHeight, int frameCount, int sw, int sh) {
    int x = 0, y = 0;
    for (int i = 0; i < frameCount; ++i) {
        if (x + frameWidth > sw) {
            y += frameHeight;
            if (frameWidth > sw) return false;
            x = 0;
        }
        if (y + frameHeight > sh) return false;
        x += frameWidth;
    }
    return true;
}

// Tells the player that the art file at path, of a surface's size, is too small for the frames asked of it.
// With atLeast, the frame size is the least each frame needs rather than the exact size asked for.
void TellWrongSize(const String& path, hwSurface& surface, int frameWidth, int frameHeight, int frameCount,
                   bool atLeast) {
    if (!KpGame::_game) return;
    KpGame::_game->TellAssetDamaged(
        path,
        "is " + std::to_string(surface.Width()) + "x" + std::to_string(surface.Height()) +
            " pixels, too small for the " + std::to_string(frameCount) + " pictures of " + (atLeast ? "at least " : "") +
            std::to_string(frameWidth) +
            "x" + std::to_string(frameHeight) + " it should hold (damaged or replaced)",
        "the game runs without it");
}

// The size of a frame once the border flags have taken their pixels.
bool PaddedSizeUsable(int width, int height, int flags) {
    if (flags & ImagePadX) width -= 2;
    if (flags & ImagePadY) height -= 2;
    return width > 0 && height > 0;
}
}  // namespace

c_Image* c_Image::p_Init(StrongRef<hwSurface> surface, int frameCount, int flags) {
    if (m_surface) kpError(String("Image already initialized"));
    // NOTE: the frame width is the surface width divided by the count; a count below one is a fault in the
    // calling code and would divide by zero.
    if (frameCount < 1) kpError(String("Image frame count must be at least 1"));
    m_surface = surface;
    m_width = surface->Width() / frameCount;
    m_height = surface->Height();
    m_frames = Array<StrongRef<c_Frame>>(frameCount);
    for (int i = 0; i < frameCount; ++i) m_frames[i] = NewFrame(i * m_width, 0);
    p_ApplyFlags(flags);
    return this;
}

c_Image* c_Image::p_Init2(StrongRef<hwSurface> surface, int x, int y, int frameWidth, int frameHeight,
                          int frameCount, int flags, StrongRef<c_Image> source, int sx, int sy, int sw, int sh) {
    if (m_surface) kpError(String("Image already initialized"));
    if (frameCount < 1) kpError(String("Image frame count must be at least 1"));
    m_surface = surface;
    m_source = source;
    m_width = frameWidth;
    m_height = frameHeight;
    m_frames = Array<StrongRef<c_Frame>>(frameCount);
    for (int i = 0; i < frameCount; ++i) {
        if (x + m_width > sw) {
            y += m_height;
            if (m_width > sw) kpError(String("Image frame outside surface"));
            x = 0;
        }
        if (y + m_height > sh) kpError(String("Image frame outside surface"));
        m_frames[i] = NewFrame(x + sx, y + sy);
        x += m_width;
    }
    p_ApplyFlags(flags);
    return this;
}

int c_Image::p_SetHandle(float x, float y) {
    m_handleX = x;
    m_handleY = y;
    m_flags &= ~ImageMidHandle;
    return 0;
}

int c_Image::p_ApplyFlags(int flags) {
    m_flags = flags;
    if (flags & ImagePadX) {
        for (auto& frame : m_frames) frame->m_x += 1;
        m_width -= 2;
    }
    if (flags & ImagePadY) {
        for (auto& frame : m_frames) frame->m_y += 1;
        m_height -= 2;
    }
    if (flags & ImageMidHandle) {
        m_flags &= ~ImageMidHandle;
        p_SetHandle(static_cast<float>(m_width) * 0.5f, static_cast<float>(m_height) * 0.5f);
    }
    if (m_frames.Length() == 1 && m_frames[0]->m_x == 0 && m_frames[0]->m_y == 0 &&
        m_width == m_surface->Width() && m_height == m_surface->Height()) {
        m_flags |= ImageWholeSurface;
    }
    return 0;
}

// ---- Loaders ----

// NOTE: an art file that exists but is too small for the cells asked of it (damaged, or a wrong size) is
// treated like a missing file: the loader answers null, the caller's slot stays empty and the game runs on.
// Cutting it anyway would stop the game with "Image frame outside surface", or give empty frames.

StrongRef<c_Image> kp_graphics_LoadImage(const String& path, int frameCount, int flags) {
    if (frameCount < 1) kpError(String("Image frame count must be at least 1"));
    if (!kp_graphics_device) return nullptr;
    const String file = kp_data_FixDataPath(path);
    StrongRef<hwSurface> surface = kp_graphics_device->LoadSurface(file);
    if (!surface) return nullptr;
    if (!PaddedSizeUsable(surface->Width() / frameCount, surface->Height(), flags)) {
        TellWrongSize(file, *surface, flags & ImagePadX ? 3 : 1, flags & ImagePadY ? 3 : 1, frameCount, true);
        return nullptr;
    }
    StrongRef<c_Image> image = MakeRef<c_Image>();
    image->p_Init(surface, frameCount, flags);
    return image;
}

int kp_graphics_DecodeImagesAhead(const std::vector<String>& paths) {
    if (!KpGame::_game) return 0;
    std::vector<String> files;
    files.reserve(paths.size());
    for (const String& path : paths) files.push_back(kp_data_FixDataPath(path));
    KpGame::_game->DecodeImagesAhead(files);
    return 0;
}

bool kp_graphics_ImagesReady(const std::vector<String>& paths) {
    // NOTE: a sheet loaded now would wait behind the textures still being filled, and its own filling would
    // then fall into frames that are already full.
    if (hwTexturesFilling()) return false;
    if (!KpGame::_game) return true;
    std::vector<String> files;
    files.reserve(paths.size());
    for (const String& path : paths) files.push_back(kp_data_FixDataPath(path));
    return KpGame::_game->ImagesReady(files);
}

bool kp_graphics_ImageArrived(const String& path) {
    return !KpGame::_game || KpGame::_game->DataArrived(kp_data_FixDataPath(path));
}

int kp_graphics_ShowingArtLevel(int level) {
    if (KpGame::_game) KpGame::_game->ShowingArtLevel(level);
    return 0;
}

StrongRef<c_Image> kp_graphics_LoadImage2(const String& path, int frameWidth, int frameHeight, int frameCount,
                                          int flags) {
    if (frameCount < 1) kpError(String("Image frame count must be at least 1"));
    if (!kp_graphics_device) return nullptr;
    const String file = kp_data_FixDataPath(path);
    StrongRef<hwSurface> surface = kp_graphics_device->LoadSurface(file);
    if (!surface) return nullptr;
    if (!FramesFit(frameWidth, frameHeight, frameCount, surface->Width(), surface->Height()) ||
        !PaddedSizeUsable(frameWidth, frameHeight, flags)) {
        TellWrongSize(file, *surface, frameWidth, frameHeight, frameCount, false);
        return nullptr;
    }
    StrongRef<c_Image> image = MakeRef<c_Image>();
    image->p_Init2(surface, 0, 0, frameWidth, frameHeight, frameCount, flags, nullptr, 0, 0, surface->Width(),
                   surface->Height());
    return image;
}

StrongRef<c_Image> kp_graphics_CreateImage(int width, int height, int frameCount, int flags) {
    if (frameCount < 1) kpError(String("Image frame count must be at least 1"));
    if (!kp_graphics_device) return nullptr;
    StrongRef<c_Image> image = MakeRef<c_Image>();
    image->p_Init(kp_graphics_device->CreateSurface(width * frameCount, height), frameCount, flags);
    return image;
}

int kp_graphics_DiscardImage(c_Image* image) {
    if (!image || !image->m_surface) return 0;
    image->m_surface->Discard();
    image->m_surface = nullptr;
    return 0;
}

int kp_graphics_SetFont(StrongRef<c_Image> font, int firstChar) {
    c_GraphicsContext& g = *kp_graphics_context;
    if (!font) {
        if (!g.m_builtinFont) g.m_builtinFont = kp_graphics_LoadImage(String("dravo_font.png"), 96, ImagePadX);
        font = g.m_builtinFont;
        firstChar = 32;
    }
    g.m_currentFont = font;
    g.m_fontFirstChar = firstChar;
    return 0;
}
