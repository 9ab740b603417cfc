// hwTexturePage in a web page: WebGL 1 has no 3D textures, so no page is ever made and every sheet keeps a
// texture of its own (a surface with no page binds its own, hwsurface.cpp). The batcher still joins draws of one
// sheet; a menu frame takes a few more draw calls than on the desktop.
// Depends on hwSurface (its page stays null).
#include "framework/graphics/hwpage.h"

#include "framework/graphics/hwsurface.h"

void hwTexturePage::Place(hwSurface*) {}
void hwTexturePage::Settle() {}

// NOTE: nothing below is reached, since no page exists; a page's members are defined for the program to be whole.
hwTexturePage::~hwTexturePage() = default;
void hwTexturePage::Leave(hwSurface*) {}
void hwTexturePage::Refresh(hwSurface*) {}
bool hwTexturePage::Ready(const hwSurface*) const { return false; }
bool hwTexturePage::Current() const { return false; }
void hwTexturePage::Prepare(const hwSurface*) {}
void hwTexturePage::Bind(const hwSurface*) {}
