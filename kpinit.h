// The start values of every module, shared by the desktop's start-up (startup.cpp) and the browser's
// (web/startup.cpp): the one part of starting that knows every layer and is the same on both hosts.
#pragma once

// Sets every framework and game global to its start value; the host game must exist.
int kpInit();
// Creates the application object and registers it, with its delegate, with the host game.
void kpCreateApplication();
