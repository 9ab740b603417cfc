// Start-up: it readies the platform, sets every module's start values, creates the host game, the application
// object and its delegate, and runs the frame loop. The one start-up of every platform: the platform's own steps
// are the backend's (backend.h).
#include "backend.h"
#include "kpinit.h"

int argc = 0;
char** argv = nullptr;

int KpZindleGame::Main(int argCount, char** argValues) {
    kpOpenPlatform();
    // NOTE: the host game lives until the process ends; the error path leaves without unwinding it.
    auto* game = new KpZindleGame();
    argc = argCount;
    argv = argValues;
    try {
        kpInit();
        kpCreateApplication();
        if (game->Delegate()) game->Run();
    } catch (const ThrowableObject& exception) {
        kpClosePlatform();
        game->Die(exception);
    }
    kpLeaveStartUp();
    return 0;
}
