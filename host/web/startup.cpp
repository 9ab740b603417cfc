// The page's steps of start-up (backend.h): the notices' way to the page, the page's listeners let go when the
// program ends, the locale, and the runtime kept alive once start-up is over. The state store's start
// (host/web/state.pre.js) has mounted the state folder and filled it from IndexedDB before the program's first
// line, so the record is there for the game's first update.
// NOTE: when the game ends (F4, Back in the menu), the program exits with the runtime: the page then shows its
// closing words instead of a canvas that no longer answers, and no event reaches the game after its end.
// Depends on the toolchain's runtime and HTML5 layer, the host's notices, and the page's calls (webhost.h).
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "host/notices.h"
#include "host/web/webhost.h"  // quorlix_show_notice

namespace {

void ShowNotice(const std::string& kind, const std::string& text) { quorlix_show_notice(kind.c_str(), text.c_str()); }

void StopListening() { emscripten_html5_remove_all_event_listeners(); }

}  // namespace

void kpOpenPlatform() {
    kpListenToNotices(ShowNotice);
    std::atexit(StopListening);
    std::setlocale(LC_CTYPE, "C.UTF-8");
}

// NOTE: a page has nothing to give back: the game ends with the program.
void kpClosePlatform() {}

// NOTE: the game lives on in the browser's animation frames; leaving main must not end the program.
void kpLeaveStartUp() { emscripten_exit_with_live_runtime(); }
