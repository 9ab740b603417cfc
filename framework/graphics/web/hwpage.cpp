// hwTexturePage in a web page: WebGL 1 has no 3D textures, so no page is ever made and every sheet keeps a
// texture of its own (a surface with no page binds its own, hwsurface.cpp). The batcher still joins draws of one
// sheet; a menu frame takes a few more draw calls than on the desktop.
// Depends on hwSurface (its page stays null) and the filling of textures in bands (hwgraphics_gl.cpp).
#include "framework/graphics/hwpage.h"

#include "framework/graphics/hwsurface.h"

// Fills the next band of the first texture still waiting for its pixels (hwgraphics_gl.cpp, beside
// hwFillTexture).
void hwFillTexturesOnce();

void hwTexturePage::Place(hwSurface*) {}
// With no pages to settle, the start of a frame fills textures on: the next band of a large sheet.
void hwTexturePage::Settle() { hwFillTexturesOnce(); }

// NOTE: nothing below is reached, since no page exists; a page's members are defined for the program to be whole.
hwTexturePage::~hwTexturePage() = default;
void hwTexturePage::Leave(hwSurface*) {}
void hwTexturePage::Refresh(hwSurface*) {}
bool hwTexturePage::Ready(const hwSurface*) const { return false; }
bool hwTexturePage::Current() const { return false; }
void hwTexturePage::Prepare(const hwSurface*) {}
void hwTexturePage::Bind(const hwSurface*) {}
