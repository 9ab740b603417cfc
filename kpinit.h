// The start values of every module, set by start-up (startup.cpp): the one part of starting that knows every
// layer.
#pragma once

// Sets every framework and game global to its start value; the host game must exist.
int kpInit();
// Creates the application object and registers it, with its delegate, with the host game.
void kpCreateApplication();
