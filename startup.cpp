// Start-up on the desktop: it sets every module's start values, creates the host game, the application object and
// its delegate, and runs the frame loop.
#include <clocale>

#include "host/errors.h"
#include "host/glfwgame.h"
#include "host/notices.h"
#include "kpinit.h"

int KpZindleGame::Main(int argCount, char** argValues) {
    if (!glfw2::Init()) {
        kpPrint(String("glfwInit failed"));
        kpTellPlayer("window", "no window can be opened (no graphical display could be reached); the game cannot "
                               "start. Your saved progress is untouched.");
        std::exit(255);
    }
    // NOTE: the host game lives until the process ends; the error path leaves without unwinding it.
    auto* game = new KpZindleGame();
    argc = argCount;
    argv = argValues;
    kpInstallSignalHandlers();
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
    try {
        kpInit();
        kpCreateApplication();
        if (game->Delegate()) game->Run();
    } catch (const ThrowableObject& exception) {
        glfw2::Terminate();
        game->Die(exception);
    }
    glfw2::Terminate();
    // NOTE: the loop also ends when the first window could never be opened; that is a failure to start, not
    // a game that was played and closed, and ends as one.
    if (glfwGraphicsSeq == 0) {
        kpTellPlayer("window", "the game's window could not be opened; the game cannot start. Your saved progress "
                               "is untouched.");
        std::exit(255);
    }
    return 0;
}
