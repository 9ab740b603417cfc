// Start-up: the one place that knows every layer. It sets every module's start values, creates the host game,
// the application object and its delegate, and runs the frame loop.
#include <clocale>

#include "framework/app/app.h"
#include "framework/random/random.h"
#include "game/catalogue/getaword.h"
#include "game/myapp.h"
#include "game/search.h"
#include "host/errors.h"
#include "host/glfwgame.h"
#include "host/notices.h"

// Sets every framework and game global to its start value.
int kpInit() {
    kp_app_Init(KpGame::_game);
    kp_random_Init();
    kp_Search_Init();
    kp_GetAWordFunc_Init();
    return 0;
}

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
        (new c_MyApp())->m_new();
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
