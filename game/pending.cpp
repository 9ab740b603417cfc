// c_MyApp: screen routines whose screens are not built yet. Each is called by the dispatcher at its moment and
// does nothing until its screen's own source file replaces it here.
#include "game/myapp.h"

int c_MyApp::p_OptionBox() { return 0; }
int c_MyApp::p_PauseMenu() { return 0; }
