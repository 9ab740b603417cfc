// The calls between the web host's C++ and the page, each listed once: the JavaScript functions the C++ calls
// (host/web/webhost.js, a library the toolchain links by these names) and the C++ functions the page calls
// (defined in host/web/webgame.cpp and kept in the program by EMSCRIPTEN_KEEPALIVE).
// Depends on the toolchain's emscripten.h for EMSCRIPTEN_KEEPALIVE. Included by host/web/webgame.cpp,
// startup.cpp and webinput.cpp.
// NOTE: the page's own side of these calls (its callbacks, the art levels, what the state store decided) is
// Module.quorlix, described where the page makes it (web/page/quorlix-page.js).
#pragma once

#include <emscripten/emscripten.h>

extern "C" {

// ---- JavaScript the C++ calls (host/web/webhost.js) ----

// Makes the canvas's WebGL context current; 0 when the browser has none (the page is told).
int quorlix_create_context();
// Hands the frame loop to the browser's animation frames, each running quorlix_frame, until the program ends.
void quorlix_run_frames();
// Fits the canvas's pixels to its size on the page (and asks for that size's art); 1 when it changed.
int quorlix_fit_canvas();
// The canvas's size in device pixels.
int quorlix_canvas_width();
int quorlix_canvas_height();
// The screen's size in device pixels.
int quorlix_screen_width();
int quorlix_screen_height();
// Writes a point of the page (client coordinates) into out[0], out[1] in the canvas's pixels.
void quorlix_canvas_point(double clientX, double clientY, float* out);
// Enters (1) or leaves (0) the browser's fullscreen; a refusal or the browser leaving comes back as
// quorlix_fullscreen_left.
void quorlix_set_fullscreen(int on);
// Shows (1) or hides (0) the pointer over the canvas.
void quorlix_set_cursor(int visible);
// Tells the page the game has drawn its first frame.
void quorlix_first_frame_drawn();
// Opens a link in a new tab.
void quorlix_open_url(const char* url);
// Whether the sound device's output runs yet (a browser starts it only after a gesture).
int quorlix_audio_running();
// Starts the sound device's output at the page's first key, click or touch that a browser lets start it.
void quorlix_start_audio_on_gestures();
// Whether this tab keeps the player's progress (0 when another tab of the game was open first).
int quorlix_state_owner();
// Whether the stored record could not be read as the game started.
int quorlix_state_unread();
// Stores the state folder in IndexedDB, in one transaction; the outcome comes back as quorlix_state_stored.
void quorlix_store_state();
// Shows a notice of this kind on the page; an empty text takes it away.
void quorlix_show_notice(const char* kind, const char* text);
// Has the browser decode the picture file at a file-system path apart from the page's main thread; the pixels
// come back as quorlix_image_decoded with the same id.
void quorlix_decode_image(const char* file, int id);
// Tells the page the art level the game now shows.
void quorlix_art_shown(int level);
// Follows whether the page is in use (shown, focused, not frozen or being left); each change comes back as
// quorlix_page_active.
void quorlix_follow_page_activity();

// ---- C++ the page calls (host/web/webgame.cpp) ----

// One animation frame of the game.
EMSCRIPTEN_KEEPALIVE void quorlix_frame();
// The outcome of quorlix_store_state: 1 stored (the transaction completed), or 0 not, with the browser's reason.
EMSCRIPTEN_KEEPALIVE void quorlix_state_stored(int ok, const char* reason);
// The browser left fullscreen on its own, or refused to enter it.
EMSCRIPTEN_KEEPALIVE void quorlix_fullscreen_left();
// The page is in use again (1), or no longer (0): hidden, left without the focus, frozen, or being left.
EMSCRIPTEN_KEEPALIVE void quorlix_page_active(int active);
// A picture of quorlix_decode_image decoded: width x height RGBA pixels (malloc'd, for the game to free), not
// premultiplied; null pixels when the file could not be decoded.
EMSCRIPTEN_KEEPALIVE void quorlix_image_decoded(int id, unsigned char* pixels, int width, int height);

}  // extern "C"
