// The backend contract: everything a platform's backend gives the shared code, one line each on what it must do.
// A backend is a folder named for its platform in each layer that has platform code (runtime/<backend>/,
// host/<backend>/, framework/graphics/<backend>/), chosen by the build (QUORLIX_BACKEND): "desktop" is GLFW,
// OpenGL 1.2 and OpenAL; "web" is the toolchain's page, WebGL 1 and OpenAL over Web Audio. Shared code reaches a
// platform through this list and the KpGame virtual operations only. Each backend's host header says what of
// KpGame it answers and what it leaves to the base class's neutral answers.
// Depends on the runtime and the host; the backend's own host game comes from backend_game.h in its host folder,
// which the build puts on the include path.
#pragma once

#include <cstddef>  // size_t

#include "backend_game.h"  // KpBackendGame: host/desktop/ or host/web/
#include "host/kpgame.h"

// ---- runtime/<backend>/ ----

// count elements of size bytes each, all zero, freed with std::free; null when the memory cannot be had. Large
// blocks should take no memory until they are written.
void* kpAllocateZeroed(size_t count, size_t size);

// ---- host/<backend>/ ----

// KpBackendGame (backend_game.h) is the platform's host game: a KpGame answering what the platform can (the
// clock, the window's size, pads, fullscreen, paths into the data folder, decoding art and sounds), plus
//   void Run();  opens the window or drawing context (advancing kpGraphicsSeq), starts the game and runs the
//                frame loop: until the window is gone on the desktop; in a page it hands the loop to the browser
//                and returns at once.
// Readies the platform before the host game exists: its window system, its error signals, the notices' way to
// the player and the locale. A platform that cannot start tells the player and ends the process.
void kpOpenPlatform();
// Gives the platform back: after the frame loop, and before an escaped script exception ends the process.
void kpClosePlatform();
// What start-up does once Run has returned: the desktop's loop is over, so the platform is given back (and a game
// whose window never opened ends as a failure to start); a page's game lives on in the browser's frames.
void kpLeaveStartUp();
// The generation of the drawing context (host/graphics_generation.h): Run and every re-opened window advance it.
extern int kpGraphicsSeq;

// ---- framework/graphics/<backend>/ ----

// hwGraphics's calls into OpenGL (private members, framework/graphics/hwgraphics.h), in hwgraphics_gl.cpp:
//   GLBeginFrame   the viewport and a projection in window pixels (0 at the top left), normal blending
//   GLDrawBatch    the batch's points, lines or indexed triangles, textured by a surface when one is given
//   GLReadPixels   a bottom-up rectangle of the window as 0xAARRGGBB, the bottom row first
// (GLBlend, GLScissorOff, GLScissorTo and GLClear are the same calls everywhere: hwgraphics_gl_state.cpp.)
// Gives the bound 2D texture empty storage of a size in format; false when the driver refuses that size.
bool hwTextureStorage2D(int format, int width, int height);
// Puts a surface's pixels into its bound texture, at once or in bands over the next frames; and whether any
// texture still waits for the rest of its pixels.
class hwSurface;
void hwFillTexture(hwSurface& surface, bool all);
bool hwTexturesFilling();
// hwTexturePage's members (framework/graphics/hwpage.h), in hwpage.cpp: layers of 3D textures shared by many
// surfaces, or, where 3D textures are missing, a page that never places a surface (each keeps its own texture).

// ---- Shared: start-up (startup.cpp) ----

// The host game actually created; it adds nothing to the backend's.
class KpZindleGame : public KpBackendGame {
public:
    // The start-up sequence of the program.
    static int Main(int argc, char** argv);
};

// Process arguments, kept by start-up; nothing reads them.
extern int argc;
extern char** argv;
