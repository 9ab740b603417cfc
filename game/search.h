// The game module's globals: the virtual screen, configuration fixed at build time, and the credit lines.
// Depends on the runtime. kpInit gives each its start value before the application object is made.
#pragma once

#include "runtime/array.h"
#include "runtime/string.h"

extern int kp_Search_UseHDImages;       // 1: art may load at levels 2 and 4
extern int kp_Search_DebugMode;         // F1 toggles the debug line
extern float kp_Search_rawscrw, kp_Search_rawscrh;  // design size of the virtual screen
extern float kp_Search_jscrw, kp_Search_jscrh;      // fitted virtual screen size
extern float kp_Search_overscan;        // margin kept free left and right, device pixels
extern int kp_Search_HasMusicStream;    // 0: the tune operations do nothing
extern Array<String> kp_Search_MenuSet; // name and description of each difficulty
extern Array<String> kp_Search_CreditText;

// Sets the game module's globals to their start values.
void kp_Search_Init();
