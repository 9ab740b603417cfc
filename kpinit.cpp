// The start values of every module and the making of the application object, for either host's start-up.
// Depends on every layer: the framework's modules, the game's and the catalogue's globals, the application.
#include "kpinit.h"

#include "framework/app/app.h"
#include "framework/random/random.h"
#include "game/catalogue/getaword.h"
#include "game/myapp.h"
#include "game/search.h"
#include "host/kpgame.h"

int kpInit() {
    kp_app_Init(KpGame::_game);
    kp_random_Init();
    kp_Search_Init();
    kp_GetAWordFunc_Init();
    return 0;
}

void kpCreateApplication() { (new c_MyApp())->m_new(); }
