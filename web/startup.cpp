// Start-up in a web page: it sets every module's start values, creates the host game, the application object and
// its delegate, and hands the frame loop to the browser. The page (web/page/index.html) has mounted the state
// folder and read it from IndexedDB before this runs, so the record is there for the game's first update.
// NOTE: when the game ends (F4, Back in the menu), the program exits with the runtime: the page then shows its
// closing words instead of a canvas that no longer answers, and no event reaches the game after its end.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <clocale>
#include <cstdlib>

#include "host/errors.h"
#include "host/notices.h"
#include "host/web/webgame.h"
#include "kpinit.h"

extern "C" void quorlix_show_notice(const char* kind, const char* text);

namespace {

void ShowNotice(const std::string& kind, const std::string& text) { quorlix_show_notice(kind.c_str(), text.c_str()); }

void StopListening() { emscripten_html5_remove_all_event_listeners(); }

}  // namespace

int KpZindleGame::Main(int argCount, char** argValues) {
    auto* game = new KpZindleGame();
    argc = argCount;
    argv = argValues;
    kpListenToNotices(ShowNotice);
    std::atexit(StopListening);
    std::setlocale(LC_CTYPE, "C.UTF-8");
    try {
        kpInit();
        kpCreateApplication();
        if (game->Delegate()) game->Run();
    } catch (const ThrowableObject& exception) {
        game->Die(exception);
    }
    // NOTE: the game lives on in the browser's animation frames; leaving main must not end the program.
    emscripten_exit_with_live_runtime();
    return 0;
}
