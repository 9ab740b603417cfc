// hwTexturePage: choosing a page and a layer for a surface, giving layers up, and making, packing and filling
// the 3D texture from the members' kept pixels.
// Depends on OpenGL 1.2, the host (kpGraphicsSeq) and hwSurface.
#include "framework/graphics/hwpage.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "framework/graphics/hwsurface.h"
#include "host/graphics_generation.h"

namespace {

// Every page alive, members or not. NOTE: never destroyed, so pages released by static destructors at exit
// still find it.
std::vector<hwTexturePage*>& AllPages() {
    static auto* pages = new std::vector<hwTexturePage*>();
    return *pages;
}

// The largest side of a 3D texture in the current context; 0 when it has none.
int Largest3DTexture() {
    static int askedIn = -1;
    static int largest = 0;
    if (askedIn != kpGraphicsSeq) {
        GLint value = 0;
        glGetIntegerv(GL_MAX_3D_TEXTURE_SIZE, &value);
        // NOTE: a context without 3D textures refuses the question; its error must not be taken later for a
        // refused texture size.
        glGetError();
        largest = value;
        askedIn = kpGraphicsSeq;
    }
    return largest;
}

// Placements since Settle last ran: while surfaces are being placed, loading is under way.
int placements = 0;

}  // namespace

hwTexturePage::hwTexturePage(int glFormat, int width, int height)
    : format(glFormat), layerWidth(width), layerHeight(height), bornIn(kpGraphicsSeq) {
    AllPages().push_back(this);
}

hwTexturePage::~hwTexturePage() {
    std::erase(AllPages(), this);
    // NOTE: a texture of an older context died with its window; its name means nothing in the current one.
    if (seq != -1 && seq == kpGraphicsSeq) glDeleteTextures(1, &texture);
}

void hwTexturePage::Place(hwSurface* surface) {
    if (!surface->pixels || surface->format == 0 || kpGraphicsSeq == 0) return;
    const int w = surface->width, h = surface->height;
    const int largest = Largest3DTexture();
    if (w <= 0 || h <= 0 || w > largest || h > largest) return;
    if (static_cast<int64_t>(w) * h > kMostSharedTexels) return;

    // Ranks: 0 a free layer of the surface's size, 1 a free layer twice as wide or tall, 2 and 3 a new layer.
    hwTexturePage* best = nullptr;
    int bestRank = 4;
    for (hwTexturePage* page : AllPages()) {
        if (page->format != surface->format) continue;
        // NOTE: a new window brings new art (the game reloads everything at another level), so a page of an
        // earlier window is left to empty out and go: mixing the two would make it again, new art and old,
        // whenever it grows, and keep the old art's layers until it is packed.
        if (page->bornIn != kpGraphicsSeq) continue;
        const bool exact = page->layerWidth == w && page->layerHeight == h;
        const bool doubled = (page->layerWidth == 2 * w && page->layerHeight == h) ||
                             (page->layerWidth == w && page->layerHeight == 2 * h);
        if (!exact && !doubled) continue;
        const bool free = std::find(page->members.begin(), page->members.end(), nullptr) != page->members.end();
        const int64_t layerBytes = static_cast<int64_t>(page->layerWidth) * page->layerHeight * surface->depth;
        const int64_t mostLayers = std::min<int64_t>(largest, std::max<int64_t>(1, kMostPageBytes / layerBytes));
        if (!free && page->Layers() >= mostLayers) continue;
        const int rank = (free ? 0 : 2) + (exact ? 0 : 1);
        if (rank < bestRank) {
            best = page;
            bestRank = rank;
        }
    }
    // NOTE: a page whose last member left waits for the collector step; taking it again keeps it.
    StrongRef<hwTexturePage> page = best ? best : new hwTexturePage(surface->format, w, h);
    auto freeLayer = std::find(page->members.begin(), page->members.end(), nullptr);
    int layer;
    if (freeLayer != page->members.end()) {
        layer = static_cast<int>(freeLayer - page->members.begin());
        *freeLayer = surface;
        page->uploaded[layer] = false;
    } else {
        layer = page->Layers();
        page->members.push_back(surface);
        page->uploaded.push_back(false);
    }
    surface->page = page;
    surface->layer = layer;
    surface->drawableIn = -1;
    ++placements;
}

void hwTexturePage::Leave(hwSurface* surface) {
    const int layer = surface->layer;
    if (layer < 0 || layer >= Layers() || members[layer] != surface) return;
    members[layer] = nullptr;
    uploaded[layer] = false;
    surface->layer = -1;
    surface->drawableIn = -1;
    // NOTE: a page of an earlier window takes no new members, so each one leaving it is a sheet being replaced:
    // its texture goes at once, and is made again, packed, only if a member still in it is drawn meanwhile.
    if (bornIn != kpGraphicsSeq && seq == kpGraphicsSeq) {
        glDeleteTextures(1, &texture);
        seq = -1;
        for (hwSurface* member : members) {
            if (member) member->drawableIn = -1;
        }
    }
}

void hwTexturePage::Refresh(hwSurface* surface) {
    if (surface->layer >= 0 && surface->layer < Layers() && members[surface->layer] == surface) {
        uploaded[surface->layer] = false;
        surface->drawableIn = -1;
    }
}

bool hwTexturePage::Ready(const hwSurface* surface) const {
    return surface->page.Get() == this && surface->drawableIn == kpGraphicsSeq;
}

bool hwTexturePage::Current() const {
    if (seq != kpGraphicsSeq || madeLayers != Layers()) return false;
    for (int layer = 0; layer < Layers(); ++layer) {
        if (!members[layer] || !uploaded[layer]) return false;
    }
    return true;
}

void hwTexturePage::Prepare(const hwSurface* surface) {
    if (kpGraphicsSeq == 0 || Ready(surface)) return;
    if (seq != kpGraphicsSeq || surface->layer >= madeLayers) {
        Make();
        return;
    }
    glBindTexture(GL_TEXTURE_3D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    Upload(surface->layer);
    Inform(surface->layer);
}

void hwTexturePage::Bind(const hwSurface* surface) {
    Prepare(surface);
    glBindTexture(GL_TEXTURE_3D, texture);
}

void hwTexturePage::Settle() {
    // NOTE: while loading places surfaces, a page grows step by step and a layer given up is soon taken by the
    // next surface of its size; making pages then would make them again and again. So a page is made when
    // one of its surfaces is first drawn, or else once, packed, at the first frame after a frame in which
    // nothing was placed.
    const bool loading = placements > 0;
    placements = 0;
    if (loading || kpGraphicsSeq == 0) return;
    for (hwTexturePage* page : AllPages()) {
        if (page->bornIn == kpGraphicsSeq && page->Layers() > 0 && !page->Current()) page->Make();
    }
}

void hwTexturePage::Make() {
    std::erase(members, nullptr);
    uploaded.assign(members.size(), false);
    for (int layer = 0; layer < Layers(); ++layer) members[layer]->layer = layer;
    if (members.empty()) return;

    // NOTE: the texture of this context goes before the new one is made, so the two never take memory at once.
    if (seq == kpGraphicsSeq) glDeleteTextures(1, &texture);
    seq = kpGraphicsSeq;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_3D, texture);
    SampleNearestClamped(GL_TEXTURE_3D);
    texWidth = layerWidth;
    texHeight = layerHeight;
    texDepth = Layers();
    glTexImage3D(GL_TEXTURE_3D, 0, format, texWidth, texHeight, texDepth, 0, format, GL_UNSIGNED_BYTE, nullptr);
    if (glGetError() != GL_NO_ERROR) {
        // NOTE: as for a surface's own texture, taken to mean the driver wants powers of two; the scales keep
        // the rest of each layer, and the spare layers, from being sampled.
        texWidth = PowerOfTwoAtLeast(layerWidth);
        texHeight = PowerOfTwoAtLeast(layerHeight);
        texDepth = PowerOfTwoAtLeast(Layers());
        glTexImage3D(GL_TEXTURE_3D, 0, format, texWidth, texHeight, texDepth, 0, format, GL_UNSIGNED_BYTE,
                     nullptr);
    }
    madeLayers = Layers();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int layer = 0; layer < Layers(); ++layer) {
        Upload(layer);
        Inform(layer);
    }
}

void hwTexturePage::Upload(int layer) {
    const hwSurface& s = *members[layer];
    const int w = s.width, h = s.height;
    const unsigned char* pixels = s.pixels;
    const size_t bytes = static_cast<size_t>(s.depth);
    glTexSubImage3D(GL_TEXTURE_3D, 0, 0, 0, layer, w, h, 1, format, GL_UNSIGNED_BYTE, pixels);
    const bool wider = w < texWidth, taller = h < texHeight;
    if (wider || taller) {
        // The edge column is read from the pixel block as a one-pixel-wide rectangle of rows w pixels apart.
        glPixelStorei(GL_UNPACK_ROW_LENGTH, w);
        const unsigned char* lastRow = pixels + static_cast<size_t>(h - 1) * w * bytes;
        if (wider) glTexSubImage3D(GL_TEXTURE_3D, 0, w, 0, layer, 1, h, 1, format, GL_UNSIGNED_BYTE,
                                   pixels + (w - 1) * bytes);
        if (taller) glTexSubImage3D(GL_TEXTURE_3D, 0, 0, h, layer, w, 1, 1, format, GL_UNSIGNED_BYTE, lastRow);
        if (wider && taller) glTexSubImage3D(GL_TEXTURE_3D, 0, w, h, layer, 1, 1, 1, format, GL_UNSIGNED_BYTE,
                                             lastRow + (w - 1) * bytes);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
    uploaded[layer] = true;
}

void hwTexturePage::Inform(int layer) const {
    hwSurface& s = *members[layer];
    s.uscale = 1.0f / static_cast<float>(texWidth);
    s.vscale = 1.0f / static_cast<float>(texHeight);
    s.layerCoord = (static_cast<float>(layer) + 0.5f) / static_cast<float>(texDepth);
    s.drawableIn = kpGraphicsSeq;
}
