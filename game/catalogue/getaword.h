// The puzzle catalogue: 57 word groups compiled into the program, each a name and six capitalised words.
// Depends on the runtime (String). The menu asks it for group names, grid generation for the word to hide next.
// Group 0 is the tutorial, group 1 the training set; groups 2 to 56 are themes (the menu reaches 0 to 55).
#pragma once

#include "runtime/string.h"

// The name of the group the last successful lookup touched; "Group" before any.
extern String kp_GetAWordFunc_GroupName;
// Words per group: every lookup sets it to 6 again.
extern int kp_GetAWordFunc_GroupSize;

// The word of group (0..56) selected by word modulo 6 (remainders 0..4 pick words 0..4, any other remainder,
// negative ones included, word 5), and the group's name in kp_GetAWordFunc_GroupName. A group outside the
// catalogue answers the empty text and leaves the name alone.
String kp_GetAWordFunc_GetAWord(int group, int word);

// Sets the catalogue's module variables to their start values.
void kp_GetAWordFunc_Init();
