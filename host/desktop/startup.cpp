// The desktop's steps of start-up (backend.h): the window system readied and given back, the error signals, the
// locale, and a game whose window never opened ending as a failure to start.
// Depends on the GLFW 2-style layer and the host's error path and notices.
#include <clocale>
#include <cstdlib>

#include "host/desktop/glfw2.h"
#include "host/errors.h"
#include "host/graphics_generation.h"
#include "host/notices.h"

void kpOpenPlatform() {
    if (!glfw2::Init()) {
        kpPrint(String("glfwInit failed"));
        kpTellPlayer("window", "no window can be opened (no graphical display could be reached); the game cannot "
                               "start. Your saved progress is untouched.");
        std::exit(255);
    }
    kpInstallSignalHandlers();
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
}

void kpClosePlatform() { glfw2::Terminate(); }

void kpLeaveStartUp() {
    kpClosePlatform();
    // NOTE: the loop also ends when the first window could never be opened; that is a failure to start, not
    // a game that was played and closed, and ends as one.
    if (kpGraphicsSeq == 0) {
        kpTellPlayer("window", "the game's window could not be opened; the game cannot start. Your saved progress "
                               "is untouched.");
        std::exit(255);
    }
}
